#include <QClipboard>
#include <QTemporaryDir>

#include "ListEditorHarness.h"
#include "TestSupport.h"

using namespace cw;

TEST_F(ListEditorTest, OpeningReplacesTheMainWindowAndClosingBringsItBackWithItsShowBehaviour)
{
    rows().append(textRow("1", "a", "b"));
    openEditor();
    EXPECT_FALSE(window->isVisible());
    ASSERT_TRUE(list()->isVisible());
    EXPECT_EQ(list()->windowTitle(), QStringLiteral("Casewright [List]"));
    EXPECT_EQ(list()->surface(), 0);
    // No row selected: every cell control, ListData and SeparateUse are off.
    EXPECT_EQ(list()->editor().selected(), -1);
    for (const char *name : { "SeparateUse", "ListData", "Label1", "ListText1", "ListTextPos1",
             "ListFont1", "ListText2", "ListText3" })
        EXPECT_FALSE(on(ed(QLatin1String(name)))) << name;
    EXPECT_TRUE(on(ed("DefaultFontSet1")));
    EXPECT_TRUE(on(ed("FontChange3")));
    const int queries = printer.queries;
    pressEd("ListClose");
    QCoreApplication::processEvents();
    EXPECT_FALSE(list()->isVisible());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(printer.queries, queries + 1);
    // The title-bar close does the same.
    MainWindowTest::click("TopListEdit");
    list()->close();
    EXPECT_TRUE(window->isVisible());
}

TEST_F(ListEditorTest, TheWindowNeverGetsSmallerThan632By328AndKeepsThePanelInTheCorner)
{
    openEditor();
    list()->resize(300, 200);
    QCoreApplication::processEvents();
    EXPECT_GE(list()->width(), 632);
    EXPECT_GE(list()->height(), 328);
    list()->resize(900, 600);
    QCoreApplication::processEvents();
    QWidget *lower = ed("LowerPanel");
    QWidget *upper = ed("UpperPanel");
    EXPECT_EQ(lower->geometry(), QRect(900 - 632, 600 - 264, 632, 264));
    EXPECT_EQ(upper->geometry(), QRect(8, 0, 900 - 16, 600 - 264 - 8));
    auto *header = ed<QHeaderView>("HeaderControl");
    EXPECT_EQ(header->width(), upper->width());
    EXPECT_EQ(ed("ListBox")->geometry().bottom(), upper->height() - 1);
    const QStringList titles = { "ｾﾊﾟﾚｰﾄ", "内容1", "位置1", "内容2", "位置2", "内容3", "位置3" };
    const int widths[] = { 52, 135, 50, 135, 50, 135, 50 };
    ASSERT_EQ(header->count(), 7);
    for (int s = 0; s < 7; ++s) {
        EXPECT_EQ(header->model()->headerData(s, Qt::Horizontal).toString(), titles[s]);
        EXPECT_EQ(header->sectionSize(s), widths[s]);
        EXPECT_EQ(header->sectionResizeMode(s), QHeaderView::Interactive);
    }
}

TEST_F(ListEditorTest, NewAddDeleteAndTheMovesFollowTheSelection)
{
    openEditor();
    // Without rows "追加" and "削除" do nothing and both moves are off.
    pressEd("ListAdd");
    pressEd("ListDelete");
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_FALSE(ed<QMenu>("PopupMenu")->actions()[0]->isEnabled());
    EXPECT_FALSE(ed<QMenu>("PopupMenu")->actions()[1]->isEnabled());
    EXPECT_TRUE(refresher.pages.isEmpty());

    pressEd("ListNew");
    typeInto(ed("ListText2"), "A");
    pressEd("ListNew");
    typeInto(ed("ListText2"), "B");
    EXPECT_EQ(list()->editor().selected(), 1);
    pressEd("ListAdd"); // before B, selected
    typeInto(ed("ListText2"), "C");
    ASSERT_EQ(rows().size(), 3);
    EXPECT_EQ(rows()[1].columns[1].text, "C");
    EXPECT_EQ(list()->editor().selected(), 1);
    auto *up = ed<QMenu>("PopupMenu")->actions()[0];
    auto *down = ed<QMenu>("PopupMenu")->actions()[1];
    EXPECT_EQ(up->text(), QStringLiteral("上へ"));
    EXPECT_EQ(down->text(), QStringLiteral("下へ"));
    up->trigger();
    EXPECT_EQ(rows()[0].columns[1].text, "C");
    EXPECT_EQ(list()->editor().selected(), 0);
    EXPECT_FALSE(up->isEnabled()); // first row
    EXPECT_TRUE(down->isEnabled());
    clickRow(2);
    EXPECT_FALSE(down->isEnabled()); // last row
    pressEd("ListDelete");
    EXPECT_EQ(rows().size(), 2);
    EXPECT_EQ(list()->editor().selected(), -1);
    EXPECT_FALSE(on(ed("ListText2")));
    // Every change of rows asked for the page shown.
    EXPECT_FALSE(refresher.pages.isEmpty());
    for (PreviewPage page : refresher.pages)
        EXPECT_EQ(page, PreviewPage::Shown);
}

