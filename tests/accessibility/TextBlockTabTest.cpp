// What a screen reader finds on the free-print editor's text block tab: each
// control named by its caption or label, the alignment list by the entry it
// shows with its label as description, and a tab order in reading order.
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>

#include "printseditor/PrintsEditorHarness.h"

using namespace cw;

namespace {

QAccessibleInterface *accessible(QObject *object)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    EXPECT_NE(iface, nullptr) << object->objectName().toStdString();
    return iface;
}

} // namespace

TEST_F(PrintsWindowTest, EveryControlOfTheTextBlockTabHasItsNameAndRole)
{
    showTab(2);
    press("ListNew");
    struct Row
    {
        const char *object;
        const char16_t *name;
        QAccessible::Role role;
    };
    const Row rows[] = {
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
    QWidget *tab = in("BlockTab");
    QList<QWidget *> order;
    for (const Row &r : rows) {
        QWidget *w = in(r.object);
        ASSERT_NE(w, nullptr);
        QAccessibleInterface *iface = accessible(w);
        EXPECT_EQ(iface->text(QAccessible::Name), QString::fromUtf16(r.name)) << r.object;
        EXPECT_EQ(iface->role(), r.role) << r.object;
        order.append(w);
    }
    EXPECT_EQ(accessible(in("BlockAlign"))->text(QAccessible::Description), QStringLiteral("配置"));
    in<QComboBox>("BlockAlign")->setCurrentIndex(1);
    EXPECT_EQ(accessible(in("BlockAlign"))->text(QAccessible::Name), QStringLiteral("中央揃え"));
    // Tab visits them in reading order (the text field gives the focus on
    // with Tab).
    for (qsizetype i = 0; i + 1 < order.size(); ++i) {
        QWidget *next = order[i]->nextInFocusChain();
        while (next != order[i]
            && (!(next->focusPolicy() & Qt::TabFocus) || next->focusProxy() || !next->isVisibleTo(tab)))
            next = next->nextInFocusChain();
        EXPECT_EQ(next, order[i + 1]) << order[i]->objectName().toStdString() << " then "
                                      << next->objectName().toStdString();
    }
}
