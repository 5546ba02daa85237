// What a screen reader finds in the main window, the preview window and the
// version box: the name and role of every control, the window role of every
// window and a tab order that follows the reading order.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include "render/ui/TPreviewWindow.h"
#include "ui/MainWindowHarness.h"
#include "widgets/ColorSwatch.h"

using namespace cw;

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

// The edits and lists, named by their label (and, where two share one, by
// what each holds); the rest of a tab's controls are named by their caption.
QString expectedFieldName(const QString &objectName)
{
    static const std::pair<const char *, const char16_t *> fields[] = {
        { "Title", u"タイトル" },
        { "TitlePosX", u"任意位置設定 横" },
        { "TitlePosY", u"任意位置設定 縦" },
        { "TitleOffset", u"印刷位置オフセット" },
        { "GraphicFileName", u"ファイル名" },
        { "GraphicWidth2", u"画像ｻｲｽﾞ 幅" },
        { "GraphicHeight2", u"画像ｻｲｽﾞ 高さ" },
        { "GraphicPosX", u"印刷位置 横" },
        { "GraphicPosY", u"印刷位置 縦" },
    };
    if (objectName == QLatin1String("PrintOffsetX"))
        return QStringLiteral("印刷位置補正 横");
    if (objectName == QLatin1String("PrintOffsetY"))
        return QStringLiteral("印刷位置補正 縦");
    for (const char *prefix : { "Top", "Bottom", "Left", "Right" })
        for (const auto &[part, text] : fields)
            if (objectName == QLatin1String(prefix) + QLatin1String(part))
                return QString::fromUtf16(text);
    return QString();
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
        order << p + "TitleOffset";
    order << switches << p + "GraphicUse";
    if (!pictureLink.isEmpty())
        order << pictureLink;
    order << p + "GraphicFileName" << p + "GraphicFileSelect" << p + "GraphicWidth2"
          << p + "GraphicHeight2" << p + "GSizeChange" << p + "SizeRateFixed" << p + "GraphicPosX"
          << p + "GraphicPosY" << p + "GPosChange";
    return order;
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
        QSet<QString> seen;
        int controls = 0;
        for (QWidget *w : page->findChildren<QWidget *>()) {
            QString expected;
            QAccessible::Role expectedRole;
            if (auto *b = qobject_cast<QAbstractButton *>(w)) {
                expected = QString(b->text()).remove(QLatin1Char('&'));
                expectedRole = qobject_cast<QCheckBox *>(w) ? QAccessible::CheckBox
                    : qobject_cast<QRadioButton *>(w)       ? QAccessible::RadioButton
                                                            : QAccessible::Button;
            } else if (qobject_cast<QLineEdit *>(w)) {
                expected = expectedFieldName(w->objectName());
                expectedRole = QAccessible::EditableText;
            } else if (auto *list = qobject_cast<QComboBox *>(w)) {
                // On Linux a drop-down list reads as the item it shows; what
                // it is for is its description, its hint.
                expected = list->currentText();
                expectedRole = QAccessible::ComboBox;
                EXPECT_FALSE(list->toolTip().isEmpty()) << tab;
                EXPECT_EQ(accessible(w)->text(QAccessible::Description), list->toolTip()) << tab;
            } else if (qobject_cast<ColorSwatch *>(w)) {
                expected = find<QLabel>(qPrintable(w->objectName() + "Caption"))->text();
                expectedRole = QAccessible::Button;
            } else if (auto *label = qobject_cast<QLabel *>(w); label && !label->text().isEmpty()) {
                EXPECT_EQ(name(w), label->text()) << tab;
                continue;
            } else {
                continue;
            }
            ++controls;
            const std::string objectName = w->objectName().toStdString();
            EXPECT_FALSE(expected.isEmpty()) << tab << ": " << objectName;
            EXPECT_EQ(name(w), expected) << tab << ": " << objectName;
            EXPECT_EQ(role(w), expectedRole) << tab << ": " << objectName;
            // Controls of one kind that share a caption differ in their
            // description ("印刷項目編集" twice, "表と同じ" for title and picture).
            const QString key = QString::number(role(w)) + QLatin1Char('|') + name(w)
                + QLatin1Char('|') + accessible(w)->text(QAccessible::Description);
            EXPECT_FALSE(seen.contains(key)) << tab << ": " << objectName;
            seen.insert(key);
        }
        EXPECT_GE(controls, 10) << tab;
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
    const QStringList options = { "TopLabelPrint", "BottomLabelPrint", "AreaLinePrint",
        "CutLinePrint", "SideTitleSameTop", "Bleed", "TopLabelBGColor1", "TopLabelBGColor2",
        "BottomLabelBGColor", "LeftTitleBGColor", "RightTitleBGColor", "PrintOffsetX",
        "PrintOffsetY", "CalibrationPrint" };
    const QStringList expected[] = { top, bottom, left, right, options };

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
        QStringList({ "PreviewTopShow", "PreviewBottomShow", "PreviewClose", "Zoom1", "Zoom2",
            "ScrollBox" }));
    static const std::pair<const char *, const char16_t *> buttons[] = {
        { "PreviewTopShow", u"表レーベル" },
        { "PreviewBottomShow", u"裏レーベル" },
        { "PreviewClose", u"閉じる" },
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
