#include <QItemSelectionModel>
#include <QListView>
#include <QMenu>

#include "PrintsEditorHarness.h"

using namespace cw;

namespace {

enum class Pick { Mouse, Keys };

// Five text items named by their texts; the row commands are run on the
// first, a middle and the last item, picked by mouse and by keyboard.
class PrintsRowCommandsTest : public PrintsWindowTest
{
protected:
    const QStringList names { "A", "B", "C", "D", "E" };

    void openAndPick(int row, Pick pick)
    {
        if (editor->isVisible())
            press("Button2");
        items().clear();
        for (int i = 0; i < names.size(); ++i) {
            TPrintsData item;
            item.kind = 0;
            item.text = names[i];
            item.textX = i;
            items().append(item);
        }
        click("Top1PrintsEdit");
        ASSERT_TRUE(editor->isVisible());
        QListView *view = editor->listBox();
        view->setFocus();
        if (pick == Pick::Mouse) {
            clickRow(row);
        } else {
            clickRow(row == 0 ? 1 : 0);
            if (row == 0)
                QTest::keyClick(view, Qt::Key_Up);
            for (int i = 0; i < row; ++i)
                QTest::keyClick(view, Qt::Key_Down);
        }
        ASSERT_EQ(editor->editor().selected(), row);
        ASSERT_EQ(in<QLineEdit>("Text")->text(), names[row]);
    }
    void clickRow(int row)
    {
        QListView *view = editor->listBox();
        const QRect r = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    }
    QStringList texts()
    {
        QStringList out;
        for (const TPrintsData &item : items())
            out.append(item.text);
        return out;
    }
    int viewSelectedRow()
    {
        const QModelIndexList s = editor->listBox()->selectionModel()->selectedIndexes();
        return s.size() == 1 ? s.first().row() : -1;
    }
    QAction *menuAction(const char *name)
    {
        editor->updatePopupMenu();
        return editor->popupMenu()->findChild<QAction *>(QLatin1String(name));
    }
};

const int kChosenRows[] = { 0, 2, 4 };
const Pick kPicks[] = { Pick::Mouse, Pick::Keys };

TEST_F(PrintsRowCommandsTest, DeleteAddNewAndTheMovesActOnTheChosenItem)
{
    for (Pick pick : kPicks) {
        for (int row : kChosenRows) {
            SCOPED_TRACE(
                testing::Message() << "row " << row << (pick == Pick::Keys ? " keys" : " mouse"));

            openAndPick(row, pick);
            press("ListDelete");
            QStringList expected = names;
            expected.removeAt(row);
            EXPECT_EQ(texts(), expected);
            EXPECT_EQ(editor->editor().selected(), -1);
            EXPECT_FALSE(editor->listBox()->selectionModel()->hasSelection());
            EXPECT_FALSE(in("Text")->isEnabled());

            openAndPick(row, pick);
            press("ListAdd");
            expected = names;
            expected.insert(row, QString());
            EXPECT_EQ(texts(), expected);
            EXPECT_EQ(editor->editor().selected(), row);
            EXPECT_EQ(viewSelectedRow(), row);

            openAndPick(row, pick);
            press("ListNew");
            expected = names;
            expected.append(QString());
            EXPECT_EQ(texts(), expected);
            EXPECT_EQ(viewSelectedRow(), 5);

            openAndPick(row, pick);
            QAction *up = menuAction("MoveUp");
            ASSERT_NE(up, nullptr);
            EXPECT_EQ(up->isVisible(), row > 0);
            if (row > 0) {
                up->trigger();
                expected = names;
                expected.swapItemsAt(row - 1, row);
                EXPECT_EQ(texts(), expected);
                EXPECT_EQ(viewSelectedRow(), row - 1);
                EXPECT_EQ(in<QLineEdit>("Text")->text(), names[row]);
            }

            openAndPick(row, pick);
            QAction *down = menuAction("MoveDown");
            ASSERT_NE(down, nullptr);
            EXPECT_EQ(down->isVisible(), row < 4);
            if (row < 4) {
                down->trigger();
                expected = names;
                expected.swapItemsAt(row, row + 1);
                EXPECT_EQ(texts(), expected);
                EXPECT_EQ(viewSelectedRow(), row + 1);
                EXPECT_EQ(in<QLineEdit>("Text")->text(), names[row]);
            }
        }
    }
}

} // namespace
