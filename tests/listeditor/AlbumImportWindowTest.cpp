#include <QTemporaryDir>
#include <algorithm>

#include "ListEditorHarness.h"
#include "TestSupport.h"
#include "tracklist/AudioTags.h"

using namespace cw;

namespace {

QString cells(const TListData &row)
{
    return row.columns[0].text + QLatin1Char('|') + row.columns[1].text + QLatin1Char('|')
        + row.columns[2].text;
}

const char *const kAlbumSheet = "PERFORMER \"楽団\"\n"
                                "TITLE \"夏の記録\"\n"
                                "FILE \"album.wav\" WAVE\n"
                                "  TRACK 01 AUDIO\n"
                                "    TITLE \"始まりの曲\"\n"
                                "    INDEX 01 00:00:00\n"
                                "  TRACK 02 AUDIO\n"
                                "    TITLE \"客演\"\n"
                                "    PERFORMER \"歌手\"\n"
                                "    INDEX 01 00:03:00\n"
                                "  TRACK 03 AUDIO\n"
                                "    TITLE \"終わり\"\n"
                                "    INDEX 01 00:07:00\n";

} // namespace

// A cue sheet through "ファイル": its tracks follow the rows already there
// and the title question is asked once, with `yes` as the answer. The editor
// is closed again afterwards.
class AlbumImportWindowTest : public ListEditorTest
{
protected:
    void importAlbumSheet(bool yes)
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(makeSilentAudio(dir.filePath("album.wav"), 10));
        const QString sheet = dir.filePath("album.cue");
        ASSERT_TRUE(writeAll(sheet, QByteArray(kAlbumSheet)));
        rows().append(textRow("0", "前からある行", ""));
        openEditor(0, 3);
        dialogs.openFilesAnswer = { sheet };
        dialogs.confirmAnswer = yes;
        pressEd("FileLoad");

        ASSERT_EQ(rows().size(), 4);
        EXPECT_EQ(cells(rows()[0]), QStringLiteral("0|前からある行|"));
        EXPECT_EQ(cells(rows()[1]), QStringLiteral("1|始まりの曲|0:03"));
        EXPECT_EQ(cells(rows()[2]), QStringLiteral("2|客演 / 歌手|0:04"));
        EXPECT_EQ(cells(rows()[3]), QStringLiteral("3|終わり|0:03"));
        EXPECT_EQ(list()->rowView()->model()->rowCount(), 4);
        EXPECT_EQ(list()->editor().selected(), 3);
        EXPECT_EQ(ed<QLineEdit>("ListText2")->text(), QStringLiteral("終わり"));
        ASSERT_EQ(dialogs.questions.size(), 1u);
        EXPECT_EQ(dialogs.questions[0].text, QStringLiteral("タイトルにも使いますか？"));
        EXPECT_EQ(dialogs.questions[0].caption, QStringLiteral("確認"));
        EXPECT_TRUE(dialogs.messages.isEmpty());
        // The list redraws; on Yes both pages with titles redraw too.
        ASSERT_FALSE(refresher.pages.isEmpty());
        EXPECT_EQ(refresher.pages.first(), PreviewPage::Shown);
        EXPECT_EQ(refresher.pages.contains(PreviewPage::Front), yes);
        EXPECT_EQ(refresher.pages.contains(PreviewPage::Back), yes);
        // The main window, hidden behind the editor, holds the new titles
        // already: nothing waits for it to be shown again.
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(text("TopTitle"), yes ? QStringLiteral("夏の記録") : QString());
        EXPECT_EQ(text("LeftTitle"), yes ? QStringLiteral("楽団 / 夏の記録") : QString());
        EXPECT_EQ(checked("LeftTitleUse"), yes);

        pressEd("ListClose");
        QCoreApplication::processEvents();
        ASSERT_TRUE(window->isVisible());
    }
    QTemporaryDir dir;
};

