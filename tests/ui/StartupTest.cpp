#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QTranslator>
#include <QWindow>
#include <stdexcept>

#include "MainWindowHarness.h"
#include "TestSupport.h"
#include "app/CasewrightApplication.h"
#include "app/HelpWindow.h"
#include "app/TAboutBox.h"
#include "render/WindowPlacement.h"
#include "render/ui/TMessageWindow.h"

using namespace cw;

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
    EXPECT_EQ(refresher.pages, QList<PreviewPage>({ PreviewPage::Shown }));

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
    EXPECT_EQ(refresher.pages, QList<PreviewPage>({ PreviewPage::Back }));
    EXPECT_EQ(QSettings().value("SideTitleSameTop").toInt(), 1);
    click("CutLinePrint");
    EXPECT_EQ(refresher.pages, QList<PreviewPage>({ PreviewPage::Back, PreviewPage::Shown }));
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
    // As wide as the text, but wide enough for the title "Message" beside
    // the title bar's buttons.
    QFont bold = QApplication::font();
    bold.setBold(true);
    const int titleRoom = widthForTitle(QFontMetrics(bold).horizontalAdvance(QStringLiteral("Message")));
    EXPECT_EQ(window.width(), std::max(label->width() + 16, titleRoom));
    EXPECT_EQ(window.height(), 31);
    EXPECT_TRUE(label->font().bold());
    EXPECT_EQ(label->font().pixelSize(), 16);
    // 31 px high over 421: 80 + (421 - 31) / 2 = 80 + 195.
    EXPECT_EQ(window.y(), 275);
    // Three ideographs are three ems of 16 px, 48 px; the window 16 px wider
    // would cut the title, so it keeps the title's width, centred:
    // 100 + (561 - width) / 2, truncated.
    window.ShowText(QStringLiteral("印刷中"));
    EXPECT_EQ(label->width(), 48);
    ASSERT_GT(titleRoom, 64);
    EXPECT_EQ(window.size(), QSize(titleRoom, 31));
    EXPECT_EQ(window.pos(), QPoint(100 + (561 - titleRoom) / 2, 275));
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

TEST_F(MainWindowTest, TheSplashIsCentredOverTheMainWindowWhereTheWindowManagerPutsIt)
{
    window->move(0, 0);
    window->show();
    TAboutBox *about = window->aboutBox();
    QTRY_VERIFY(about->isVisible());
    // The window manager places the main window after it has been shown.
    window->move(420, 290);
    QCoreApplication::processEvents();
    const QRect main = window->windowHandle()->frameGeometry();
    const QRect splash = about->windowHandle()->frameGeometry();
    EXPECT_EQ(main.topLeft(), QPoint(420, 290));
    EXPECT_EQ(splash.topLeft(), centredOver(main, splash.size()));
    about->close();
}

TEST(WindowPlacement, AWindowIsKeptWhollyOnTheScreen)
{
    const QRect screen(0, 0, 1280, 1000);
    const struct
    {
        QRect frame, kept;
    } cases[] = {
        { { 100, 200, 634, 475 }, { 100, 200, 634, 475 } }, // fits: stays
        { { 1, 546, 634, 475 }, { 1, 525, 634, 475 } }, // off the bottom: up to it
        { { 900, -20, 634, 475 }, { 646, 0, 634, 475 } }, // off the right and the top
        { { -50, 100, 634, 475 }, { 0, 100, 634, 475 } }, // off the left
        { { 10, 10, 1400, 1100 }, { 0, 0, 1280, 1000 } }, // larger: shrunk to it
    };
    for (const auto &c : cases)
        EXPECT_EQ(keptOnScreen(c.frame, screen), c.kept) << c.frame.x() << "," << c.frame.y();
    // A second screen to the right of the first.
    EXPECT_EQ(keptOnScreen(QRect(2400, 500, 634, 475), QRect(1280, 0, 1920, 1080)),
        QRect(2400, 500, 634, 475));
    EXPECT_EQ(keptOnScreen(QRect(1, 546, 634, 475), QRect()), QRect(1, 546, 634, 475));
    // Centred over the main window, then kept on its screen.
    EXPECT_EQ(
        placedOver(QRect(420, 290, 562, 463), QSize(634, 475), screen), QRect(384, 284, 634, 475));
    EXPECT_EQ(
        placedOver(QRect(700, 600, 562, 463), QSize(634, 475), screen), QRect(646, 525, 634, 475));
    EXPECT_EQ(framedSize(QSize(632, 449), QMargins(1, 25, 1, 1)), QSize(634, 475));
}

// Qt's stock dialogs show Japanese once the program's translations are in,
// in the locale the test program runs under.
TEST(Translations, StockDialogsAreJapanese)
{
    std::unique_ptr<QTranslator> translator(installQtTranslations(*qApp));
    ASSERT_NE(translator, nullptr);

    QMessageBox box(QMessageBox::Question, QStringLiteral("終了確認"),
        QStringLiteral("終了してよろしいですか？"), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QStringLiteral("はい(&Y)"));
    EXPECT_EQ(box.button(QMessageBox::No)->text(), QStringLiteral("いいえ(&N)"));
    EXPECT_EQ(box.windowTitle(), QStringLiteral("終了確認"));

    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog, true);
    files.setAcceptMode(QFileDialog::AcceptOpen);
    auto *buttons = files.findChild<QDialogButtonBox *>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Open)->text(), QStringLiteral("開く(&O)"));
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
    EXPECT_EQ(files.findChild<QLabel *>(QStringLiteral("fileNameLabel"))->text(),
        QStringLiteral("ファイル名(&N):"));

    QColorDialog colours;
    EXPECT_EQ(colours.windowTitle(), QStringLiteral("色を選択"));
    // The print dialog needs a printer; its texts come from the same file.
    EXPECT_EQ(QCoreApplication::translate("QPrintDialog", "Print"), QStringLiteral("印刷"));
    EXPECT_EQ(QCoreApplication::translate("QPrintDialog", "&Print"), QStringLiteral("印刷(&P)"));

    translator.reset();
    EXPECT_EQ(QCoreApplication::translate("QPrintDialog", "Print"), QStringLiteral("Print"));
}

TEST(Translations, StockDialogsAreJapaneseWhateverTheLocale)
{
    for (const char *lang : { "C.UTF-8", "ja_JP.UTF-8", "en_US.UTF-8" }) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("LC_ALL"));
        env.remove(QStringLiteral("LC_MESSAGES"));
        env.remove(QStringLiteral("LANGUAGE"));
        env.insert(QStringLiteral("LANG"), QLatin1String(lang));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
            { QStringLiteral("--gtest_filter=Translations.StockDialogsAreJapanese") });
        ASSERT_TRUE(child.waitForFinished(120000)) << lang;
        const QString out = QString::fromUtf8(child.readAll());
        EXPECT_EQ(child.exitCode(), 0) << lang << "\n" << out.toStdString();
        EXPECT_TRUE(out.contains(QStringLiteral("[  PASSED  ] 1 test"))) << lang;
    }
}
