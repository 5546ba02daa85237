// Saving a document where it cannot be saved whole: the old file stays as it
// was, the user is told, and nothing is left beside it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "TestSupport.h"
#include "document/DocumentFile.h"
#include "render/Geometry.h"

using namespace cw;

// Names in failure messages as text.
static void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

struct SaveFixture : ::testing::Test
{
    SaveFixture()
    {
        doc.dpiX = doc.dpiY = 300;
        doc.surfacePixels = surfacePixelsAt(300, 300);
    }
    QString write(const QString &name, const QByteArray &data)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(writeAll(path, data));
        return path;
    }
    QTemporaryDir dir;
    LabelDocument doc;
    RecordingMessages messages;
};

} // namespace

TEST_F(SaveFixture, AReadOnlyFileIsNotReplaced)
{
    const QString path = write("ro.cwr", "old contents");
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    EXPECT_FALSE(saveDocument(doc, path, messages));
    EXPECT_EQ(messages.messages, QStringList({ "ファイル(" + path + ")が記録できません" }));
    EXPECT_EQ(readAll(path), QByteArray("old contents"));
}

namespace {

// For its lifetime, the process acts as an ordinary user: the superuser takes
// the effective user and group of "nobody" (its real identity stays, so it
// can take its rights back); anyone else stays as they are. The superuser may
// write into any folder, so a folder's write permission is tested this way.
class WithoutSuperuserRights
{
public:
    WithoutSuperuserRights()
    {
        if (geteuid() != 0 || setegid(kNobody) != 0)
            return;
        groupDropped = true;
        userDropped = seteuid(kNobody) == 0;
    }
    ~WithoutSuperuserRights()
    {
        if (userDropped) {
            EXPECT_EQ(seteuid(0), 0);
        }
        if (groupDropped) {
            EXPECT_EQ(setegid(0), 0);
        }
    }
    bool ordinary() const { return geteuid() != 0; }

private:
    static constexpr uid_t kNobody = 65534;
    bool groupDropped = false, userDropped = false;
};

} // namespace

TEST_F(SaveFixture, AReadOnlyFolderKeepsItsFile)
{
    // The file may be written by anyone, its folder by no one: the new file
    // that would replace it cannot be made.
    const QString path = write("in.cwr", "old contents");
    const auto anyone = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    const auto enter = QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    const auto change = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    ASSERT_TRUE(QFile::setPermissions(path, anyone | change));
    ASSERT_TRUE(QFile::setPermissions(dir.path(), anyone | enter));
    bool saved = true;
    {
        WithoutSuperuserRights ordinary;
        ASSERT_TRUE(ordinary.ordinary()) << "the superuser could not give up its rights";
        saved = saveDocument(doc, path, messages);
    }
    ASSERT_TRUE(QFile::setPermissions(dir.path(), anyone | enter | QFileDevice::WriteOwner));
    EXPECT_FALSE(saved);
    EXPECT_EQ(messages.messages, QStringList({ "ファイル(" + path + ")が記録できません" }));
    EXPECT_EQ(readAll(path), QByteArray("old contents"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({ "in.cwr" }));
}

// A path through a file, as if it were a folder: no one, not even the
// superuser, can make a file there.
TEST_F(SaveFixture, AFileInPlaceOfTheFolderIsReported)
{
    const QString plain = write("plain", "kept");
    const QString path = plain + "/x.cwr";
    EXPECT_FALSE(saveDocument(doc, path, messages));
    EXPECT_EQ(messages.messages, QStringList({ "ファイル(" + path + ")が記録できません" }));
    EXPECT_EQ(readAll(plain), QByteArray("kept"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({ "plain" }));
}

TEST_F(SaveFixture, AFullDiskLeavesTheOldFileAsItWas)
{
    const QString path = write("full.cwr", "old contents");
    // Writes beyond the file-size limit fail as they would on a full disk.
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = saveDocument(doc, path, messages);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(messages.messages, QStringList({ "ファイル(" + path + ")が記録できません" }));
    EXPECT_EQ(readAll(path), QByteArray("old contents"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({ "full.cwr" }));
}

TEST_F(SaveFixture, WritingToAFullDeviceIsReported)
{
    if (!QFileInfo::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    EXPECT_FALSE(saveDocument(doc, "/dev/full", messages));
    EXPECT_EQ(messages.messages, QStringList({ "ファイル(/dev/full)が記録できません" }));
}

// A pipe has no old file to keep: the document goes through it whole, and
// the pipe stays a pipe (it is not replaced by a new file of that name).
TEST_F(SaveFixture, APipeIsWrittenThroughAndKept)
{
    const QString path = dir.filePath("pipe");
    ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    // A reader that is open already, so that opening for writing does not wait.
    QFile reader(path);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(reader.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
    EXPECT_TRUE(saveDocument(doc, path, messages));
    EXPECT_TRUE(messages.messages.isEmpty());
    const QByteArray piped = reader.readAll();
    // The same bytes as a save to a file.
    const QString file = dir.filePath("file.cwr");
    ASSERT_TRUE(saveDocument(doc, file, messages));
    EXPECT_EQ(piped, readAll(file));
    EXPECT_TRUE(piped.startsWith("<Casewright Data File>\r\n1.06\r\n"));
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden
                  | QDir::System),
        QStringList({ "file.cwr", "pipe" }));
}

TEST_F(SaveFixture, AVanishedFolderIsReported)
{
    const QString path = dir.filePath("gone/x.cwr");
    EXPECT_FALSE(saveDocument(doc, path, messages));
    EXPECT_EQ(messages.messages, QStringList({ "ファイル(" + path + ")が記録できません" }));
    EXPECT_FALSE(QFileInfo::exists(path));
}
