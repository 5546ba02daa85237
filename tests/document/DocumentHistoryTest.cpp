#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "TestSupport.h"
#include "document/DocumentEditor.h"
#include "prints/PrintsEditor.h"
#include "render/ChoosePrinter.h"
#include "render/Geometry.h"
#include "tracklist/ListEditor.h"

using namespace cw;

namespace {

const QString kPicture = QStringLiteral(CASEWRIGHT_TEST_DATA "/document/pic.bmp");

struct HistoryFixture : ::testing::Test
{
    HistoryFixture()
        : ed(doc, &messages)
        , history(ed.history())
    {
        doc.dpiX = doc.dpiY = 300;
        doc.surfacePixels = surfacePixelsAt(300, 300);
    }
    LabelDocument doc;
    RecordingMessages messages;
    RecordingProgress progress;
    DocumentEditor ed;
    DocumentHistory &history;
};

} // namespace

TEST_F(HistoryFixture, StepsAreNamedAfterTheControlAndItsTab)
{
    struct Case
    {
        std::function<void()> edit;
        QString label;
    };
    const Case cases[] = {
        { [&] { ed.setTitleText(Surface::Top, QStringLiteral("A")); },
            QStringLiteral("タイトル(表レーベル)") },
        { [&] { ed.setTitlePosMode(Surface::Bottom, TitlePosition::Top); },
            QStringLiteral("タイトル位置(裏レーベル)") },
        { [&] { ed.setTitleOffset(Surface::Left, 7); },
            QStringLiteral("印刷位置オフセット(背表紙(左))") },
        { [&] { ed.setBackgroundColor(Swatch::TopInside, 0x123456); },
            QStringLiteral("背景色設定(表レーベル(裏))") },
        { [&] { ed.setPictureSameAsLeft(true); },
            QStringLiteral("画像 背表紙(左)と同じ(背表紙(右))") },
    };
    for (const Case &c : cases) {
        c.edit();
        EXPECT_EQ(history.undoLabel(), c.label);
    }
    EXPECT_EQ(history.undoCount(), 5);
    history.undo();
    EXPECT_EQ(history.redoLabel(), QStringLiteral("画像 背表紙(左)と同じ(背表紙(右))"));
    EXPECT_EQ(history.undoLabel(), QStringLiteral("背景色設定(表レーベル(裏))"));
}

TEST_F(HistoryFixture, TypingInOneFieldIsOneStepUntilTheFieldIsLeftOrAnotherCommandRuns)
{
    for (const char *t : { "a", "ab", "abc" })
        ed.setTitleText(Surface::Top, QString::fromLatin1(t));
    EXPECT_EQ(history.undoCount(), 1);
    history.endTyping(); // the field was left
    ed.setTitleText(Surface::Top, QStringLiteral("abcd"));
    EXPECT_EQ(history.undoCount(), 2);
    ed.setTitleUse(Surface::Top, true); // another command
    ed.setTitleText(Surface::Top, QStringLiteral("abcde"));
    EXPECT_EQ(history.undoCount(), 4);
    ed.setTitleText(Surface::Left, QStringLiteral("x")); // another field
    EXPECT_EQ(history.undoCount(), 5);

    history.undo();
    history.undo();
    EXPECT_EQ(doc.top.title.text, QStringLiteral("abcd"));
    history.undo();
    history.undo();
    EXPECT_EQ(doc.top.title.text, QStringLiteral("abc"));
    history.undo();
    EXPECT_EQ(doc.top.title.text, QString());
    EXPECT_FALSE(history.canUndo());
}

TEST_F(HistoryFixture, AnUndoEndsTypingSoTheNextKeystrokeIsAStepOfItsOwn)
{
    ed.setTitleText(Surface::Top, QStringLiteral("a"));
    ed.setTitleText(Surface::Top, QStringLiteral("ab"));
    history.undo();
    history.redo();
    ed.setTitleText(Surface::Top, QStringLiteral("abc"));
    EXPECT_EQ(history.undoCount(), 2);
    EXPECT_FALSE(history.canRedo()) << "a new step drops what was undone";
}

