// The English translation is complete: every text the code marks for
// translation has a finished English text in translations/casewright_en.ts,
// the file holds nothing else, each English text keeps its source's
// placeholders, and no Japanese text in the code escapes the marking.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

const QString kSourceDir = QStringLiteral(CASEWRIGHT_SOURCE_DIR);
const QString kCatalog = kSourceDir + QStringLiteral("/translations/casewright_en.ts");

struct Entry
{
    QString translation;
    QString type; // "unfinished", "vanished", "obsolete" or empty
};

// context + '\n' + source -> its translation.
QMap<QString, Entry> readCatalog(const QString &path)
{
    QMap<QString, Entry> entries;
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QXmlStreamReader xml(&file);
    QString context, source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            Entry e;
            e.type = xml.attributes().value(QLatin1String("type")).toString();
            e.translation = xml.readElementText();
            entries.insert(context + QLatin1Char('\n') + source, e);
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return entries;
}

// What lupdate finds in the code now.
QMap<QString, Entry> extractFromCode(const QString &folder)
{
    const QString ts = folder + QStringLiteral("/extracted.ts");
    QProcess lupdate;
    lupdate.start(QStringLiteral(CASEWRIGHT_LUPDATE),
        { QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
            QStringLiteral("-extensions"), QStringLiteral("cpp,h"),
            kSourceDir + QStringLiteral("/src"), QStringLiteral("-ts"), ts });
    EXPECT_TRUE(lupdate.waitForFinished(120000));
    EXPECT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
    return readCatalog(ts);
}

std::string shown(const QString &key)
{
    return key.toStdString();
}

bool isJapanese(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x3000 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF)
        || (u >= 0xFF01 && u <= 0xFF9F);
}

bool hasJapanese(const QString &s)
{
    return std::any_of(s.begin(), s.end(), isJapanese);
}

} // namespace

TEST(TranslationCatalog, EveryMarkedTextHasAFinishedEnglishTextAndNothingElseIsThere)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QMap<QString, Entry> code = extractFromCode(folder.path());
    const QMap<QString, Entry> catalog = readCatalog(kCatalog);
    // The code marks a few hundred texts; an empty extraction means lupdate
    // did not read the code, not that nothing needs translating.
    ASSERT_GT(code.size(), 250);
    for (auto it = code.cbegin(); it != code.cend(); ++it) {
        const auto found = catalog.constFind(it.key());
        ASSERT_NE(found, catalog.cend()) << "not in the catalogue: " << shown(it.key());
        EXPECT_TRUE(found->type.isEmpty()) << found->type.toStdString() << ": " << shown(it.key());
        EXPECT_FALSE(found->translation.isEmpty()) << "no English: " << shown(it.key());
        EXPECT_FALSE(hasJapanese(found->translation)) << "Japanese left: " << shown(it.key());
    }
    for (auto it = catalog.cbegin(); it != catalog.cend(); ++it)
        EXPECT_TRUE(code.contains(it.key())) << "no longer in the code: " << shown(it.key());
}

// An English text shows what its source shows: the same placeholders, the
// same number of keyboard accelerators, the same file-filter fields and the
// same line breaks at its ends.
TEST(TranslationCatalog, EnglishTextsKeepTheirSourcesPlaceholders)
{
    const QMap<QString, Entry> catalog = readCatalog(kCatalog);
    ASSERT_FALSE(catalog.isEmpty());
    const QRegularExpression placeholder(QStringLiteral("%\\d"));
    auto placeholders = [&](const QString &s) {
        QStringList found;
        for (const QRegularExpressionMatch &m : placeholder.globalMatch(s))
            found.append(m.captured());
        found.sort();
        return found;
    };
    auto accelerators
        = [](QString s) { return s.remove(QStringLiteral("&&")).count(QLatin1Char('&')); };
    for (auto it = catalog.cbegin(); it != catalog.cend(); ++it) {
        const QString source = it.key().section(QLatin1Char('\n'), 1);
        const QString &english = it->translation;
        EXPECT_EQ(placeholders(source), placeholders(english)) << shown(source);
        EXPECT_EQ(accelerators(source), accelerators(english)) << shown(source);
        EXPECT_EQ(source.count(QLatin1Char('|')), english.count(QLatin1Char('|'))) << shown(source);
        EXPECT_EQ(source.startsWith(QLatin1Char('\n')), english.startsWith(QLatin1Char('\n')))
            << shown(source);
        EXPECT_EQ(source.endsWith(QLatin1Char('\n')), english.endsWith(QLatin1Char('\n')))
            << shown(source);
    }
}