TEST_F(ListEditorTest, ANewRowTakesTheDefaultsOfTheColumnCountAndTheEditorsChoices)
{
    struct Case
    {
        int columns;
        bool separate, e1, e3;
    } cases[] = { { 1, false, false, false }, { 2, true, true, false }, { 3, true, true, true } };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.columns);
        rows().clear();
        openEditor(0, c.columns);
        pressEd("ListNew");
        const TListData &r = rows().last();
        EXPECT_EQ(r.separate, c.separate);
        EXPECT_EQ(r.kind, 0);
        EXPECT_EQ(r.columns[0].enabled, c.e1);
        EXPECT_TRUE(r.columns[1].enabled);
        EXPECT_EQ(r.columns[2].enabled, c.e3);
        EXPECT_EQ(on(ed("ListText1")), c.e1);
        EXPECT_EQ(on(ed("ListText3")), c.e3);
        EXPECT_EQ(on(ed("SeparateUse")), c.columns != 1);
        EXPECT_TRUE(on(ed("ListData")));
        EXPECT_EQ(r.columns[1].font, defaultFont());
        pressEd("ListClose");
    }
    // The alignment chosen for a cell is what the next new row gets.
    pressEd("ListTextPos2Item2");
    EXPECT_EQ(rows().last().columns[1].align, 3);
    pressEd("ListNew");
    EXPECT_EQ(rows().last().columns[1].align, 3);
    EXPECT_EQ(rows().last().columns[0].align, 1);
}

TEST_F(ListEditorTest, ShowingARowEmptiesTheTextsItCannotPrint)
{
    rows().append(textRow("1", "not separated", "3:00", false));
    TListData separator = textRow("x", "y", "z");
    separator.kind = 1;
    rows().append(separator);
    rows().append(textRow("2", "kept", "4:00"));
    openEditor();
    clickRow(0);
    EXPECT_EQ(ed<QLineEdit>("ListText1")->text(), "");
    EXPECT_EQ(ed<QLineEdit>("ListText2")->text(), "not separated");
    EXPECT_TRUE(ed<QRadioButton>("SeparateUseItem1")->isChecked());
    EXPECT_FALSE(on(ed("ListText1")));
    // Switched to "する": cells 1 and 3 come back empty.
    pressEd("SeparateUseItem0");
    EXPECT_TRUE(rows()[0].separate);
    EXPECT_TRUE(on(ed("ListText1")));
    EXPECT_TRUE(on(ed("ListText3")));
    EXPECT_EQ(rows()[0].columns[0].text, "");
    EXPECT_EQ(rows()[0].columns[2].text, "");
    EXPECT_EQ(rows()[0].columns[1].text, "not separated");
    EXPECT_EQ(lineOf(0), "する  左寄せ not separated 左寄せ  左寄せ");
    // A separator row loses all three and switches everything off.
    clickRow(1);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(rows()[1].columns[size_t(k)].text, "");
    EXPECT_FALSE(on(ed("ListText2")));
    EXPECT_FALSE(on(ed("SeparateUse")));
    EXPECT_TRUE(ed<QRadioButton>("ListDataItem1")->isChecked());
    // Back to "文章": `separate` from the choice shown ("する", the row's
    // flag when it was shown), cells on again.
    pressEd("ListDataItem0");
    EXPECT_EQ(rows()[1].kind, 0);
    EXPECT_TRUE(rows()[1].separate);
    EXPECT_TRUE(on(ed("ListText2")));
    EXPECT_TRUE(on(ed("ListText1")));
    EXPECT_TRUE(on(ed("SeparateUse")));
    // "ｾﾊﾟﾚｰﾀ" turns the row's flags off; the display shows hyphens.
    clickRow(2);
    pressEd("ListDataItem1");
    EXPECT_EQ(rows()[2].kind, 1);
    EXPECT_FALSE(rows()[2].separate);
    EXPECT_EQ(lineOf(2),
        "しない -------------------- ------ -------------------- ------ -------------------- "
        "------");
    EXPECT_EQ(rows()[2].columns[1].text, "kept");
}