TEST_F(HistoryFixture, AChangeCarriedByLinksIsOneStepAndUndoesOnEverySurface)
{
    ed.setTitleSameAsFront(Surface::Bottom, true);
    ed.setTitleSameAsFront(Surface::Left, true);
    ed.setTitleSameAsFront(Surface::Right, true);
    const qsizetype before = history.undoCount();
    ed.setTitleText(Surface::Top, QStringLiteral("Album"));
    EXPECT_EQ(history.undoCount(), before + 1);
    for (Surface s : kAllSurfaces)
        EXPECT_EQ(doc.surface(s).title.text, QStringLiteral("Album"));
    const HistoryChange c = history.undo();
    for (Surface s : kAllSurfaces) {
        EXPECT_EQ(doc.surface(s).title.text, QString());
        EXPECT_TRUE(c.surfaces[size_t(s)]);
    }
    EXPECT_EQ(c.pages, QList<PreviewPage>({ PreviewPage::Front, PreviewPage::Back }));

    ed.setPictureSameAsFront(true);
    ed.chooseSurfacePicture(Surface::Top, kPicture, progress);
    EXPECT_EQ(history.undoLabel(), QStringLiteral("ファイル選択(表レーベル)"));
    EXPECT_EQ(doc.bottom.picture.fileName, kPicture);
    history.undo();
    EXPECT_TRUE(doc.top.picture.fileName.isEmpty());
    EXPECT_TRUE(doc.bottom.picture.fileName.isEmpty());
    EXPECT_TRUE(doc.bottom.pictureSameAsFront);
}

TEST_F(HistoryFixture, AReplacedPictureComesBackWithoutItsFileBeingReadAgain)
{
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("first.bmp"));
    ASSERT_TRUE(QFile::copy(kPicture, copy));
    ed.chooseSurfacePicture(Surface::Left, copy, progress);
    const qint64 key = doc.left.picture.bitmap.cacheKey();
    ASSERT_FALSE(doc.left.picture.bitmap.isNull());
    const QString other = dir.filePath(QStringLiteral("second.bmp"));
    ASSERT_TRUE(QFile::copy(kPicture, other));
    ed.chooseSurfacePicture(Surface::Left, other, progress);
    ASSERT_TRUE(QFile::remove(copy));

    history.undo();
    EXPECT_EQ(doc.left.picture.fileName, copy);
    EXPECT_EQ(doc.left.picture.bitmap.cacheKey(), key) << "the same decoded picture, shared";
    history.redo();
    EXPECT_EQ(doc.left.picture.fileName, other);
    EXPECT_TRUE(messages.messages.isEmpty()) << messages.messages.join(QLatin1Char('\n')).toStdString();
}

TEST_F(HistoryFixture, RenderCachesAndUnchangedValuesMakeNoStep)
{
    ed.chooseSurfacePicture(Surface::Top, kPicture, progress);
    const qsizetype steps = history.undoCount();
    {
        EditStep step(&history, QStringLiteral("draw"));
        doc.top.picture.bitmap = doc.top.picture.bitmap.copy(0, 0, 2, 2);
        doc.top.picture.sourceRect = PixelRect { 0, 0, 2, 2 };
        for (TListData &row : doc.listRows)
            row.columns[0].enabled = !row.columns[0].enabled;
    }
    ed.setTitleUse(Surface::Top, false); // already off
    ed.setBackgroundColor(Swatch::Bottom, std::nullopt); // dialog cancelled
    EXPECT_EQ(history.undoCount(), steps);
}

