#include <QComboBox>
#include <QDir>
#include <QToolButton>
#include <QFile>
#include <QTemporaryDir>

#include "ListEditorHarness.h"
#include "TestSupport.h"
#include "document/DocumentReader.h"

using namespace cw;

TEST_F(ListEditorTest, TheLayoutWindowShowsTheDefaultMaximaAndInformation)
{
    openEditor(0, 3);
    openLayoutWindow();
    EXPECT_EQ(setWindow()->windowTitle(), QStringLiteral("Casewright [List Setting]"));
    EXPECT_TRUE(setWindow()->isModal());
    const std::pair<const char *, const char *> maxima[] = { { "PrnPosXMax", "(最大 006)" },
        { "PrnPosYMax", "(最大 117)" }, { "SepWid1Max", "(最大 012)" },
        { "SepWid2Max", "(最大 073)" }, { "SepWid3Max", "(最大 033)" },
        { "SepSpc1Max", "(最大 005)" }, { "SepSpc2Max", "(最大 005)" } };
    for (const auto &[name, text] : maxima)
        EXPECT_EQ(lw<QLabel>(QLatin1String(name))->text(), QString::fromUtf8(text)) << name;
    const std::pair<const char *, const char *> info[] = { { "PrintWidth", "119mm" },
        { "PrintHeight", "117mm" }, { "Sep1PrintPos", "003mm" }, { "Sep2PrintPos", "014mm" },
        { "Sep3PrintPos", "086mm" } };
    for (const auto &[name, text] : info)
        EXPECT_EQ(lw<QLabel>(QLatin1String(name))->text(), QString::fromUtf8(text)) << name;
    EXPECT_EQ(lw<QLineEdit>("SeparateWidth2")->text(), "70");
    EXPECT_TRUE(lw<QRadioButton>("SeparateNo2")->isChecked());
    EXPECT_EQ(setWindow()->previewImage().size(), QSize(273, 230));
    // Names for assistive tools.
    for (const char *name : { "印刷位置横", "ｾﾊﾟﾚｰﾀ1幅", "ｾﾊﾟﾚｰﾀ2-3間隔", "リスト行間隔" }) {
        bool found = false;
        for (QLineEdit *e : setWindow()->findChildren<QLineEdit *>())
            found |= QAccessible::queryAccessibleInterface(e)->text(QAccessible::Name)
                == QString::fromUtf8(name);
        EXPECT_TRUE(found) << name;
    }
    EXPECT_EQ(QAccessible::queryAccessibleInterface(lw("TemplateLoad"))->text(QAccessible::Name),
        QStringLiteral("テンプレート名"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(setWindow())->role(), QAccessible::Dialog);
}

TEST_F(ListEditorTest, TheColumnChoiceActsOnTheRowsTheFieldsAndTheEditor)
{
    TListData notSeparated = textRow("", "b", "", false);
    rows().append(notSeparated);
    rows().append(textRow("1", "a", "2"));
    openEditor(0, 3);
    clickRow(1);
    openLayoutWindow();
    pressLw("SeparateNo0");
    for (const TListData &r : rows()) {
        EXPECT_FALSE(r.columns[0].enabled);
        EXPECT_FALSE(r.columns[2].enabled);
    }
    EXPECT_FALSE(on(lw("SeparateWidth1")));
    EXPECT_FALSE(on(lw("SeparateSpace2")));
    EXPECT_FALSE(on(lw("Sep1PrintPos")));
    EXPECT_TRUE(on(lw("SeparateWidth2")));
    EXPECT_FALSE(on(ed("ListText1")));
    EXPECT_FALSE(on(ed("SeparateUse")));
    EXPECT_EQ(lw<QLabel>("Sep1PrintPos")->text(), "000mm");
    EXPECT_EQ(lw<QLabel>("Sep2PrintPos")->text(), "003mm");
    // One column: free = 119 - 3 - 70 = 46; labels of unused values keep theirs.
    EXPECT_EQ(lw<QLabel>("SepWid2Max")->text(), QStringLiteral("(最大 116)"));
    EXPECT_EQ(lw<QLabel>("SepWid1Max")->text(), QStringLiteral("(最大 012)"));
    pressLw("SeparateNo1");
    // Two columns: cell 1 on for every row, not separated ones included.
    EXPECT_TRUE(rows()[0].columns[0].enabled);
    EXPECT_FALSE(rows()[0].columns[2].enabled);
    EXPECT_TRUE(on(ed("ListText1")));
    EXPECT_FALSE(on(ed("ListText3")));
    EXPECT_TRUE(on(ed("SeparateUse")));
    EXPECT_TRUE(on(lw("SeparateSpace1")));
    EXPECT_FALSE(on(lw("SeparateWidth3")));
    // Any close but "閉じる" stores nothing; the preview is redrawn.
    refresher.pages.clear();
    setWindow()->reject();
    QCoreApplication::processEvents();
    EXPECT_EQ(layout(0).columnCount, 3);
    EXPECT_EQ(refresher.pages, QList<PreviewPage>({PreviewPage::Shown}));
}

TEST_F(ListEditorTest, TypedValuesAreCutToTheirMaximaAndLettersAreRefused)
{
    // A stored layout wider than the label: the widths that no longer fit
    // show 0 at once; closing without "閉じる" keeps the stored values.
    layout(0).posX = 50;
    openEditor(0, 3);
    openLayoutWindow();
    EXPECT_EQ(lw<QLineEdit>("SeparateWidth1")->text(), "0");
    EXPECT_EQ(lw<QLineEdit>("SeparateSpace2")->text(), "0");
    EXPECT_EQ(lw<QLineEdit>("SeparateWidth2")->text(), "70");
    setWindow()->reject();
    EXPECT_EQ(layout(0).width1, 9);
    layout(0).posX = 3;
    openLayoutWindow();
    auto *width2 = lw<QLineEdit>("SeparateWidth2");
    replaceText(width2, "99");
    EXPECT_EQ(width2->text(), "73");
    EXPECT_EQ(setWindow()->state().values().width2, 73);
    EXPECT_EQ(lw<QLabel>("SepWid2Max")->text(), QStringLiteral("(最大 073)"));
    EXPECT_EQ(lw<QLabel>("PrnPosXMax")->text(), QStringLiteral("(最大 003)"));
    // posX grown past the room: three columns lose widths 1 and 3 and both gaps.
    auto *posX = lw<QLineEdit>("PrintPosX");
    replaceText(posX, "40");
    EXPECT_EQ(posX->text(), "3"); // cut to its maximum 3
    // Letters: the invalid-number message, the value stays.
    replaceText(lw<QLineEdit>("SeparateSpace1"), "x");
    ASSERT_FALSE(dialogs.messages.isEmpty());
    EXPECT_EQ(dialogs.messages.last(), QStringLiteral("'x' は正しい整数値ではありません"));
    EXPECT_EQ(lw<QLineEdit>("SeparateSpace1")->text(), "2");
    EXPECT_EQ(setWindow()->state().values().space1, 2);
    // ListSpace reacts only when left; its limit is 50.
    auto *space = lw<QLineEdit>("ListSpace");
    replaceText(space, "77");
    EXPECT_EQ(setWindow()->state().values().lineSpacing, 0);
    QTest::keyClick(space, Qt::Key_Return);
    EXPECT_EQ(space->text(), "50");
    EXPECT_EQ(setWindow()->state().values().lineSpacing, 50);
    // The arrows stay within 0..maximum.
    auto *down = lw<QToolButton>("PrintPosYDown");
    QTest::mouseClick(static_cast<QWidget *>(down), Qt::LeftButton);
    EXPECT_EQ(lw<QLineEdit>("PrintPosY")->text(), "0");
    QTest::mouseClick(static_cast<QWidget *>(lw<QToolButton>("PrintPosYUp")), Qt::LeftButton);
    EXPECT_EQ(setWindow()->state().values().posY, 1);
    pressLw("ListSetClose");
    EXPECT_EQ(layout(0).width2, 73);
    EXPECT_EQ(layout(0).posY, 1);
    EXPECT_EQ(layout(0).lineSpacing, 50);
}

TEST_F(ListEditorTest, TemplatesAreSavedUnderTheBoxesNameAndPickedBack)
{
    QTemporaryDir dir;
    window->templates().LoadTemplateFolder({ dir.path() });
    openEditor(0, 3);
    openLayoutWindow();
    replaceText(lw<QLineEdit>("SeparateWidth2"), "60");
    auto *box = lw<QComboBox>("TemplateLoad");
    box->setFocus();
    box->lineEdit()->selectAll();
    typeInto(box->lineEdit(), QStringLiteral("狭い"));
    dialogs.saveAnswer = dir.filePath("narrow.cwt");
    pressLw("TemplateSave");
    ASSERT_EQ(dialogs.saveFilters.size(), 1);
    EXPECT_EQ(dialogs.saveFilters[0], QStringLiteral("CWR List Template (*.CWT)|*.cwt#cwt"));
    ListTemplate read;
    ASSERT_EQ(ReadListTemplate(dir.filePath("narrow.cwt"), read), 0);
    EXPECT_EQ(read.name, QStringLiteral("狭い"));
    EXPECT_EQ(read.layout.width2, 60);
    EXPECT_EQ(box->count(), 1);
    EXPECT_EQ(box->currentIndex(), 0);
    // The next save proposes the current template's file name.
    dialogs.saveAnswer.clear();
    pressLw("TemplateSave");
    EXPECT_TRUE(dialogs.saveStarts.last().endsWith("/narrow.cwt"));
    // A folder templates are not read from.
    dialogs.saveAnswer = dir.filePath("no/such/folder/x.cwt");
    pressLw("TemplateSave");
    EXPECT_EQ(dialogs.messages.last(), templateFolderMessage({ dir.path() }));
    // A file that cannot be written.
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.cwt"));
    dialogs.saveAnswer = dir.filePath("taken.cwt");
    pressLw("TemplateSave");
    EXPECT_TRUE(dialogs.messages.last().startsWith(
        QStringLiteral("ファイル(") + dir.filePath("taken.cwt") + QStringLiteral(")が記録できません")));
    EXPECT_EQ(box->count(), 1);
    setWindow()->reject();

    // Picking a template sets the stored layout at once, fields and rows follow.
    ListTemplate two { QStringLiteral("two"), QStringLiteral("two.cwt"),
        { 2, 10, 5, 20, 50, 0, 4, 0, 3 } };
    ASSERT_TRUE(writeAll(dir.filePath("two.cwt"), listTemplateFileBytes(two.name, 0, two.layout)));
    window->templates().LoadTemplateFolder({ dir.path() });
    rows().append(textRow("1", "a", "b"));
    openLayoutWindow();
    box = lw<QComboBox>("TemplateLoad");
    ASSERT_EQ(box->count(), 2);
    const int index = box->findText("two");
    box->activated(index);
    EXPECT_EQ(layout(0), two.layout);
    EXPECT_EQ(lw<QLineEdit>("PrintPosX")->text(), "10");
    EXPECT_EQ(lw<QLineEdit>("SeparateWidth2")->text(), "50");
    EXPECT_TRUE(lw<QRadioButton>("SeparateNo1")->isChecked());
    EXPECT_FALSE(rows()[0].columns[2].enabled);
    EXPECT_EQ(lw<QLabel>("SepWid2Max")->text(), QStringLiteral("(最大 085)"));
    setWindow()->reject();
    EXPECT_EQ(layout(0), two.layout); // picked, kept even without "閉じる"
}

TEST_F(ListEditorTest, EndToEndRowsAndALayoutValueAreSavedAndReadBack)
{
    QTemporaryDir dir;
    openEditor(1, 3);
    pressEd("ListNew");
    typeInto(ed("ListText1"), "1");
    typeInto(ed("ListText2"), QStringLiteral("夜明けの序曲"));
    typeInto(ed("ListText3"), "3:12");
    pressEd("ListNew");
    pressEd("ListDataItem1");
    pressEd("ListNew");
    typeInto(ed("ListText2"), "Finale");
    pressEd("ListTextPos3Item2");
    openLayoutWindow();
    replaceText(lw<QLineEdit>("PrintPosY"), "12");
    pressLw("ListSetClose");
    pressEd("ListClose");
    ASSERT_TRUE(window->isVisible());
    dialogs.saveAnswer = dir.filePath("out.cwr");
    window->SaveAsMenuClick();
    ASSERT_TRUE(QFile::exists(dir.filePath("out.cwr")));

    LabelDocument doc;
    DocumentEditor editor(doc);
    SilentProgress silent;
    ASSERT_EQ(loadDocument(editor, dir.filePath("out.cwr"), silent), LoadStatus::Loaded);
    ASSERT_EQ(doc.listRows.size(), 3);
    EXPECT_EQ(doc.listRows[0].columns[1].text, QStringLiteral("夜明けの序曲"));
    EXPECT_EQ(doc.listRows[0].columns[2].text, "3:12");
    EXPECT_EQ(doc.listRows[1].kind, 1);
    EXPECT_EQ(doc.listRows[2].columns[1].text, "Finale");
    EXPECT_EQ(doc.listRows[2].columns[2].align, 3);
    EXPECT_EQ(doc.listLayout[1].posY, 12);
    EXPECT_EQ(doc.listLayout[1].width2, 87);
    EXPECT_TRUE(doc.bottom.useList);
}
