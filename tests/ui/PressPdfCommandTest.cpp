#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QMenuBar>

#include "MainWindowHarness.h"
#include "TestSupport.h"

using namespace cw;

namespace {

QAction *pressAction(TMainWindow &window)
{
    return window.findChild<QAction *>(QStringLiteral("PressPdfMenu"));
}

// The /TrimBox and /BleedBox entries of a file qpdf wrote, as they stand in it.
QStringList boxEntries(const QByteArray &pdf)
{
    QStringList out;
    for (const char *key : { "/TrimBox", "/BleedBox" }) {
        const qsizetype at = pdf.indexOf(key);
        out << (at < 0 ? QString() : QString::fromLatin1(pdf.mid(at, pdf.indexOf(']', at) - at + 1)));
    }
    return out;
}

} // namespace

// The command stands in the File menu after "名前をつけて保存" and before
// the separator above "終了".
TEST_F(MainWindowTest, ThePressCommandStandsInTheFileMenu)
{
    QMenu *file = find<QMenu>("File1");
    ASSERT_NE(file, nullptr);
    QStringList names;
    for (QAction *a : file->actions())
        names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    EXPECT_EQ(names,
        QStringList({ "NewMenu", "OpenMenu", "SaveMenu", "SaveAsMenu", "PressPdfMenu", "-",
            "ExitMenu" }));
}

// Chosen from the menu, it asks for the file's name beside the document and
// writes the sheets with the bleed the options tab shows; the first page's
// trim and bleed boxes are those of 300 dpi with a 2 mm bleed.
TEST_F(MainWindowTest, ThePressCommandAsksForTheNameAndWritesWithTheChosenBleed)
{
    QTemporaryDir dir;
    showWindow();
    auto *bleed = find<QComboBox>("Bleed");
    ASSERT_NE(bleed, nullptr);
    reveal(bleed);
    bleed->setCurrentIndex(2);
    window->document().fileName = dir.filePath("cover.cwr");
    dialogs.saveAnswer = dir.filePath("shop.pdf");
    QAction *press = pressAction(*window);
    ASSERT_NE(press, nullptr);
    press->trigger();

    EXPECT_EQ(dialogs.saveStarts, QStringList { dir.filePath("cover.pdf") });
    EXPECT_EQ(dialogs.saveFilters, QStringList { "PDF ファイル(*.pdf)|*.pdf#pdf" });
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
    const QByteArray pdf = readAll(dir.filePath("shop.pdf"));
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(boxEntries(pdf),
        QStringList({ "/TrimBox [ 53.04 52.8 738.96 391.44 ]",
            "/BleedBox [ 47.52 47.28 744.48 396.96 ]" }));
}

// A cancelled dialog writes nothing and says nothing; a file that cannot be
// written is a message naming it and why, and leaves no file.
TEST_F(MainWindowTest, ThePressCommandCancelledOrRefused)
{
    QTemporaryDir dir;
    showWindow();
    QAction *press = pressAction(*window);
    ASSERT_NE(press, nullptr);
    dialogs.saveAnswer.clear();
    press->trigger();
    EXPECT_EQ(dialogs.saveStarts, QStringList { QString() });
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    const QString missing = dir.filePath("no/such/folder/shop.pdf");
    dialogs.saveAnswer = missing;
    press->trigger();
    EXPECT_EQ(dialogs.messages,
        QStringList { QStringLiteral("ファイル(%1)が記録できません (ファイルに書き込めません)")
                          .arg(missing) });
    EXPECT_FALSE(QFile::exists(missing));
}