TEST_F(HistoryFixture, NewAndOpenStartAnEmptyHistorySavingKeepsIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.cwr"));
    ed.setTitleText(Surface::Top, QStringLiteral("x"));
    ASSERT_TRUE(ed.save(path));
    EXPECT_EQ(history.undoCount(), 1);
    ed.resetToNew();
    EXPECT_FALSE(history.canUndo());

    ed.setTitleUse(Surface::Top, true);
    history.undo();
    EXPECT_TRUE(history.canRedo());
    ASSERT_TRUE(ed.load(path, progress));
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.canRedo());
    // A file that cannot be opened leaves the document and its history.
    ed.setTitleUse(Surface::Top, true);
    EXPECT_FALSE(ed.load(dir.filePath(QStringLiteral("missing.cwr")), progress));
    EXPECT_EQ(history.undoCount(), 1);
}

TEST_F(HistoryFixture, TheHistoryKeepsAtLeastTheLast200Steps)
{
    for (int i = 0; i < 450; ++i)
        ed.setTitleUse(Surface::Left, i % 2 == 0);
    EXPECT_EQ(history.undoCount(), 450);

    // However much the steps hold, the last 200 are kept.
    LabelDocument small;
    DocumentEditor smallEd(small);
    DocumentHistory tight(small, 1000, 1);
    for (int i = 0; i < 250; ++i) {
        EditStep step(&tight, QStringLiteral("s"));
        small.top.title.text = QString::number(i);
    }
    EXPECT_EQ(tight.undoCount(), DocumentHistory::kMinimumSteps);
    while (tight.canUndo())
        tight.undo();
    EXPECT_EQ(small.top.title.text, QStringLiteral("49"));
}

TEST(DocumentHistoryMemory, AKeystrokeStepHoldsWhatItChangedNotTheDocument)
{
    LabelDocument doc;
    DocumentEditor ed(doc);
    for (int i = 0; i < 5000; ++i) {
        TListData row;
        row.columns[1].text = QStringLiteral("Track %1 of a long album title").arg(i);
        doc.listRows.append(row);
    }
    for (int i = 0; i < 300; ++i) {
        TPrintsData item;
        item.text = QStringLiteral("Item %1").arg(i);
        doc.coverPrints.append(item);
    }
    ListEditor list(doc.listRows);
    list.setRecorder(&ed.history());
    list.open(&doc.listLayout[0]);
    PrintsEditor prints(doc);
    prints.setRecorder(&ed.history());
    prints.open(PrintsList::Cover);
    for (int i = 0; i < 1000; ++i) {
        switch (i % 3) {
        case 0:
            list.select(i);
            list.setCellText(1, QStringLiteral("typed %1").arg(i));
            break;
        case 1:
            prints.select(i % 300);
            prints.setText(QStringLiteral("typed %1").arg(i));
            break;
        default:
            ed.setTitleText(Surface::Top, QStringLiteral("typed %1").arg(i));
            break;
        }
        ed.history().endTyping();
    }
    EXPECT_EQ(ed.history().undoCount(), 1000);
    EXPECT_LE(ed.history().estimatedBytes(), 20 * 1024 * 1024);
    // Far less, in fact: a row, an item or a surface, twice, per step.
    EXPECT_LE(ed.history().estimatedBytes() / 1000, 4096);
}