TEST_F(ListEditorTest, CellTextsAreStoredOnEveryKeystrokeAndEnterGoesNowhere)
{
    openEditor();
    pressEd("ListNew");
    auto *edit = ed<QLineEdit>("ListText2");
    typeInto(edit, QStringLiteral("夜明"));
    EXPECT_EQ(rows()[0].columns[1].text, QStringLiteral("夜明"));
    EXPECT_EQ(refresher.pages.count(PreviewPage::Shown), 3); // "新規" and two keystrokes
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(edit, &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_TRUE(list()->isVisible());
    EXPECT_EQ(lineOf(0), QStringLiteral("する  左寄せ 夜明 左寄せ  左寄せ"));
}

TEST_F(ListEditorTest, FontCommandsStoreTheDialogsAnswerAndCancelChangesNothing)
{
    rows().append(textRow("1", "a", "b"));
    rows().append(textRow("2", "c", "d"));
    openEditor();
    clickRow(0);
    FontSpec big = defaultFont();
    big.name = "Serif";
    big.size = 20;
    big.bold = true;
    big.color = 0x0000FF;
    // Cancel: nothing.
    pressEd("ListFont2");
    EXPECT_EQ(rows()[0].columns[1].font, defaultFont());
    dialogs.fontAnswer = big;
    pressEd("ListFont2");
    EXPECT_EQ(rows()[0].columns[1].font, big);
    EXPECT_EQ(ed("ListText2")->font().family(), "Serif");
    EXPECT_TRUE(ed("ListText2")->font().bold());
    EXPECT_EQ(ed("ListText2")->font().pixelSize(), 12);
    // "ﾃﾞﾌｫﾙﾄﾌｫﾝﾄ": the selected row's cell and later new rows.
    pressEd("DefaultFontSet3");
    EXPECT_EQ(rows()[0].columns[2].font, big);
    EXPECT_EQ(rows()[1].columns[2].font, defaultFont());
    pressEd("ListNew");
    EXPECT_EQ(rows().last().columns[2].font, big);

    // Bulk change of the size only, every row, the default font too.
    BulkFontChoice choice;
    choice.font = defaultFont();
    choice.font.size = 14;
    choice.switches = { false, true, false, false, false, true };
    dialogs.bulkFontAnswer = choice;
    pressEd("FontChange3");
    ASSERT_EQ(dialogs.bulkFontStarts.size(), 1);
    EXPECT_EQ(dialogs.bulkFontStarts[0], big); // starts with the default font
    FontSpec expected = big;
    expected.size = 14;
    EXPECT_EQ(rows()[0].columns[2].font, expected);
    FontSpec plain14 = defaultFont();
    plain14.size = 14;
    EXPECT_EQ(rows()[1].columns[2].font, plain14);
    pressEd("ListNew");
    EXPECT_EQ(rows().last().columns[2].font, expected);
    EXPECT_EQ(rows()[0].columns[1].font, big); // other cells untouched
}

TEST_F(ListEditorTest, ImportFillsTheCellsByTheColumnCountAndAFailureChangesNothing)
{
    QTemporaryDir dir;
    const QString csv = dir.filePath("t.csv");
    writeAll(csv, sjis("1,\"Hello, world\",3:45\n\"\"\"hi\"\"\",b,c,d\n\n"));
    dialogs.openAnswer = csv;
    openEditor(0, 3);
    pressEd("FileLoad");
    ASSERT_EQ(dialogs.openFilters.size(), 1);
    EXPECT_EQ(dialogs.openFilters[0],
        withAlbumImportEntries(
            QStringLiteral("読み込み可能ファイル(*.txt,*.csv)|*.TXT;*.CSV|テキストファイル(*.txt)|*.TXT|"
                           "CSVファイル(*.csv)|*.CSV|全てのファイル(*.*)|*.*"))
            + QLatin1Char('#'));
    ASSERT_EQ(rows().size(), 3);
    EXPECT_EQ(rows()[0].columns[0].text, "1");
    EXPECT_EQ(rows()[0].columns[1].text, "Hello, world");
    EXPECT_EQ(rows()[0].columns[2].text, "3:45");
    EXPECT_EQ(rows()[1].columns[0].text, "\"hi\"");
    EXPECT_EQ(rows()[1].columns[2].text, "c");
    EXPECT_EQ(rows()[2].columns[1].text, "");
    EXPECT_EQ(list()->editor().selected(), 2);
    EXPECT_EQ(list()->rowView()->model()->rowCount(), 3);
    EXPECT_EQ(refresher.pages, QList<PreviewPage>({PreviewPage::Shown}));

    dialogs.openAnswer = dir.filePath("missing.txt");
    pressEd("FileLoad");
    EXPECT_EQ(dialogs.messages.last(),
        QStringLiteral("ファイル(") + dir.filePath("missing.txt") + QStringLiteral(")がオープンできません"));
    EXPECT_EQ(rows().size(), 3);
    pressEd("ListClose");

    // One column: the first field goes into cell 2.
    const QString txt = dir.filePath("t.txt");
    writeAll(txt, sjis("first\tsecond\n"));
    dialogs.openAnswer = txt;
    openEditor(0, 1);
    pressEd("FileLoad");
    EXPECT_EQ(rows().last().columns[1].text, "first");
    EXPECT_EQ(rows().last().columns[0].text, "");
}

TEST_F(ListEditorTest, KeysOnTheRowDisplayRunTheRowCommandsAndPasteAppendsRows)
{
    openEditor(0, 3);
    QListView *view = list()->rowView();
    view->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("1\tOne\t3:00\r\n2\tTwo\t4:00\r\n"));
    QTest::keyClick(view, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(rows().size(), 2);
    EXPECT_EQ(rows()[1].columns[1].text, "Two");
    EXPECT_EQ(rows()[1].columns[2].text, "4:00");
    EXPECT_EQ(list()->editor().selected(), 1);
    QTest::keyClick(view, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(rows()[0].columns[1].text, "Two");
    EXPECT_EQ(list()->editor().selected(), 0);
    QTest::keyClick(view, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(rows()[1].columns[1].text, "Two");
    QTest::keyClick(view, Qt::Key_Insert);
    ASSERT_EQ(rows().size(), 3);
    EXPECT_EQ(rows()[1].columns[1].text, "");
    EXPECT_EQ(list()->editor().selected(), 1);
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(rows().size(), 2);
    EXPECT_EQ(list()->editor().selected(), -1);
    // A plain arrow key selects the row above, as a click would.
    clickRow(1);
    QTest::keyClick(view, Qt::Key_Up);
    EXPECT_EQ(list()->editor().selected(), 0);
}

TEST_F(ListEditorTest, EveryControlIsNamedForAssistiveToolsAndTheRowsAreListItems)
{
    rows().append(textRow("1", "Intro", "1:00"));
    openEditor();
    const std::pair<const char *, const char *> names[] = { { "ListText1", "ｾﾊﾟﾚｰﾄ1内容" },
        { "ListText3", "ｾﾊﾟﾚｰﾄ3内容" }, { "ListFont2", "フォント" },
        { "DefaultFontSet1", "ﾃﾞﾌｫﾙﾄﾌｫﾝﾄ" }, { "FontChange2", "ﾌｫﾝﾄ一括変更" },
        { "ListNew", "新規" }, { "ListAdd", "追加" }, { "ListDelete", "削除" },
        { "FileLoad", "ファイル" }, { "ListSet", "ﾘｽﾄ位置設定" }, { "PreviewShow", "プレビュー" },
        { "ListClose", "閉じる" }, { "SeparateUse", "ｾﾊﾟﾚｰﾄ" }, { "ListData", "リスト内容" },
        { "ListTextPos2", "ｾﾊﾟﾚｰﾄ2文字位置" }, { "SeparateUseItem1", "しない" },
        { "ListTextPos1Item1", "中央" } };
    for (const auto &[object, name] : names) {
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(ed(QLatin1String(object)));
        ASSERT_NE(a, nullptr) << object;
        EXPECT_EQ(a->text(QAccessible::Name), QString::fromUtf8(name)) << object;
    }
    QAccessibleInterface *win = QAccessible::queryAccessibleInterface(list());
    EXPECT_EQ(win->role(), QAccessible::Window);
    QAccessibleInterface *view = QAccessible::queryAccessibleInterface(list()->rowView());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->role(), QAccessible::List);
    ASSERT_EQ(view->childCount(), 1);
    QAccessibleInterface *item = view->child(0);
    EXPECT_EQ(item->role(), QAccessible::ListItem);
    EXPECT_EQ(item->text(QAccessible::Name), "する 1 左寄せ Intro 左寄せ 1:00 左寄せ");
}
