#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <stdexcept>

#include "MainWindowHarness.h"
#include "TestSupport.h"
#include "app/CasewrightApplication.h"
#include "app/HelpWindow.h"
#include "app/TAboutBox.h"
#include "render/WindowPlacement.h"
#include "render/ui/TMessageWindow.h"

TEST_F(MainWindowTest, FirstRunWritesTheFiveDefaults)
{
    {
        QSettings s;
        ASSERT_TRUE(s.allKeys().isEmpty());
    }
    window->applySettings();
    QSettings s;
    EXPECT_EQ(s.value("TopLabelPrint").toInt(), 1);
    EXPECT_EQ(s.value("BottomLabelPrint").toInt(), 1);
    EXPECT_EQ(s.value("AreaLinePrint").toInt(), 1);
    EXPECT_EQ(s.value("CutLinePrint").toInt(), 1);
    EXPECT_EQ(s.value("SideTitleSameTop").toInt(), 0);
    EXPECT_EQ(s.allKeys().size(), 5);
    EXPECT_TRUE(s.fileName().startsWith(configDir.path()));
    EXPECT_TRUE(checked("AreaLinePrint"));
    EXPECT_FALSE(checked("SideTitleSameTop"));
}

TEST_F(MainWindowTest, AnUncheckedBoundaryLineOptionSurvivesARestart)
{
    window->applySettings();
    showWindow();
    refresher.pages.clear();
    click("AreaLinePrint");
    EXPECT_FALSE(window->printOptions().boundaryLines);
    EXPECT_EQ(QSettings().value("AreaLinePrint").toInt(), 0);
    EXPECT_EQ(refresher.pages, QList<int>({ 2 }));

    dialogs.confirmAnswer = true;
    window.reset();
    window = std::make_unique<TMainWindow>();
    window->setDialogs(&dialogs);
    window->setPrinterBackend(&printer);
    window->applySettings();
    EXPECT_FALSE(checked("AreaLinePrint"));
    EXPECT_TRUE(checked("CutLinePrint"));
    EXPECT_FALSE(window->printOptions().boundaryLines);
}

TEST_F(MainWindowTest, OptionClicksRefreshOnlyWhatTheyAffect)
{
    window->applySettings();
    showWindow();
    refresher.pages.clear();
    click("TopLabelPrint");
    click("BottomLabelPrint");
    EXPECT_TRUE(refresher.pages.isEmpty());
    EXPECT_EQ(QSettings().value("TopLabelPrint").toInt(), 0);
    click("SideTitleSameTop");
    EXPECT_EQ(refresher.pages, QList<int>({ 1 }));
    EXPECT_EQ(QSettings().value("SideTitleSameTop").toInt(), 1);
    click("CutLinePrint");
    EXPECT_EQ(refresher.pages, QList<int>({ 1, 2 }));
    EXPECT_TRUE(window->printOptions().spinesSameDirection);
    EXPECT_FALSE(window->printOptions().foldLines);
}

TEST_F(MainWindowTest, ShowingReadsThePrinterAndShowsItsResolutionAndSurfaceSizes)
{
    printer.dpiX = 600;
    printer.dpiY = 300;
    showWindow();
    EXPECT_EQ(printer.queries, 1);
    EXPECT_EQ(window->document().dpiX, 600);
    EXPECT_EQ(find<QLabel>("Xdpi")->text(), QStringLiteral("600dpi"));
    EXPECT_EQ(find<QLabel>("Ydpi")->text(), QStringLiteral("300dpi"));
    EXPECT_EQ(find<QLabel>("TopWidth")->text(), QStringLiteral("2858"));
    EXPECT_EQ(find<QLabel>("TopHeight")->text(), QStringLiteral("1411"));
    EXPECT_EQ(find<QLabel>("BottomWidth")->text(), QStringLiteral("3259"));
    EXPECT_EQ(find<QLabel>("SideWidth")->text(), QStringLiteral("141"));
    EXPECT_EQ(find<QLabel>("SideHeight")->text(), QStringLiteral("1387"));
    EXPECT_EQ(find<QLabel>("LeftPWidth")->text(), QStringLiteral("141"));
    EXPECT_EQ(find<QLabel>("BottomPHeight")->text(), QStringLiteral("1387"));

    // Every showing asks again.
    window->hide();
    printer.dpiX = 300;
    window->show();
    EXPECT_EQ(printer.queries, 2);
    EXPECT_EQ(find<QLabel>("Xdpi")->text(), QStringLiteral("300dpi"));
    EXPECT_EQ(find<QLabel>("TopWidth")->text(), QStringLiteral("1429"));
}

TEST_F(MainWindowTest, AnUnreachablePrinterIsReportedOnceAndTakenAs300Dpi)
{
    printer.ok = false;
    showWindow();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0], kPrinterErrorMessage);
    EXPECT_EQ(find<QLabel>("Xdpi")->text(), QStringLiteral("300dpi"));
    window->hide();
    window->show();
    EXPECT_EQ(dialogs.messages.size(), 1);
}