TEST(DocumentHistoryLists, RowCommandsUndoToTheRowsTheyChanged)
{
    LabelDocument doc;
    DocumentEditor ed(doc);
    ListEditor list(doc.listRows);
    list.setRecorder(&ed.history());
    list.open(&doc.listLayout[0]);
    for (const char *t : { "one", "two", "three" }) {
        list.newRow();
        list.setCellText(1, QString::fromLatin1(t));
    }
    EXPECT_EQ(ed.history().undoCount(), 6);
    // Recording leaves the rows where they are: a row held by reference
    // sees the change made to it.
    const TListData &last = doc.listRows[2];
    list.setCellAlign(1, 2);
    EXPECT_EQ(last.columns[1].align, 3);
    ed.history().undo();
    EXPECT_EQ(last.columns[1].align, 1);
    list.select(0);
    list.moveDown();
    EXPECT_EQ(ed.history().undoLabel(), QStringLiteral("下へ(リスト)"));
    list.deleteRow();
    ASSERT_EQ(doc.listRows.size(), 2);
    ed.history().undo();
    ed.history().undo();
    ASSERT_EQ(doc.listRows.size(), 3);
    EXPECT_EQ(doc.listRows[0].columns[1].text, QStringLiteral("one"));
    EXPECT_EQ(doc.listRows[1].columns[1].text, QStringLiteral("two"));
    list.select(2);
    ed.history().undo(); // the text of the third row
    list.rowsRestored();
    EXPECT_EQ(list.selected(), 2) << "the selection stays while its row exists";
    EXPECT_TRUE(list.controls().cells[1].text.isEmpty());
    ed.history().undo(); // the third row
    list.rowsRestored();
    EXPECT_EQ(list.selected(), -1);
    while (ed.history().canUndo())
        ed.history().undo();
    EXPECT_TRUE(doc.listRows.isEmpty());
}

TEST_F(HistoryFixture, PrinterSetupIsOneStepThatTakesTheResolutionBackWithTheValues)
{
    class Printer600 : public PrinterBackend
    {
    public:
        bool queryResolution(int &x, int &y) override
        {
            x = y = 600;
            return true;
        }
    } printer;
    PrinterState state;
    ed.chooseSurfacePicture(Surface::Top, kPicture, progress);
    ed.setPictureWidth(Surface::Top, 1000);
    const qsizetype steps = history.undoCount();
    const int height = doc.top.picture.printHeight;
    ChoosePrinter(ed, printer, nullptr, messages, state);
    EXPECT_EQ(doc.dpiX, 600);
    EXPECT_EQ(doc.top.picture.printWidth, 2000);
    EXPECT_EQ(history.undoCount(), steps + 1);
    EXPECT_EQ(history.undoLabel(), QStringLiteral("プリンタ設定"));
    const HistoryChange c = history.undo();
    EXPECT_TRUE(c.resolution);
    EXPECT_EQ(doc.dpiX, 300);
    EXPECT_EQ(doc.surfacePixels.topWidth, surfacePixelsAt(300, 300).topWidth);
    EXPECT_EQ(doc.top.picture.printWidth, 1000);
    EXPECT_EQ(doc.top.picture.printHeight, height);
}

// A chosen file that is no readable picture gets its message and leaves the
// picture, its placement and the name of its file as they were (a name that
// no longer goes with the picture shown would be saved and lose the picture).
TEST_F(HistoryFixture, AChosenFileThatIsNoPictureLeavesThePictureAndItsName)
{
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("album.cue"));
    ASSERT_TRUE(writeAll(text, "FILE \"a.wav\" WAVE\r\n"));
    const QString empty = dir.filePath(QStringLiteral("empty.bmp"));
    ASSERT_TRUE(writeAll(empty, QByteArray()));
    for (const QString &bad : { text, empty, dir.filePath(QStringLiteral("missing.png")) }) {
        ed.setPictureSameAsFront(true);
        ed.chooseSurfacePicture(Surface::Top, kPicture, progress);
        const PicturePlacement before = doc.top.picture;
        ASSERT_FALSE(before.bitmap.isNull());
        messages.messages.clear();
        ed.chooseSurfacePicture(Surface::Top, bad, progress);
        EXPECT_EQ(messages.messages.size(), 1) << bad.toStdString();
        for (const PicturePlacement *p : { &doc.top.picture, &doc.bottom.picture }) {
            EXPECT_EQ(p->fileName, kPicture) << bad.toStdString();
            EXPECT_EQ(p->bitmap.cacheKey(), before.bitmap.cacheKey());
            EXPECT_EQ(p->pixelWidth, before.pixelWidth);
            EXPECT_EQ(p->printWidth, before.printWidth);
            EXPECT_EQ(p->posX, before.posX);
        }
    }
    // With no picture before, the surface stays without one.
    ed.chooseSurfacePicture(Surface::Left, text, progress);
    EXPECT_TRUE(doc.left.picture.fileName.isEmpty());
    EXPECT_TRUE(doc.left.picture.bitmap.isNull());
}

