// The help in both languages: the same sections under the same anchors, the
// same number of points in each, and every feature the windows offer named
// by the caption the window shows in that language.
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

const QString kSourceDir = QStringLiteral(CASEWRIGHT_SOURCE_DIR);

QString readPage(const char *name)
{
    QFile file(kSourceDir + QStringLiteral("/help/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return QString::fromUtf8(file.readAll());
}

// What a page is made of: its headings with their anchors ("h2#edit"), the
// contents' links, and the number of list points under each heading.
struct Outline
{
    QStringList headings;
    QStringList links;
    QList<int> points;
};

Outline outline(const QString &page)
{
    Outline o;
    const QRegularExpression tag(
        QStringLiteral("<(h[1-3])(?: id=\"([a-z]+)\")?>|<li>|<a href=\"#([a-z]+)\">"));
    for (const QRegularExpressionMatch &m : tag.globalMatch(page)) {
        if (!m.captured(1).isEmpty()) {
            o.headings.append(m.captured(1) + QLatin1Char('#') + m.captured(2));
            o.points.append(0);
        } else if (!m.captured(3).isEmpty()) {
            o.links.append(m.captured(3));
        } else if (!o.points.isEmpty()) {
            ++o.points.last();
        }
    }
    return o;
}

// The English of a caption, from the catalogue.
QMap<QString, QString> catalogue()
{
    QMap<QString, QString> english;
    QFile file(kSourceDir + QStringLiteral("/translations/casewright_en.ts"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("source"))
            source = xml.readElementText();
        else if (xml.name() == QLatin1String("translation"))
            english.insert(source, xml.readElementText());
    }
    return english;
}

// "元に戻す(&U)" -> "元に戻す", "&Undo" -> "Undo".
QString shownCaption(QString caption)
{
    caption.remove(QRegularExpression(QStringLiteral("\\(&.\\)$")));
    return caption.remove(QLatin1Char('&'));
}

} // namespace

TEST(HelpPages, BothLanguagesHaveTheSameSectionsAndPoints)
{
    const Outline japanese = outline(readPage("index.html"));
    const Outline english = outline(readPage("index.en.html"));
    ASSERT_GE(japanese.headings.size(), 16);
    EXPECT_EQ(japanese.headings, english.headings);
    EXPECT_EQ(japanese.links, english.links);
    EXPECT_EQ(japanese.points, english.points);
    // Every entry of the contents leads to a section of the page.
    for (const QString &link : japanese.links)
        EXPECT_TRUE(japanese.headings.contains(QStringLiteral("h2#") + link)) << link.toStdString();
}

TEST(HelpPages, EveryFeatureIsNamedByItsCaptionInEachLanguage)
{
    const QString japanese = readPage("index.html");
    const QString english = readPage("index.en.html");
    const QMap<QString, QString> translated = catalogue();
    // Undo and redo, editing on the page, the bleed, the print position
    // correction and its sheet, the album import, and the rest of the windows.
    const char *const captions[] = { "元に戻す(&U)", "やり直し(&R)", "編集(&E)", "縮小", "拡大",
        "塗り足し", "印刷位置補正", "補正用シート印刷", "タイトルにも使いますか？", "ﾘｽﾄ位置設定",
        "テンプレート", "ﾌｫﾝﾄ一括変更", "ﾃﾞﾌｫﾙﾄﾌｫﾝﾄ", "透明色", "色取込", "色選択", "ﾌｫﾝﾄ角",
        "縦横比固定", "画像サイズ調整", "印刷位置調整", "背景色設定", "背表紙同方向印刷",
        "境界線印刷", "折線印刷", "表と同じ", "背表紙(左)と同じ", "印刷位置オフセット",
        "背文字の向き", "上から下", "下から上", "プリンタ設定", "リスト内容", "ｾﾊﾟﾚｰﾄ" };
    for (const char *caption : captions) {
        const QString source = QString::fromUtf8(caption);
        ASSERT_TRUE(translated.contains(source)) << caption;
        EXPECT_TRUE(japanese.contains(shownCaption(source))) << caption;
        EXPECT_TRUE(english.contains(shownCaption(translated.value(source))))
            << caption << " = " << translated.value(source).toStdString();
    }
    // How to measure a printer: the labels of the sheet's crosses.
    EXPECT_TRUE(japanese.contains(QStringLiteral("左端から20.0mm")));
    EXPECT_TRUE(english.contains(QStringLiteral("20.0mm from left")));
}
