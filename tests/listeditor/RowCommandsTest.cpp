#include <QItemSelectionModel>

#include "ListEditorHarness.h"

using namespace cw;

namespace {

// How the user picks a row: a click on its line, or the arrow keys from the
// first row.
enum class Pick { Mouse, Keys };

// Five rows whose second cells name them; the commands are run on the first,
// a middle and the last row, picked by mouse and by keyboard.
class RowCommandsTest : public ListEditorTest
{
protected:
    const QStringList names { "A", "B", "C", "D", "E" };

    // Opens the editor on the five rows afresh and picks `row`.
    void openAndPick(int row, Pick pick)
    {
        if (list() && list()->isVisible())
            pressEd("ListClose");
        rows().clear();
        for (const QString &n : names)
            rows().append(textRow(n + "1", n, n + "3"));
        openEditor();
        QListView *view = list()->rowView();
        view->setFocus();
        if (pick == Pick::Mouse) {
            clickRow(row);
        } else {
            // Down from the first row; the first row itself is reached with Up.
            clickRow(row == 0 ? 1 : 0);
            if (row == 0)
                QTest::keyClick(view, Qt::Key_Up);
            for (int i = 0; i < row; ++i)
                QTest::keyClick(view, Qt::Key_Down);
        }
        ASSERT_EQ(list()->editor().selected(), row);
        ASSERT_EQ(ed<QLineEdit>("ListText2")->text(), names[row]);
    }
    QStringList secondCells()
    {
        QStringList out;
        for (const TListData &r : rows())
            out.append(r.columns[1].text);
        return out;
    }
    QStringList without(int row)
    {
        QStringList out = names;
        out.removeAt(row);
        return out;
    }
    bool viewHasSelection() { return list()->rowView()->selectionModel()->hasSelection(); }
    int viewSelectedRow()
    {
        const QModelIndexList s = list()->rowView()->selectionModel()->selectedIndexes();
        return s.size() == 1 ? s.first().row() : -1;
    }
    QAction *menuAction(int i) { return ed<QMenu>("PopupMenu")->actions()[i]; }
};

const int kChosenRows[] = { 0, 2, 4 };
const Pick kPicks[] = { Pick::Mouse, Pick::Keys };

TEST_F(RowCommandsTest, DeleteDestroysTheChosenRowAndLeavesNoneSelected)
{
    for (Pick pick : kPicks) {
        for (int row : kChosenRows) {
            SCOPED_TRACE(
                testing::Message() << "row " << row << (pick == Pick::Keys ? " keys" : " mouse"));
            openAndPick(row, pick);
            pressEd("ListDelete");
            EXPECT_EQ(secondCells(), without(row));
            EXPECT_EQ(list()->editor().selected(), -1);
            EXPECT_FALSE(viewHasSelection());
            EXPECT_FALSE(on(ed("ListText2")));
            EXPECT_EQ(ed<QLineEdit>("ListText2")->text(), QString());
            // The row display lists what is left.
            ASSERT_EQ(list()->rowView()->model()->rowCount(), 4);
            EXPECT_TRUE(lineOf(row == 4 ? 3 : row).contains(names[row == 4 ? 3 : row + 1]));
        }
    }
}

TEST_F(RowCommandsTest, TheDeleteKeyAndUndoActOnTheChosenRow)
{
    for (int row : kChosenRows) {
        SCOPED_TRACE(row);
        openAndPick(row, Pick::Keys);
        QTest::keyClick(list()->rowView(), Qt::Key_Delete);
        EXPECT_EQ(secondCells(), without(row));
        EXPECT_FALSE(viewHasSelection());
        QTest::keyClick(list()->rowView(), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(secondCells(), names);
    }
}

TEST_F(RowCommandsTest, AddInsertsAnEmptyRowBeforeTheChosenOneAndSelectsIt)
{
    for (Pick pick : kPicks) {
        for (int row : kChosenRows) {
            SCOPED_TRACE(
                testing::Message() << "row " << row << (pick == Pick::Keys ? " keys" : " mouse"));
            openAndPick(row, pick);
            pressEd("ListAdd");
            QStringList expected = names;
            expected.insert(row, QString());
            EXPECT_EQ(secondCells(), expected);
            EXPECT_EQ(list()->editor().selected(), row);
            EXPECT_EQ(viewSelectedRow(), row);
            EXPECT_EQ(ed<QLineEdit>("ListText2")->text(), QString());
        }
    }
}

TEST_F(RowCommandsTest, NewAppendsARowAndLeavesTheChosenOneAsItWas)
{
    for (int row : kChosenRows) {
        SCOPED_TRACE(row);
        openAndPick(row, Pick::Mouse);
        pressEd("ListNew");
        QStringList expected = names;
        expected.append(QString());
        EXPECT_EQ(secondCells(), expected);
        EXPECT_EQ(list()->editor().selected(), 5);
        EXPECT_EQ(viewSelectedRow(), 5);
    }
}

TEST_F(RowCommandsTest, TheMovesSwapTheChosenRowWithItsNeighbourAndKeepItSelected)
{
    for (Pick pick : kPicks) {
        for (int row : kChosenRows) {
            SCOPED_TRACE(
                testing::Message() << "row " << row << (pick == Pick::Keys ? " keys" : " mouse"));
            openAndPick(row, pick);
            // The first row cannot go up, the last cannot go down.
            EXPECT_EQ(menuAction(0)->isEnabled(), row > 0);
            EXPECT_EQ(menuAction(1)->isEnabled(), row < 4);
            if (row > 0) {
                menuAction(0)->trigger();
                QStringList expected = names;
                expected.swapItemsAt(row - 1, row);
                EXPECT_EQ(secondCells(), expected);
                EXPECT_EQ(list()->editor().selected(), row - 1);
                EXPECT_EQ(viewSelectedRow(), row - 1);
                openAndPick(row, pick);
            }
            if (row < 4) {
                menuAction(1)->trigger();
                QStringList expected = names;
                expected.swapItemsAt(row, row + 1);
                EXPECT_EQ(secondCells(), expected);
                EXPECT_EQ(list()->editor().selected(), row + 1);
                EXPECT_EQ(viewSelectedRow(), row + 1);
            }
        }
    }
}

} // namespace
