#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QValidator>

#include "MainWindowHarness.h"
#include "app/PicturePanel.h"

using namespace cw;

namespace {
QAction *action(QWidget &w, const char *name)
{
    return w.findChild<QAction *>(QLatin1String(name));
}
QValidator::State validate(QLineEdit *edit, QString text)
{
    int pos = 0;
    return edit->validator()->validate(text, pos);
}
} // namespace

TEST_F(MainWindowTest, FrameHasItsCaptionFixedClientAreaAndNoMaximiseButton)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Casewright [Main]"));
    EXPECT_EQ(window->centralWidget()->size(), QSize(560, 420));
    EXPECT_EQ(window->minimumWidth(), window->maximumWidth());
    EXPECT_EQ(window->minimumHeight(), window->maximumHeight());
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(window->font().pixelSize(), 12);
    EXPECT_EQ(window->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));

    auto *name = find<QLabel>("CWRTitle");
    EXPECT_EQ(name->text(), QStringLiteral("Casewright"));
    EXPECT_TRUE(name->font().bold());
    EXPECT_TRUE(name->font().italic());
    EXPECT_EQ(name->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(find<QPushButton>("PreviewShow")->text(), QStringLiteral("プレビュー"));
    EXPECT_EQ(find<QPushButton>("PrinterSet")->text(), QStringLiteral("プリンタ設定"));
    EXPECT_EQ(find<QPushButton>("PrintStart")->text(), QStringLiteral("印刷"));
}

TEST_F(MainWindowTest, SevenTabsWithTheFrontTabFirst)
{
    auto *tabs = find<QTabWidget>("PageControl");
    ASSERT_EQ(tabs->count(), 7);
    const char *names[] = { "TopLabelTab", "BottomLabelTab", "LeftTitleTab", "RightTitleTab",
        "DiscTab", "OptionTag", "PageTag" };
    const QStringList captions = { QStringLiteral("表レーベル"), QStringLiteral("裏レーベル"),
        QStringLiteral("背表紙(左)"), QStringLiteral("背表紙(右)"), QStringLiteral("ディスク"),
        QStringLiteral("オプション"), QStringLiteral("ページ") };
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(tabs->widget(i)->objectName(), QLatin1String(names[i]));
        EXPECT_EQ(tabs->tabText(i), captions[i]);
    }
}

