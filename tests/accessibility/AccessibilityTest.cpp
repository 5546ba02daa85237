// What a screen reader finds in the main window, the preview window and the
// version box: the name and role of every control, the window role of every
// window and a tab order that follows the reading order.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include "app/CustomSheetDialog.h"
#include "document/DiscStockSettings.h"
#include "render/ui/TPreviewWindow.h"
#include "ui/MainWindowHarness.h"
#include "widgets/ColorSwatch.h"

using namespace cw;

// Names in failure messages as text.
static void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

QAccessibleInterface *accessible(QObject *object)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    EXPECT_NE(iface, nullptr) << object->objectName().toStdString();
    return iface;
}
QString name(QObject *object)
{
    QAccessibleInterface *iface = accessible(object);
    return iface ? iface->text(QAccessible::Name) : QString();
}
QAccessible::Role role(QObject *object)
{
    QAccessibleInterface *iface = accessible(object);
    return iface ? iface->role() : QAccessible::NoRole;
}

// What a screen reader reads for each named control and label of a tab: the
// captions and labels the window shows, the field names of the edits (by
// their label and, where two share one, by what each holds), the item a
// drop-down list shows and the values the labels show for a new document at
// 300 dpi. Keyed by object name.
QMap<QString, QString> expectedNames(int tab)
{
    static const char *const prefixes[] = { "Top", "Bottom", "Left", "Right", "Disc", "", "Page" };
    QMap<QString, QString> names;
    auto add = [&](const QString &objectName, const char16_t *text) {
        names.insert(objectName, QString::fromUtf16(text));
    };
    if (tab == 5) {
        add("TopLabelPrint", u"表レーベルを印刷");
        add("BottomLabelPrint", u"裏レーベルを印刷");
        add("InsidePrint", u"内側も印刷");
        add("InsidePrintNote", u"左右に裏返すと表レーベルの裏に来ます。両面印刷は短辺綴じ。");
        add("AreaLinePrint", u"境界線印刷");
        add("CutLinePrint", u"折線印刷");
        add("SideTitleSameTop", u"背表紙同方向印刷");
        const std::pair<const char *, const char16_t *> swatches[] = {
            { "TopLabelBGColor1", u"表レーベル(表)" },
            { "TopLabelBGColor2", u"表レーベル(裏)" },
            { "BottomLabelBGColor", u"裏レーベル" },
            { "LeftTitleBGColor", u"背表紙(左)" },
            { "RightTitleBGColor", u"背表紙(右)" },
        };
        for (const auto &[swatch, caption] : swatches) {
            add(swatch, caption);
            add(QLatin1String(swatch) + "Caption", caption);
        }
        add("Xdpi", u"300dpi");
        add("Ydpi", u"300dpi");
        add("TopWidth", u"1429");
        add("TopHeight", u"1411");
        add("BottomWidth", u"1629");
        add("BottomHeight", u"1387");
        add("SideWidth", u"70");
        add("SideHeight", u"1387");
        add("PrintOffsetX", u"印刷位置補正 横");
        add("PrintOffsetY", u"印刷位置補正 縦");
        add("CalibrationPrint", u"補正用シート印刷");
        add("DiscCalibrationPrint", u"ディスク用の調整シートを印刷");
        add("DiscLabelPrint", u"ディスクレーベル印刷");
        add("Bleed", u"0mm");
        add("CaseType", u"CDジュエルケース");
        // "ブックレット": a list reads as the entry it shows.
        add("BookletPages", u"2ページ");
        add("BookletPagesCaption", u"ブックレット");
        // A custom case's sizes, each named by its caption (shown for that case only).
        const std::pair<const char *, const char16_t *> sizes[] = {
            { "CasePanelWidth", u"パネルの幅" },
            { "CasePanelHeight", u"パネルの高さ" },
            { "CaseSpineWidth", u"背の幅" },
        };
        for (const auto &[size, caption] : sizes) {
            add(size, caption);
            add(QLatin1String(size) + "Caption", caption);
            add(QLatin1String(size) + "Unit", u"mm");
        }
        return names;
    }
    if (tab == 6) {
        // "ページ": a booklet's inner pages, none in a new document.
        // An empty list reads as its name.
        add("PageChoice", u"表示するページ");
        add("PageChoiceCaption", u"表示するページ");
        add("PageBGColor", u"背景色");
        add("PageBGColorCaption", u"背景色");
        add("UsePageList", u"リスト");
        add("PageListEdit", u"リスト編集");
        add("UsePagePrints", u"任意印刷");
        add("PagePrintsEdit", u"印刷項目編集");
        add("BookletDuplex", u"プリンタで両面");
        add("BookletDuplexNote", u"短辺綴じで両面印刷します。");
        // The page's picture panel, on a face's size.
        add("PagePWidth", u"1429");
        add("PagePHeight", u"1411");
        add("PagePWidthMm", u"121.0mm");
        add("PagePHeightMm", u"119.5mm");
    }
    const QString p = QLatin1String(prefixes[tab]);
    const std::pair<const char *, const char16_t *> titles[] = {
        { "TitleUse", u"タイトル" },
        { "TitleFontSet", u"フォント" },
        { "TitleLabel", u"タイトル" },
        { "Title", u"タイトル" },
        { "TitlePos0", u"上" },
        { "TitlePos1", u"中央" },
        { "TitlePos2", u"下" },
        { "TitlePos3", u"任意" },
    };
    // The disc's two texts, each with the same controls.
    const std::pair<const char *, const char16_t *> discTexts[] = {
        { "FontSet", u"フォント" },
        { "PlaceCaption", u"位置" },
        { "Place0", u"上の弧" },
        { "Place1", u"下の弧" },
        { "Place2", u"任意" },
        { "RadiusCaption", u"半径" },
        { "Radius", u"半径" },
        { "RadiusUnit", u"mm" },
        { "AngleCaption", u"角度" },
        { "Angle", u"角度" },
        { "AngleUnit", u"°" },
        { "PosXUse", u"横" },
        { "PosYUse", u"縦" },
        { "PosX", u"任意位置設定 横" },
        { "PosY", u"任意位置設定 縦" },
        { "PosXUnit", u"mm" },
        { "PosYUnit", u"mm" },
    };
    if (tab == 4) {
        for (const auto &[text, caption] :
            { std::pair { "DiscTitle", u"タイトル" }, std::pair { "DiscSubtitle", u"サブタイトル" } }) {
            add(QLatin1String(text), caption);
            add(QLatin1String(text) + "Use", caption);
            for (const auto &[part, name] : discTexts)
                add(QLatin1String(text) + QLatin1String(part), name);
            // Each text's edits are named with whose they are.
            for (const char *edit : { "Radius", "Angle", "PosX", "PosY" })
                names[QLatin1String(text) + QLatin1String(edit)].prepend(
                    QString::fromUtf16(caption) + QLatin1Char(' '));
        }
        add("DiscBGColor", u"背景色");
        add("DiscBGColorCaption", u"背景色");
        add("DiscPWidth", u"1417");
        add("DiscPHeight", u"1417");
        add("DiscPWidthMm", u"120.0mm");
        add("DiscPHeightMm", u"120.0mm");
        // "印刷する用紙": the list shows the stock, the boxes the labels.
        add("DiscStock", u"Avery L6015");
        add("DiscLabelsCaption", u"印刷するラベル");
        for (int i = 1; i <= 8; ++i)
            names.insert(QStringLiteral("DiscLabel%1").arg(i), QString::number(i));
        add("DiscCustomSheet", u"カスタム用紙の設定...");
        add("DiscOuterCaption", u"外径");
        add("DiscOuter", u"外径");
        add("DiscOuterUnit", u"mm");
        add("DiscHubCaption", u"ハブ径");
        add("DiscHub", u"43mm");
    } else if (tab != 6) {
        for (const auto &[part, text] : titles)
            add(p + QLatin1String(part), text);
    }
    const std::pair<const char *, const char16_t *> common[] = {
        { "GraphicUse", u"画像" },
        { "GraphLabel", u"ファイル名" },
        { "GraphicFileName", u"ファイル名" },
        { "GraphicFileSelect", u"ファイル選択" },
        { "GraphicWidth", u"0" },
        { "GraphicHeight", u"0" },
        { "GraphicPWidth", u"0.0mm" },
        { "GraphicPHeight", u"0.0mm" },
        { "GraphicWidth2", u"画像ｻｲｽﾞ 幅" },
        { "GraphicHeight2", u"画像ｻｲｽﾞ 高さ" },
        { "GraphicPosX", u"印刷位置 横" },
        { "GraphicPosY", u"印刷位置 縦" },
        { "GraphicPWidth2", u"0.0mm" },
        { "GraphicPHeight2", u"0.0mm" },
        { "GraphicPPosX", u"0.0mm" },
        { "GraphicPPosY", u"0.0mm" },
        { "GSizeChange", u"カスタム" },
        { "GPosChange", u"カスタム" },
        { "SizeRateFixed", u"縦横比固定" },
    };
    for (const auto &[part, text] : common)
        add(p + QLatin1String(part), text);
    if (tab == 6)
        return names;
    if (tab <= 1) {
        add(p + "TitlePosXUse", u"横");
        add(p + "TitlePosYUse", u"縦");
        add(p + "TitlePosX", u"任意位置設定 横");
        add(p + "TitlePosY", u"任意位置設定 縦");
        add(p + "TitlePosXUnit", u"mm");
        add(p + "TitlePosYUnit", u"mm");
        add("Use" + p + "List", u"リスト");
        add(p + "ListEdit", u"リスト編集");
    } else if (tab != 4) {
        add(p + "TitleOffsetCaption", u"印刷位置オフセット");
        add(p + "TitleOffset", u"印刷位置オフセット");
        add(p + "TitleOffsetUnit", u"mm");
        add(p + "SpineTextCaption", u"背文字の向き");
        // The jewel case's own directions: the left spine reads up.
        add(p + "SpineText", tab == 2 ? u"下から上" : u"上から下");
    }
    if (tab != 0 && tab != 4)
        add(p + "SameTitle", u"表と同じ");
    switch (tab) {
    case 0:
        add("UseTop1Prints", u"任意印刷(前面)");
        add("Top1PrintsEdit", u"印刷項目編集");
        add("UseTop2Prints", u"任意印刷(背面)");
        add("Top2PrintsEdit", u"印刷項目編集");
        add("TopPWidth", u"1429");
        add("TopPHeight", u"1411");
        add("TopPWidthMm", u"121.0mm");
        add("TopPHeightMm", u"119.5mm");
        break;
    case 1:
        add("UseBottomPrints", u"任意印刷");
        add("BottomPrintsEdit", u"印刷項目編集");
        add("SameGraphic", u"表と同じ");
        add("BottomPWidth", u"1629");
        add("BottomPHeight", u"1387");
        add("BottomPWidthMm", u"138.0mm");
        add("BottomPHeightMm", u"117.5mm");
        break;
    case 4:
        add("UseDiscList", u"リスト");
        add("DiscListEdit", u"リスト編集");
        add("UseDiscPrints", u"任意印刷");
        add("DiscPrintsEdit", u"印刷項目編集");
        break;
    default:
        if (tab == 3) {
            add("RightSameLeft", u"背表紙(左)と同じ");
            add("SameGraphicLeft", u"背表紙(左)と同じ");
        }
        add(p + "PWidth", u"70");
        add(p + "PHeight", u"1387");
        add(p + "PWidthMm", u"6.0mm");
        add(p + "PHeightMm", u"117.5mm");
        break;
    }
    return names;
}

