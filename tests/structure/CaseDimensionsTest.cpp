// Every size of a case comes from the case format table
// (data/case-formats.json): no source file of src/ writes one of the jewel
// case's millimetre sizes or its track lists' heights as a number of its own.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

const QString kSource = QStringLiteral(CASEWRIGHT_SOURCE_DIR "/src");

// A line without its // comment and its string literals.
QString codeOf(const QString &line)
{
    static const QRegularExpression strings(QStringLiteral("\"(?:[^\"\\\\]|\\\\.)*\""));
    QString code = line;
    code.remove(strings);
    const int comment = code.indexOf(QStringLiteral("//"));
    return comment < 0 ? code : code.left(comment);
}

// "file:line: text" for every line of code in src/ that matches.
QStringList codeLinesMatching(const QRegularExpression &pattern)
{
    QStringList found;
    QDirIterator it(kSource, { "*.h", "*.cpp" }, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        int number = 0;
        while (!file.atEnd()) {
            ++number;
            const QString line = QString::fromUtf8(file.readLine());
            if (pattern.match(codeOf(line)).hasMatch())
                found << QStringLiteral("%1:%2: %3")
                             .arg(QDir(kSource).relativeFilePath(path))
                             .arg(number)
                             .arg(line.trimmed());
        }
    }
    return found;
}

} // namespace

TEST(CaseDimensions, NoCaseSizeIsWrittenOutsideTheFormatTable)
{
    // The faces, the back label, the back sheet and the preview page.
    static const QRegularExpression sizes(
        QStringLiteral("(?<![\\d.])(121\\.0|119\\.5|138\\.0|117\\.5|150\\.0|277\\.0|160\\.0)(?!\\d)"));
    const QStringList found = codeLinesMatching(sizes);
    EXPECT_TRUE(found.isEmpty()) << found.join('\n').toStdString();
}

TEST(CaseDimensions, TrackListHeightsComeFromThePanels)
{
    // The list heights (117 inside, 115 back) and widths (119, 136) handed
    // to the list drawer or returned as a printable size.
    static const QRegularExpression lists(QStringLiteral(
        "(DrawTrackList\\(.*\\b(117|115)\\b)|(return\\b.*\\b(117|115|119|136)\\b)"));
    const QStringList found = codeLinesMatching(lists);
    EXPECT_TRUE(found.isEmpty()) << found.join('\n').toStdString();
}

TEST(CaseDimensions, TheCheckSeesALiteralInCodeButNotInCommentsOrTexts)
{
    EXPECT_EQ(codeOf(QStringLiteral("double w = 121.0; // 138.0 wide")),
        QStringLiteral("double w = 121.0; "));
    EXPECT_EQ(codeOf(QStringLiteral("f(\"117.5 \\\"mm\\\"\", 2);")), QStringLiteral("f(, 2);"));
}
