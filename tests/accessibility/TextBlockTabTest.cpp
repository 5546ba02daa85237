// What a screen reader finds on the free-print editor's text block tab: each
// control named by its caption or label, the alignment list by the entry it
// shows with its label as description.
#include <QAccessible>
#include <QComboBox>

#include "printseditor/PrintsEditorHarness.h"

using namespace cw;

TEST_F(PrintsWindowTest, EveryControlOfTheTextBlockTabHasItsNameAndRole)
{
    showTab(2);
    press("ListNew");
    const std::tuple<const char *, const char16_t *, QAccessible::Role> rows[] = {
        { "BlockText", u"内容", QAccessible::EditableText },
        { "BlockX", u"横", QAccessible::EditableText },
        { "BlockY", u"縦", QAccessible::EditableText },
        { "BlockWidth", u"幅", QAccessible::EditableText },
        { "BlockHeight", u"高さ", QAccessible::EditableText },
        { "BlockAlign", u"左揃え", QAccessible::ComboBox },
        { "LineSpacing", u"行間", QAccessible::EditableText },
        { "BlockFontSelect", u"フォント", QAccessible::Button },
        { "BlockFileRead", u"ファイルから読み込む...", QAccessible::Button },
    };
    for (const auto &[object, name, role] : rows) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(in(object));
        ASSERT_NE(iface, nullptr) << object;
        EXPECT_EQ(iface->text(QAccessible::Name), QString::fromUtf16(name)) << object;
        EXPECT_EQ(iface->role(), role) << object;
    }
    QAccessibleInterface *align = QAccessible::queryAccessibleInterface(in("BlockAlign"));
    EXPECT_EQ(align->text(QAccessible::Description), QStringLiteral("配置"));
    in<QComboBox>("BlockAlign")->setCurrentIndex(1);
    EXPECT_EQ(align->text(QAccessible::Name), QStringLiteral("中央揃え"));
    EXPECT_EQ(items()[0].blockAlign, 1);
}