// The labels without an object name, by the group that holds them, in order.
QMap<QString, QStringList> expectedUnnamedLabels(int tab)
{
    static const char *const prefixes[] = { "Top", "Bottom", "Left", "Right", "Disc", "", "Page" };
    if (tab == 5)
        return { { "PrinterInfo",
                     { "解像度", "×", "表レーベル", "×", "ﾋﾟｸｾﾙ", "裏レーベル", "×", "ﾋﾟｸｾﾙ",
                         "背表紙", "×", "ﾋﾟｸｾﾙ" } },
            { "PrintOffsetGroup", { "横", "mm", "縦", "mm" } } };
    const QString p = QLatin1String(prefixes[tab]);
    return { { p + "GraphicInfo", { "画像ｻｲｽﾞ", "×", "印刷ｻｲｽﾞ", "×" } },
        { p + "PSet", { "画像ｻｲｽﾞ", "×", "印刷ｻｲｽﾞ", "×", "印刷位置" } },
        { p + "PInfo", { "×", "ﾋﾟｸｾﾙ", "×" } } };
}

// A picture panel's controls in tab order.
QStringList pictureOrder(const QString &p, const QString &pictureLink)
{
    QStringList order { p + "GraphicUse" };
    if (!pictureLink.isEmpty())
        order << pictureLink;
    return order << p + "GraphicFileName" << p + "GraphicFileSelect" << p + "GraphicWidth2"
                 << p + "GraphicHeight2" << p + "GSizeChange" << p + "SizeRateFixed"
                 << p + "GraphicPosX" << p + "GraphicPosY" << p + "GPosChange";
}

