// The folders of src/ form layers: each folder includes only the folders
// below it, so there is no circle between folders and a newcomer can read
// the code from the bottom up. These tests read every #include of src/.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

// The core, bottom up: QtCore and QtGui only, every rule of the program.
const QStringList kCore = { "base", "text", "fonts", "pictures", "canvas", "tracklist",
    "document", "prints", "render" };

const QString kSource = QStringLiteral(CASEWRIGHT_SOURCE_DIR "/src");

// "render/ui/TPreviewWindow.cpp" -> "render/ui"; "cli/printer/X.cpp" -> "cli".
QString folderOf(const QString &relativePath)
{
    const QStringList parts = relativePath.split('/');
    if (parts.size() > 2 && parts[1] == QLatin1String("ui"))
        return parts[0] + QStringLiteral("/ui");
    return parts[0];
}

struct Include
{
    QString file; // relative to src/
    int line;
    QString target; // the folder included
};

QList<Include> projectIncludes()
{
    QList<Include> out;
    static const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s+\"([^\"]+)\""));
    QDirIterator it(kSource, { "*.h", "*.cpp" }, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString relative = QDir(kSource).relativeFilePath(path);
        int number = 0;
        while (!file.atEnd()) {
            ++number;
            const auto m = include.match(QString::fromUtf8(file.readLine()));
            if (!m.hasMatch() || !m.captured(1).contains('/'))
                continue;
            const QString target = folderOf(m.captured(1));
            if (QDir(kSource).exists(target.section('/', 0, 0)))
                out.append({ relative, number, target });
        }
    }
    return out;
}

// Whether `from` may include `to`.
bool allowed(const QString &from, const QString &to)
{
    if (from == to)
        return true;
    const qsizetype coreFrom = kCore.indexOf(from), coreTo = kCore.indexOf(to);
    if (coreFrom >= 0) // a core folder: only core folders below it
        return coreTo >= 0 && coreTo < coreFrom;
    if (coreTo >= 0) // anything above the core may use all of it
        return true;
    const bool toUi = to.endsWith(QLatin1String("/ui"));
    if (from == QLatin1String("widgets"))
        return false; // the shared widgets use the core only
    if (from.endsWith(QLatin1String("/ui"))) {
        // An area's windows: the shared widgets and the windows of areas
        // below their own.
        if (to == QLatin1String("widgets"))
            return true;
        return toUi && kCore.indexOf(to.section('/', 0, 0)) < kCore.indexOf(from.section('/', 0, 0));
    }
    if (from == QLatin1String("app")) // the main window: every window, never the command line
        return to != QLatin1String("cli");
    if (from == QLatin1String("cli")) // the command line, and the printer module's print target
        return to == QLatin1String("render/ui");
    return false;
}

} // namespace

TEST(FolderLayering, EveryIncludeGoesDownTheLayers)
{
    const QList<Include> includes = projectIncludes();
    ASSERT_GT(includes.size(), 300) << "the source tree was not found at " << kSource.toStdString();
    for (const Include &i : includes)
        EXPECT_TRUE(allowed(folderOf(i.file), i.target))
            << i.file.toStdString() << ":" << i.line << " includes " << i.target.toStdString();
}

TEST(FolderLayering, TheRulesThemselves)
{
    // A few fixed points of the table, so that a change of it is deliberate.
    struct Case
    {
        const char *from, *to;
        bool ok;
    };
    const Case cases[] = {
        { "document", "base", true },
        { "base", "text", false },
        { "pictures", "document", false },
        { "tracklist", "render", false },
        { "render", "tracklist", true },
        { "prints/ui", "text/ui", true },
        { "text/ui", "prints/ui", false },
        { "tracklist/ui", "app", false },
        { "widgets", "pictures/ui", false },
        { "app", "cli", false },
        { "cli", "render/ui", true },
        { "cli", "app", false },
    };
    for (const Case &c : cases)
        EXPECT_EQ(allowed(c.from, c.to), c.ok) << c.from << " -> " << c.to;
}