TEST_F(AlbumImportWindowTest, YesPutsTheDiscTitlesIntoTheMainWindowsTitles)
{
    importAlbumSheet(true);
    EXPECT_EQ(text("TopTitle"), QStringLiteral("夏の記録"));
    EXPECT_EQ(text("LeftTitle"), QStringLiteral("楽団 / 夏の記録"));
    EXPECT_EQ(text("RightTitle"), QStringLiteral("楽団 / 夏の記録"));
    for (const char *use : { "TopTitleUse", "LeftTitleUse", "RightTitleUse" })
        EXPECT_TRUE(checked(use)) << use;
    EXPECT_TRUE(enabled("TopTitle"));
    EXPECT_TRUE(text("BottomTitle").isEmpty());
}

TEST_F(AlbumImportWindowTest, TheRowsAndTheirDiscTitlesAreOneStep)
{
    importAlbumSheet(true);
    DocumentHistory &history = window->editor().history();
    EXPECT_EQ(history.undoLabel(), QStringLiteral("ファイル(リスト)"));
    window->UndoMenuClick();
    ASSERT_EQ(rows().size(), 1);
    EXPECT_EQ(cells(rows()[0]), QStringLiteral("0|前からある行|"));
    for (const char *title : { "TopTitle", "LeftTitle", "RightTitle" })
        EXPECT_TRUE(text(title).isEmpty()) << title;
    EXPECT_FALSE(checked("TopTitleUse"));
    EXPECT_EQ(list()->rowView()->model()->rowCount(), 1);
    window->RedoMenuClick();
    EXPECT_EQ(rows().size(), 4);
    EXPECT_EQ(text("TopTitle"), QStringLiteral("夏の記録"));
    EXPECT_EQ(list()->rowView()->model()->rowCount(), 4);
}

TEST_F(AlbumImportWindowTest, NoLeavesTheTitlesAsTheyWere)
{
    importAlbumSheet(false);
    for (const char *title : { "TopTitle", "LeftTitle", "RightTitle", "BottomTitle" })
        EXPECT_TRUE(text(title).isEmpty()) << title;
    EXPECT_FALSE(checked("TopTitleUse"));
}

// Several FLAC files chosen at once become rows in track order; a folder
// of tags without an album asks nothing; a choice of which no file is audio
// is refused with its message and leaves the list as it was.
TEST_F(ListEditorTest, SeveralAudioFilesImportInTrackOrderAndUnreadableOnesAreRefused)
{
    QTemporaryDir dir;
    const char *titles[] = { "一曲目", "二曲目", "三曲目" };
    QStringList chosen;
    for (int i = 0; i < 3; ++i) {
        const QString path = dir.filePath(QStringLiteral("t%1.flac").arg(3 - i));
        ASSERT_TRUE(makeSilentAudio(path, 1 + i));
        AudioTags tags;
        tags.title = QString::fromUtf8(titles[i]);
        tags.track = i + 1;
        ASSERT_TRUE(writeAudioTags(path, tags));
        chosen.append(path);
    }
    std::reverse(chosen.begin(), chosen.end());
    openEditor(0, 2);
    dialogs.openFilesAnswer = chosen;
    pressEd("FileLoad");
    ASSERT_EQ(rows().size(), 3);
    EXPECT_EQ(cells(rows()[0]), QStringLiteral("1|一曲目|"));
    EXPECT_EQ(cells(rows()[2]), QStringLiteral("3|三曲目|"));
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_EQ(list()->editor().selected(), 2);

    writeAll(dir.filePath("a.flac"), "no audio");
    writeAll(dir.filePath("b.flac"), QByteArray());
    dialogs.openFilesAnswer = { dir.filePath("a.flac"), dir.filePath("b.flac") };
    refresher.pages.clear();
    pressEd("FileLoad");
    EXPECT_EQ(dialogs.messages,
        QStringList { "音声ファイルとして読めるファイルがありません\n" + dir.filePath("a.flac")
            + "\n" + dir.filePath("b.flac") });
    EXPECT_EQ(rows().size(), 3);
    EXPECT_EQ(list()->rowView()->model()->rowCount(), 3);
    EXPECT_TRUE(refresher.pages.isEmpty());
    EXPECT_TRUE(dialogs.questions.empty());
}
