#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "text/SafeSave.h"

using namespace cw;

namespace {

struct SafeSave : ::testing::Test
{
    QTemporaryDir dir;
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }
};

} // namespace

TEST_F(SafeSave, ReplacesAFileWithTheWholeNewContents)
{
    ASSERT_TRUE(writeAll(path("a.cwr"), "old contents that are longer"));
    EXPECT_TRUE(saveFileSafely(path("a.cwr"), "new"));
    EXPECT_EQ(readAll(path("a.cwr")), QByteArray("new"));
    EXPECT_TRUE(saveFileSafely(path("b.cwr"), QByteArray(70000, 'x')));
    EXPECT_EQ(readAll(path("b.cwr")).size(), 70000);
    EXPECT_EQ(files(), QStringList({ "a.cwr", "b.cwr" }));
}

// A disk that fills up halfway: the old file stays whole and nothing else is
// left beside it.
TEST_F(SafeSave, AFullDiskKeepsTheOldFileAndLeavesNoOther)
{
    ASSERT_TRUE(writeAll(path("a.cwt"), "old contents"));
    bool saved = true;
    {
        FullDiskAfter full(100);
        saved = saveFileSafely(path("a.cwt"), QByteArray(5000, 'n'));
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(readAll(path("a.cwt")), QByteArray("old contents"));
    EXPECT_EQ(files(), QStringList({ "a.cwt" }));
}

TEST_F(SafeSave, WhatCannotBeWrittenIsRefusedAndLeftAlone)
{
    ASSERT_TRUE(writeAll(path("ro.cwr"), "kept"));
    ASSERT_TRUE(QFile::setPermissions(path("ro.cwr"), QFileDevice::ReadOwner));
    EXPECT_FALSE(saveFileSafely(path("ro.cwr"), "new"));
    EXPECT_EQ(readAll(path("ro.cwr")), QByteArray("kept"));
    // The read-only mark holds for the superuser too, who could write the
    // file: asking agrees with saving.
    EXPECT_FALSE(fileCanBeSaved(path("ro.cwr")));

    EXPECT_FALSE(saveFileSafely(dir.path(), "x")); // a folder
    EXPECT_FALSE(fileCanBeSaved(dir.path()));
    EXPECT_FALSE(saveFileSafely(path("none/x.cwr"), "x")); // a folder that is not there
    EXPECT_FALSE(fileCanBeSaved(path("none/x.cwr")));
    // A "folder" that is a file: no one can make a file in it.
    ASSERT_TRUE(writeAll(path("plain"), "kept"));
    EXPECT_FALSE(saveFileSafely(path("plain/x.cwr"), "x"));
    EXPECT_FALSE(fileCanBeSaved(path("plain/x.cwr")));
    EXPECT_EQ(readAll(path("plain")), QByteArray("kept"));
    EXPECT_TRUE(fileCanBeSaved(path("new.cwr")));
    EXPECT_FALSE(QFile::exists(path("new.cwr"))); // asking creates nothing
}

TEST_F(SafeSave, ADeviceIsWrittenDirectlyAndAFullOneReported)
{
    if (!QFile::exists("/dev/full") || !QFile::exists("/dev/null"))
        GTEST_SKIP() << "no /dev/full or /dev/null";
    EXPECT_TRUE(saveFileSafely("/dev/null", "x"));
    EXPECT_FALSE(saveFileSafely("/dev/full", "x"));
}