TEST_F(HistoryFixture, ADocumentIsChangedWhenTheHistoryStandsElsewhereThanAtTheLastSave)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.cwr"));
    EXPECT_FALSE(history.isModified()); // new
    ed.setTitleUse(Surface::Top, true);
    EXPECT_TRUE(history.isModified());
    history.undo();
    EXPECT_FALSE(history.isModified()) << "undone back to the state as opened";
    history.redo();
    EXPECT_TRUE(history.isModified());

    // Saved after "abc" was typed: typing on is a change, undoing it is none.
    for (const char *t : { "a", "ab", "abc" })
        ed.setTitleText(Surface::Top, QString::fromLatin1(t));
    ASSERT_TRUE(ed.save(path));
    EXPECT_FALSE(history.isModified());
    ed.setTitleText(Surface::Top, QStringLiteral("abcd"));
    EXPECT_TRUE(history.isModified());
    EXPECT_EQ(history.undoCount(), 3) << "the typing after the save is a step of its own";
    history.undo();
    EXPECT_FALSE(history.isModified());
    EXPECT_EQ(doc.top.title.text, QStringLiteral("abc"));
    history.undo();
    EXPECT_TRUE(history.isModified()) << "undone past the save";
    history.redo();
    EXPECT_FALSE(history.isModified());

    // Undone past the save and changed otherwise: the saved state is gone.
    history.undo();
    ed.setTitleUse(Surface::Left, true);
    history.undo();
    EXPECT_TRUE(history.isModified());

    // A value set again to what it was makes no step and no change.
    ASSERT_TRUE(ed.save(path));
    ed.setTitleUse(Surface::Left, false);
    EXPECT_FALSE(history.isModified());

    // A failed save keeps the document changed.
    ed.setTitleUse(Surface::Right, true);
    EXPECT_FALSE(ed.save(dir.filePath(QStringLiteral("no/such/folder/x.cwr"))));
    EXPECT_TRUE(history.isModified());

    // Opening and "新規作成" start unchanged.
    ASSERT_TRUE(ed.load(path, progress));
    EXPECT_FALSE(history.isModified());
    ed.setTitleUse(Surface::Right, true);
    ed.resetToNew();
    EXPECT_FALSE(history.isModified());
}

TEST_F(HistoryFixture, TheSavedStateStaysKnownWhenOlderStepsAreDropped)
{
    LabelDocument small;
    DocumentHistory tight(small, DocumentHistory::kMinimumSteps, 1);
    auto change = [&](int i) {
        EditStep step(&tight, QStringLiteral("s"));
        small.top.title.text = QString::number(i);
    };
    change(0);
    tight.markSaved();
    for (int i = 1; i <= DocumentHistory::kMinimumSteps; ++i)
        change(i); // the saved step is dropped by the last one
    EXPECT_EQ(tight.undoCount(), DocumentHistory::kMinimumSteps);
    EXPECT_TRUE(tight.isModified());
    while (tight.canUndo())
        tight.undo();
    EXPECT_EQ(small.top.title.text, QStringLiteral("0"));
    EXPECT_FALSE(tight.isModified()) << "back at the saved state";

    // Saved with nothing to undo, then the oldest steps dropped: undoing all
    // that is left does not reach the saved state.
    tight.clear();
    tight.markSaved();
    for (int i = 1; i <= DocumentHistory::kMinimumSteps + 1; ++i)
        change(i);
    while (tight.canUndo())
        tight.undo();
    EXPECT_EQ(small.top.title.text, QStringLiteral("1"));
    EXPECT_TRUE(tight.isModified());
}