TEST_F(MainWindowTest, MenusCarryTheirCaptionsAndAccelerators)
{
    const std::pair<const char *, const char16_t *> items[] = {
        { "NewMenu", u"新規作成(&N)" },
        { "OpenMenu", u"開く(&O)..." },
        { "SaveMenu", u"上書き保存(&S)" },
        { "SaveAsMenu", u"名前をつけて保存(&A)..." },
        { "PressPdfMenu", u"印刷所用PDF出力..." },
        { "ExitMenu", u"終了(&X)" },
        { "Contents1", u"目次(&C)" },
        { "About", u"ﾊﾞｰｼﾞｮﾝ情報(&A)..." },
    };
    for (const auto &[name, text] : items) {
        QAction *a = action(*window, name);
        ASSERT_NE(a, nullptr) << name;
        EXPECT_EQ(a->text(), QString::fromUtf16(text)) << name;
    }
    EXPECT_EQ(find<QMenu>("File1")->title(), QStringLiteral("ﾌｧｲﾙ(&F)"));
    EXPECT_EQ(find<QMenu>("Help1")->title(), QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    EXPECT_EQ(action(*window, "NewMenu")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(action(*window, "SaveMenu")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
}

TEST_F(MainWindowTest, EverySurfaceControlExistsUnderItsName)
{
    for (const char *prefix : { "Top", "Bottom", "Left", "Right" }) {
        for (const char *part : { "TitleUse", "Title", "TitlePos", "TitleFontSet", "TitleLabel",
                 "GraphicUse", "GraphLabel", "GraphicFileName", "GraphicFileSelect", "GraphicInfo",
                 "GraphicWidth", "GraphicHeight", "GraphicPWidth", "GraphicPHeight", "PSet",
                 "GraphicWidth2", "GraphicHeight2", "GraphicPWidth2", "GraphicPHeight2",
                 "GraphicPosX", "GraphicPosY", "GraphicPPosX", "GraphicPPosY", "GSizeChange",
                 "GPosChange", "SizeRateFixed", "PInfo", "PWidth", "PHeight" }) {
            const QString name = QLatin1String(prefix) + QLatin1String(part);
            EXPECT_NE(window->findChild<QWidget *>(name), nullptr) << name.toStdString();
        }
    }
    for (const char *name : { "TopTitlePosXY", "TopTitlePosXUse", "TopTitlePosX", "TopTitlePosYUse",
             "TopTitlePosY", "BottomTitlePosXY", "BottomTitlePosX", "BottomTitlePosY",
             "LeftTitleOffset", "RightTitleOffset", "BottomSameTitle", "LeftSameTitle",
             "RightSameTitle", "RightSameLeft", "SameGraphic", "SameGraphicLeft", "UseTopList",
             "UseBottomList", "UseTop1Prints", "UseTop2Prints", "UseBottomPrints", "TopListEdit",
             "BottomListEdit", "Top1PrintsEdit", "Top2PrintsEdit", "BottomPrintsEdit",
             "TopLabelBGColor1", "TopLabelBGColor2", "BottomLabelBGColor", "LeftTitleBGColor",
             "RightTitleBGColor", "TopLabelPrint", "BottomLabelPrint", "AreaLinePrint",
             "CutLinePrint", "SideTitleSameTop", "Xdpi", "Ydpi" })
        EXPECT_NE(window->findChild<QWidget *>(QLatin1String(name)), nullptr) << name;
    // The spines have an offset instead of the custom position.
    EXPECT_EQ(window->findChild<QWidget *>(QStringLiteral("LeftTitlePosX")), nullptr);
    EXPECT_EQ(window->findChild<QWidget *>(QStringLiteral("TopTitleOffset")), nullptr);
}

TEST_F(MainWindowTest, CaptionsAndListItemsAreTheProgramsTexts)
{
    EXPECT_EQ(find<QCheckBox>("RightSameLeft")->text(), QStringLiteral("背表紙(左)と同じ"));
    EXPECT_EQ(find<QCheckBox>("SameGraphic")->text(), QStringLiteral("表と同じ"));
    EXPECT_EQ(find<QGroupBox>("TopTitlePos")->title(), QStringLiteral("タイトル位置"));
    EXPECT_EQ(find<QRadioButton>("TopTitlePos3")->text(), QStringLiteral("任意"));
    EXPECT_EQ(find<QGroupBox>("TopTitlePosXY")->title(), QStringLiteral("任意位置設定"));
    EXPECT_EQ(find<QCheckBox>("UseTop2Prints")->text(), QStringLiteral("任意印刷(背面)"));
    EXPECT_EQ(find<QPushButton>("Top2PrintsEdit")->text(), QStringLiteral("印刷項目編集"));
    auto *align = find<QComboBox>("BottomGPosChange");
    ASSERT_EQ(align->count(), 7);
    EXPECT_EQ(align->itemText(1), QStringLiteral("横ｾﾝﾀﾘﾝｸﾞ"));
    EXPECT_EQ(align->toolTip(), QStringLiteral("印刷位置調整"));
    EXPECT_EQ(align->currentIndex(), 6);
    auto *size = find<QComboBox>("TopGSizeChange");
    ASSERT_EQ(size->count(), 3);
    EXPECT_EQ(size->currentText(), QStringLiteral("カスタム"));
    EXPECT_EQ(size->toolTip(), QStringLiteral("画像サイズ調整"));
    EXPECT_TRUE(checked("LeftSizeRateFixed"));
    EXPECT_EQ(find<QLabel>("RightPWidthMm")->text(), QStringLiteral("6.0mm"));
    EXPECT_EQ(find<QLabel>("BottomPHeightMm")->text(), QStringLiteral("117.5mm"));
}

TEST_F(MainWindowTest, EditMasksAcceptWhatTheirFieldsTake)
{
    auto *offset = find<QLineEdit>("LeftTitleOffset");
    EXPECT_EQ(validate(offset, QStringLiteral("115")), QValidator::Acceptable);
    EXPECT_EQ(validate(offset, QStringLiteral("1a")), QValidator::Invalid);
    EXPECT_EQ(offset->maxLength(), 3);
    auto *topX = find<QLineEdit>("TopGraphicPosX");
    EXPECT_EQ(validate(topX, QStringLiteral("-12345")), QValidator::Acceptable);
    EXPECT_EQ(validate(topX, QStringLiteral("--1")), QValidator::Invalid);
    EXPECT_EQ(validate(find<QLineEdit>("TopGraphicWidth2"), QStringLiteral("999999")),
        QValidator::Acceptable);
    EXPECT_EQ(
        validate(find<QLineEdit>("TopGraphicWidth2"), QStringLiteral("-1")), QValidator::Invalid);
    // The back and the spines take digits only, at most five.
    EXPECT_EQ(
        validate(find<QLineEdit>("BottomGraphicPosX"), QStringLiteral("-1")), QValidator::Invalid);
    EXPECT_EQ(validate(find<QLineEdit>("RightGraphicHeight2"), QStringLiteral("123456")),
        QValidator::Invalid);
    EXPECT_EQ(validate(find<QLineEdit>("RightGraphicHeight2"), QStringLiteral("12345")),
        QValidator::Acceptable);
}

TEST_F(MainWindowTest, ANewWindowShowsANewDocumentWithItsControlsDisabled)
{
    EXPECT_FALSE(checked("TopTitleUse"));
    EXPECT_TRUE(checked("TopTitlePos1"));
    EXPECT_TRUE(checked("LeftTitlePos0"));
    EXPECT_FALSE(enabled("TopTitle"));
    EXPECT_FALSE(enabled("TopTitlePosX"));
    EXPECT_FALSE(enabled("TopTitlePosXUnit"));
    EXPECT_FALSE(enabled("LeftTitleOffsetCaption"));
    EXPECT_FALSE(enabled("TopListEdit"));
    EXPECT_FALSE(enabled("BottomPrintsEdit"));
    EXPECT_FALSE(enabled("TopGraphicFileSelect"));
    EXPECT_FALSE(enabled("SameGraphic"));
    EXPECT_TRUE(enabled("TopGraphicUse"));
    EXPECT_EQ(text("TopGraphicWidth2"), QStringLiteral("0"));
    EXPECT_EQ(find<QLabel>("TopGraphicPWidth2")->text(), QStringLiteral("0.0mm"));
}
