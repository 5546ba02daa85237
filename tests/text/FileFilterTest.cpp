#include <gtest/gtest.h>

#include "text/FileFilter.h"

using namespace cw;

TEST(FileFilter, PairsBecomeQtEntriesWithThePatternsInBrackets)
{
    EXPECT_EQ(toQtFilters(QStringLiteral("Casewright Data(*.CWR)|*.cwr|すべてのファイル(*.*)|*.*")),
        QStringList({ QStringLiteral("Casewright Data(*.CWR) (*.cwr)"),
            QStringLiteral("すべてのファイル(*.*) (*.*)") }));
}

TEST(FileFilter, SemicolonSeparatedPatternsAreJoinedBySpaces)
{
    EXPECT_EQ(toQtFilters(QStringLiteral("画像|*.bmp;*.png; *.jpg")),
        QStringList({ QStringLiteral("画像 (*.bmp *.png *.jpg)") }));
}

TEST(FileFilter, EmptyDescriptionsAndDanglingFieldsAreHandled)
{
    EXPECT_EQ(
        toQtFilters(QStringLiteral("|*.txt")), QStringList({ QStringLiteral("*.txt (*.txt)") }));
    EXPECT_EQ(toQtFilters(QStringLiteral("Text|*.txt|Lonely")),
        QStringList({ QStringLiteral("Text (*.txt)") }));
    EXPECT_EQ(toQtFilters(QStringLiteral("Nothing|")), QStringList());
    EXPECT_EQ(toQtFilters(QString()), QStringList());
    // A leading "|" (an empty decoder list before the catch-all) is skipped.
    EXPECT_EQ(toQtFilters(QStringLiteral("|すべてのファイル(*.*)|*.*")),
        QStringList({ QStringLiteral("すべてのファイル(*.*) (*.*)") }));
}