namespace {

struct Literal
{
    qsizetype start; // where the literal (its prefix included) begins
    qsizetype end; // just past its closing quote
    QString text;
};

// The string literals of a C++ source, comments and character literals
// skipped.
QList<Literal> stringLiterals(const QString &code)
{
    QList<Literal> found;
    qsizetype i = 0;
    const qsizetype n = code.size();
    while (i < n) {
        const QChar c = code[i];
        if (c == QLatin1Char('/') && i + 1 < n && code[i + 1] == QLatin1Char('/')) {
            i = code.indexOf(QLatin1Char('\n'), i);
            if (i < 0)
                break;
        } else if (c == QLatin1Char('/') && i + 1 < n && code[i + 1] == QLatin1Char('*')) {
            i = code.indexOf(QStringLiteral("*/"), i + 2);
            if (i < 0)
                break;
            i += 2;
        } else if (c == QLatin1Char('\'')) {
            // A character literal, or a digit separator (1'000).
            const bool separator = i > 0 && code[i - 1].isLetterOrNumber();
            ++i;
            if (!separator) {
                while (i < n && code[i] != QLatin1Char('\'')) {
                    if (code[i] == QLatin1Char('\\'))
                        ++i;
                    ++i;
                }
                ++i;
            }
        } else if (c == QLatin1Char('"')) {
            qsizetype start = i;
            while (start > 0 && code[start - 1].isLetterOrNumber())
                --start;
            QString text;
            ++i;
            while (i < n && code[i] != QLatin1Char('"')) {
                if (code[i] == QLatin1Char('\\'))
                    text += code[i++];
                text += code[i++];
            }
            ++i;
            found.append({ start, i, text });
        } else {
            ++i;
        }
    }
    return found;
}

// Japanese texts in the code that are never shown as the program's own:
// font face names (document content and the faces the windows use) and a
// warm-up string measured but never drawn.
const QStringList kNotShown = {
    QStringLiteral("ＭＳ Ｐゴシック"),
    QStringLiteral("ＭＳ ゴシック"),
    QStringLiteral("ＭＳ Ｐ明朝"),
    QStringLiteral("ＭＳ 明朝"),
    QStringLiteral("ＭＳ ＵＩ Ｇｏｔｈｉｃ"),
    QStringLiteral("1. トラック Track 4:12"),
};

} // namespace

TEST(TranslationCatalog, NoJapaneseTextInTheCodeEscapesTheTranslation)
{
    const QRegularExpression marked(
        QStringLiteral("(UiText::tr|QT_TRANSLATE_NOOP\\(\\s*\"cw::UiText\"\\s*,)\\s*\\(?\\s*$"));
    int checked = 0;
    QDirIterator files(kSourceDir + QStringLiteral("/src"),
        { QStringLiteral("*.cpp"), QStringLiteral("*.h") }, QDir::Files,
        QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        const QString code = QString::fromUtf8(file.readAll());
        const QList<Literal> literals = stringLiterals(code);
        for (qsizetype k = 0; k < literals.size(); ++k) {
            const Literal &l = literals[k];
            if (!hasJapanese(l.text) || kNotShown.contains(l.text))
                continue;
            ++checked;
            // Adjacent literals are one: find the first of the run.
            qsizetype first = k;
            while (first > 0
                && code.mid(
                           literals[first - 1].end, literals[first].start - literals[first - 1].end)
                       .trimmed()
                       .isEmpty())
                --first;
            const QString before = code.left(literals[first].start).right(80);
            EXPECT_TRUE(marked.match(before).hasMatch())
                << path.mid(kSourceDir.size() + 1).toStdString() << ": \"" << l.text.toStdString()
                << "\" is shown untranslated";
        }
    }
    EXPECT_GT(checked, 250);
}

// The program's English is American, as Qt's own dialogs are ("Color"): no
// English text it shows or ships (the catalogue, the help, the manual pages,
// the software-centre entry) spells a word the British way.
TEST(TranslationCatalog, EnglishTextsSpellTheAmericanWay)
{
    const QRegularExpression british(
        QStringLiteral(
            "\\b\\w*(colour|centre|metre|labelled|cancelled|grey|behaviour|favour|catalogue|"
            "dialogue|licence|organis|recognis|customis|initialis|normalis|minimis|maximis)\\w*"
            "\\b"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList texts;
    for (const Entry &e : readCatalog(kCatalog))
        texts.append(e.translation);
    ASSERT_GT(texts.size(), 250);
    for (const char *shipped : { "/help/index.en.html", "/packaging/casewright.1.in",
             "/packaging/casewright-cli.1.in", "/packaging/casewright.metainfo.xml.in" }) {
        QFile file(kSourceDir + QLatin1String(shipped));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << shipped;
        // XML comments are for the people who keep the file.
        texts.append(QString::fromUtf8(file.readAll())
                         .remove(QRegularExpression(QStringLiteral("<!--.*?-->"),
                             QRegularExpression::DotMatchesEverythingOption)));
    }
    for (const QString &text : texts)
        for (const QRegularExpressionMatch &m : british.globalMatch(text))
            ADD_FAILURE() << "British spelling: " << m.captured().toStdString();
}