TEST_F(MainWindowTest, TheSplashClosesByItselfButTheMenuBoxStays)
{
    window->show();
    TAboutBox *about = window->aboutBox();
    QTRY_VERIFY(about->isVisible());
    EXPECT_EQ(about->windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(about->size(), QSize(258, 179));
    EXPECT_TRUE(about->timer()->isActive());
    EXPECT_EQ(about->timer()->interval(), 2000);
    EXPECT_TRUE(about->timer()->isSingleShot());
    EXPECT_EQ(about->pos(), centredOver(window->frameGeometry(), about->frameGeometry().size()));
    QTRY_VERIFY_WITH_TIMEOUT(!about->isVisible(), 5000);

    window->AboutClick();
    EXPECT_TRUE(about->isVisible());
    EXPECT_FALSE(about->timer()->isActive());
    QTest::qWait(50);
    EXPECT_TRUE(about->isVisible());
    auto *ok = about->findChild<QPushButton *>(QStringLiteral("OKButton"));
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(about->isVisible());
}

TEST_F(MainWindowTest, ASplashClosedWithOkDoesNotCloseTheNextShowing)
{
    window->show();
    TAboutBox *about = window->aboutBox();
    QTRY_VERIFY(about->isVisible());
    QTest::mouseClick(about->findChild<QPushButton *>(QStringLiteral("OKButton")), Qt::LeftButton);
    window->AboutClick();
    EXPECT_TRUE(about->isVisible());
    EXPECT_FALSE(about->timer()->isActive());
}

TEST_F(MainWindowTest, AboutBoxShowsTheProgramAndItsVersion)
{
    TAboutBox *about = window->aboutBox();
    EXPECT_EQ(about->findChild<QLabel *>(QStringLiteral("ProductName"))->text(),
        QStringLiteral("Casewright"));
    auto *version = about->findChild<QLabel *>(QStringLiteral("Version"));
    EXPECT_EQ(version->text(), QStringLiteral("Version 1.12"));
    EXPECT_TRUE(version->alignment() & Qt::AlignRight);
    EXPECT_EQ(about->findChild<QLabel *>(QStringLiteral("ProductName"))->font().pixelSize(), 16);
}

TEST_F(MainWindowTest, HelpContentsOpensTheProgramsHelpPage)
{
    showWindow();
    window->Contents1Click();
    HelpWindow *help = window->helpWindow();
    ASSERT_TRUE(help->isVisible());
    EXPECT_EQ(help->browser()->source(), QUrl(QStringLiteral("qrc:/help/index.html")));
    const QString page = help->browser()->toPlainText();
    for (const char16_t *topic : { u"表レーベル", u"裏レーベル", u"背表紙(左)", u"オプション",
             u"新規作成", u"リスト編集", u"縦横比固定", u"背景色設定" })
        EXPECT_TRUE(page.contains(QString::fromUtf16(topic)))
            << QString::fromUtf16(topic).toStdString();
    EXPECT_FALSE(help->testAttribute(Qt::WA_QuitOnClose));
}

TEST(Startup, AnExceptionFromAnEventIsShownAndTheLoopGoesOn)
{
    RecordingMessages messages;
    EXPECT_FALSE(
        deliverGuarded([]() -> bool { throw std::runtime_error("broken handler"); }, messages));
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.messages[0], QStringLiteral("broken handler"));
    EXPECT_TRUE(deliverGuarded([] { return true; }, messages));
    EXPECT_FALSE(deliverGuarded([]() -> bool { throw 42; }, messages));
    EXPECT_EQ(messages.messages.last(), QStringLiteral("予期しないエラーが発生しました"));
}

TEST(TMessageWindow, ShowTextSizesToTheTextAndCentresOnTheMainWindow)
{
    QWidget main;
    main.setGeometry(100, 80, 561, 421);
    TMessageWindow window(&main);
    window.ShowText(QStringLiteral("データロード中です"));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Message"));
    EXPECT_EQ(window.text(), QStringLiteral("データロード中です"));
    auto *label = window.findChild<QLabel *>(QStringLiteral("Message"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(window.width(), label->width() + 16);
    EXPECT_EQ(window.height(), 31);
    EXPECT_TRUE(label->font().bold());
    EXPECT_EQ(label->font().pixelSize(), 16);
    EXPECT_EQ(window.pos(), centredOver(main.frameGeometry(), window.size()));
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    window.hide();
    EXPECT_FALSE(window.isVisible());
}

TEST(WindowPlacement, CentringTruncatesTowardZero)
{
    EXPECT_EQ(centredOver(QRect(100, 50, 561, 421), QSize(258, 179)), QPoint(251, 171));
    // A window larger than the one it centres on lands left of it: -3 / 2 is -1.
    EXPECT_EQ(centredOver(QRect(0, 0, 100, 100), QSize(103, 103)), QPoint(-1, -1));
}