QStringList surfaceOrder(const QString &p, const QStringList &titleHead, bool customPosition,
    const QStringList &switches, const QString &pictureLink)
{
    QStringList order = titleHead;
    order << p + "Title";
    for (int i = 0; i < 4; ++i)
        order << p + "TitlePos" + QString::number(i);
    if (customPosition)
        order << p + "TitlePosXUse" << p + "TitlePosX" << p + "TitlePosYUse" << p + "TitlePosY";
    else
        order << p + "TitleOffset" << p + "SpineText";
    return order << switches << pictureOrder(p, pictureLink);
}

// The widgets under `root` that Tab reaches, in focus-chain order from `start`.
QStringList tabOrder(QWidget *start, QWidget *root)
{
    QStringList names;
    QWidget *w = start;
    do {
        // A widget that hands its focus to another (the tab widget to its
        // tab bar) is passed over by Tab.
        if ((w->focusPolicy() & Qt::TabFocus) && !w->focusProxy()
            && (w == root || root->isAncestorOf(w)))
            names << w->objectName();
        w = w->nextInFocusChain();
    } while (w && w != start);
    return names;
}

} // namespace

TEST_F(MainWindowTest, EveryControlOfEveryTabHasItsNameAndRole)
{
    showWindow();
    auto *tabs = find<QTabWidget>("PageControl");
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QWidget *page = tabs->widget(i);
        const std::string tab = tabs->tabText(i).toStdString();
        const QMap<QString, QString> names = expectedNames(i);
        QSet<QString> named;
        QMap<QString, QStringList> unnamedLabels;
        QSet<QString> seen;
        for (QWidget *w : page->findChildren<QWidget *>()) {
            const QString objectName = w->objectName();
            const std::string where = tab + ": " + objectName.toStdString();
            if (auto *label = qobject_cast<QLabel *>(w); label && !label->text().isEmpty()) {
                if (objectName.isEmpty()) {
                    unnamedLabels[w->parentWidget()->objectName()] << name(w);
                } else {
                    EXPECT_TRUE(names.contains(objectName)) << where;
                    EXPECT_EQ(name(w), names.value(objectName)) << where;
                    named.insert(objectName);
                }
                continue;
            }
            QAccessible::Role expectedRole;
            if (qobject_cast<QAbstractButton *>(w)) {
                expectedRole = qobject_cast<QCheckBox *>(w) ? QAccessible::CheckBox
                    : qobject_cast<QRadioButton *>(w)       ? QAccessible::RadioButton
                                                            : QAccessible::Button;
            } else if (qobject_cast<QLineEdit *>(w)) {
                expectedRole = QAccessible::EditableText;
            } else if (qobject_cast<QComboBox *>(w)) {
                // On Linux a drop-down list reads as the item it shows; what
                // it is for is its description, its hint.
                expectedRole = QAccessible::ComboBox;
                EXPECT_EQ(accessible(w)->text(QAccessible::Description),
                    objectName == "Bleed"                ? QStringLiteral("塗り足し")
                        : objectName == "CaseType"           ? QStringLiteral("ケースの種類")
                        : objectName.endsWith("GSizeChange") ? QStringLiteral("画像サイズ調整")
                        : objectName.endsWith("SpineText")   ? QStringLiteral("背文字の向き")
                        : objectName == "DiscStock"          ? QStringLiteral("印刷する用紙")
                        : objectName == "DiscHub"            ? QStringLiteral("ハブ径")
                        : objectName == "BookletPages"       ? QStringLiteral("ブックレット")
                        : objectName == "BookletDuplex"      ? QStringLiteral("両面印刷")
                        : objectName == "PageChoice"         ? QStringLiteral("表示するページ")
                                                             : QStringLiteral("印刷位置調整"))
                    << where;
            } else if (qobject_cast<ColorSwatch *>(w)) {
                expectedRole = QAccessible::Button;
            } else {
                continue;
            }
            if (objectName.isEmpty() && qobject_cast<QLineEdit *>(w->parentWidget())) {
                // The mark a title edit shows for text Shift-JIS cannot hold.
                EXPECT_EQ(name(w), QStringLiteral("Shift-JISで保存できない文字")) << where;
            } else {
                EXPECT_TRUE(names.contains(objectName)) << where;
                EXPECT_EQ(name(w), names.value(objectName)) << where;
                named.insert(objectName);
            }
            EXPECT_EQ(role(w), expectedRole) << where;
            // Controls of one kind that share a caption differ in their
            // description ("印刷項目編集" twice, "表と同じ" for title and picture).
            const QString key = QString::number(role(w)) + QLatin1Char('|') + name(w)
                + QLatin1Char('|') + accessible(w)->text(QAccessible::Description);
            EXPECT_FALSE(seen.contains(key)) << where;
            seen.insert(key);
        }
        // Every control and label the table names is on the tab.
        QStringList found(named.begin(), named.end());
        found.sort();
        EXPECT_EQ(found, names.keys()) << tab;
        EXPECT_EQ(unnamedLabels, expectedUnnamedLabels(i)) << tab;
    }
}

TEST_F(MainWindowTest, EveryWindowHasTheWindowRoleAndItsCaptionAsName)
{
    showWindow();
    window->PreviewShowClick();
    EXPECT_EQ(role(window.get()), QAccessible::Window);
    EXPECT_EQ(name(window.get()), QStringLiteral("Casewright [Main]"));
    EXPECT_EQ(role(window->previewWindow()), QAccessible::Window);
    EXPECT_EQ(name(window->previewWindow()), QStringLiteral("Casewright [Preview]"));
    EXPECT_EQ(role(window->aboutBox()), QAccessible::Dialog);
    EXPECT_EQ(name(window->aboutBox()), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
}

TEST_F(MainWindowTest, TabOrderFollowsTheReadingOrderOfEachTab)
{
    const QStringList top = surfaceOrder("Top", { "TopTitleUse", "TopTitleFontSet" }, true,
        { "UseTopList", "TopListEdit", "UseTop1Prints", "Top1PrintsEdit", "UseTop2Prints",
            "Top2PrintsEdit" },
        QString());
    const QStringList bottom
        = surfaceOrder("Bottom", { "BottomTitleUse", "BottomSameTitle", "BottomTitleFontSet" },
            true, { "UseBottomList", "BottomListEdit", "UseBottomPrints", "BottomPrintsEdit" },
            "SameGraphic");
    const QStringList left = surfaceOrder(
        "Left", { "LeftTitleUse", "LeftSameTitle", "LeftTitleFontSet" }, false, {}, QString());
    // The right spine's links stand on a row of their own under "フォント".
    const QStringList right = surfaceOrder("Right",
        { "RightTitleUse", "RightTitleFontSet", "RightSameTitle", "RightSameLeft" }, false, {},
        "SameGraphicLeft");
    const QStringList options = { "CaseType", "CasePanelWidth", "CasePanelHeight", "CaseSpineWidth",
        "BookletPages", "TopLabelPrint", "DiscLabelPrint", "BottomLabelPrint", "InsidePrint", "AreaLinePrint", "CutLinePrint",
        "SideTitleSameTop", "Bleed", "TopLabelBGColor1", "TopLabelBGColor2", "BottomLabelBGColor",
        "LeftTitleBGColor", "RightTitleBGColor", "PrintOffsetX", "PrintOffsetY", "CalibrationPrint",
        "DiscCalibrationPrint" };
    QStringList disc;
    for (const char *p : { "DiscTitle", "DiscSubtitle" }) {
        const QString t = QLatin1String(p);
        disc << t + "Use" << t + "FontSet" << t << t + "Place0" << t + "Place1" << t + "Place2"
             << t + "Radius" << t + "Angle" << t + "PosXUse" << t + "PosX" << t + "PosYUse"
             << t + "PosY";
    }
    disc << "DiscBGColor" << "UseDiscList" << "DiscListEdit" << "UseDiscPrints"
         << "DiscPrintsEdit" << "DiscGraphicUse" << "DiscGraphicFileName" << "DiscGraphicFileSelect"
         << "DiscGraphicWidth2" << "DiscGraphicHeight2" << "DiscGSizeChange" << "DiscSizeRateFixed"
         << "DiscGraphicPosX" << "DiscGraphicPosY" << "DiscGPosChange" << "DiscStock"
         << "DiscCustomSheet";
    for (int i = 1; i <= 8; ++i)
        disc << QStringLiteral("DiscLabel%1").arg(i);
    disc << "DiscOuter" << "DiscHub";
    const QStringList pages = QStringList { "PageChoice", "PageBGColor", "UsePageList",
        "PageListEdit", "UsePagePrints", "PagePrintsEdit", "BookletDuplex" }
        + pictureOrder("Page", QString());
    const QStringList expected[] = { top, bottom, left, right, disc, options, pages };

    auto *tabs = find<QTabWidget>("PageControl");
    QTabBar *bar = tabs->tabBar();
    for (int i = 0; i < tabs->count(); ++i)
        EXPECT_EQ(tabOrder(bar, tabs->widget(i)), expected[i]) << tabs->tabText(i).toStdString();
    // The tab bar first, the three buttons below the tabs last.
    QStringList all = tabOrder(bar, window.get());
    EXPECT_EQ(all.first(), bar->objectName());
    EXPECT_EQ(all.mid(all.size() - 3), QStringList({ "PreviewShow", "PrinterSet", "PrintStart" }));
}

TEST_F(MainWindowTest, ASwatchIsPressedFromTheKeyboardAndByItsAccessibleAction)
{
    showWindow();
    auto *swatch = find<ColorSwatch>("BottomLabelBGColor");
    reveal(swatch);
    QAccessibleActionInterface *actions = accessible(swatch)->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(dialogs.colorStarts.size(), 1);
    QTest::keyClick(swatch, Qt::Key_Space);
    EXPECT_EQ(dialogs.colorStarts.size(), 2);
}

TEST(PreviewAccessibility, ButtonsInReadingOrderAndThePageNamedByItsCaption)
{
    TPreviewWindow w([](LabelCanvas &, PreviewPage, int, int, int, int) {});
    w.show();
    EXPECT_EQ(tabOrder(w.findChild<QWidget *>("PreviewTopShow"), &w),
        QStringList({ "PreviewTopShow", "PreviewBottomShow", "PreviewClose", "PreviewDiscShow",
            "PreviewPageBack", "PreviewPageOn", "Zoom1", "Zoom2", "ScrollBox" }));
    static const std::pair<const char *, const char16_t *> buttons[] = {
        { "PreviewTopShow", u"表レーベル" },
        { "PreviewBottomShow", u"裏レーベル" },
        { "PreviewClose", u"閉じる" },
        { "PreviewDiscShow", u"ディスク" },
        { "PreviewPageBack", u"前へ" },
        { "PreviewPageOn", u"次へ" },
        { "Zoom1", u"縮小" },
        { "Zoom2", u"拡大" },
    };
    for (const auto &[object, caption] : buttons) {
        auto *b = w.findChild<QPushButton *>(QLatin1String(object));
        ASSERT_NE(b, nullptr) << object;
        EXPECT_EQ(name(b), QString::fromUtf16(caption)) << object;
        EXPECT_EQ(role(b), QAccessible::Button) << object;
    }
    QWidget *image = w.findChild<QWidget *>("Image");
    EXPECT_EQ(name(image), QStringLiteral("表レーベル"));
    w.PreviewBottomShowClick();
    EXPECT_EQ(name(image), QStringLiteral("裏レーベル"));
}

TEST(AboutBoxAccessibility, EveryLabelAndTheButtonHaveTheirNames)
{
    TAboutBox about;
    static const std::pair<const char *, const char16_t *> texts[] = {
        { "ProgramIcon", u"Casewright" },
        { "ProductName", u"Casewright" },
        { "Version", u"Version 1.12" },
        { "Comments", u"2025年6月 リリース" },
        { "OKButton", u"OK" },
    };
    for (const auto &[object, text] : texts) {
        QWidget *w = about.findChild<QWidget *>(QLatin1String(object));
        ASSERT_NE(w, nullptr) << object;
        EXPECT_EQ(name(w), QString::fromUtf16(text)) << object;
    }
    EXPECT_EQ(role(about.findChild<QWidget *>("OKButton")), QAccessible::Button);
}

// "カスタム用紙": a dialog named by its caption; each field and button by its
// label, the paper list by the paper it shows, each centre a list item.
TEST(CustomSheetAccessibility, TheDialogItsFieldsAndItsCentres)
{
    CustomSheetDialog dialog(customSheetForm(defaultCustomLabelSheet()), {});
    dialog.show();
    EXPECT_EQ(std::pair(role(&dialog), name(&dialog)), std::pair(QAccessible::Dialog, QStringLiteral("カスタム用紙")));
    static const std::tuple<const char *, const char16_t *, QAccessible::Role> controls[] = {
        { "CustomSheetPaper", u"A4", QAccessible::ComboBox },
        { "CustomSheetOuter", u"外径", QAccessible::EditableText },
        { "CustomSheetHole", u"穴径", QAccessible::EditableText },
        { "CustomSheetCentres", u"ラベルの中心", QAccessible::List },
        { "CustomSheetX", u"横", QAccessible::EditableText },
        { "CustomSheetY", u"縦", QAccessible::EditableText },
        { "CustomSheetAdd", u"追加", QAccessible::Button },
        { "CustomSheetCancel", u"キャンセル", QAccessible::Button },
    };
    for (const auto &[object, text, expectedRole] : controls) {
        QWidget *w = dialog.findChild<QWidget *>(QLatin1String(object));
        ASSERT_NE(w, nullptr) << object;
        EXPECT_EQ(std::pair(name(w), role(w)), std::pair(QString::fromUtf16(text), expectedRole)) << object;
    }
    EXPECT_EQ(accessible(dialog.findChild<QWidget *>("CustomSheetPaper"))->text(QAccessible::Description),
        QStringLiteral("用紙"));
    QAccessibleInterface *list = accessible(dialog.findChild<QListWidget *>("CustomSheetCentres"));
    ASSERT_EQ(list->childCount(), 2);
    EXPECT_EQ(std::pair(list->child(1)->role(), list->child(1)->text(QAccessible::Name)),
        std::pair(QAccessible::ListItem, QStringLiteral("2: 105, 218.33")));
    EXPECT_EQ(tabOrder(dialog.findChild<QWidget *>("CustomSheetPaper"), &dialog),
        QStringList({ "CustomSheetPaper", "CustomSheetOuter", "CustomSheetHole", "CustomSheetCentres",
            "CustomSheetX", "CustomSheetY", "CustomSheetAdd", "CustomSheetDelete", "CustomSheetOK",
            "CustomSheetCancel" }));
}
