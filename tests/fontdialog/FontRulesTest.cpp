// The font dialog's rules without widgets: character sets, the family list,
// sizes as typed, the TrueType mark, centring.
#include <gtest/gtest.h>

#include "fonts/BulkFontChange.h"
#include "fonts/FontCharsets.h"
#include "fonts/FontDialogModel.h"
#include "fonts/FontFamilies.h"

using namespace cw;

TEST(FontCharsets, NamesAndCodesOfTheTable)
{
    const struct
    {
        int code;
        const char *name;
    } table[] = { { 0, "欧文" }, { 1, "ﾃﾞﾌｫﾙﾄ" }, { 2, "ｼﾝﾎﾞﾙ" }, { 128, "日本語" },
        { 129, "ﾊﾝｸﾞﾙ (統合)" }, { 134, "CHINESE_GB2312" }, { 136, "CHINESE_BIG5" },
        { 130, "ﾊﾝｸﾞﾙ (組合)" }, { 161, "ｷﾞﾘｼｱ" }, { 162, "ﾄﾙｺ" }, { 163, "ﾍﾞﾄﾅﾑ" },
        { 177, "ﾍﾌﾞﾗｲ" }, { 178, "ｱﾗﾋﾞｱ" }, { 186, "ﾊﾞﾙﾄ" }, { 204, "ｷﾘﾙ" }, { 222, "ﾀｲ" },
        { 238, "中央ﾖｰﾛｯﾊﾟ" }, { 255, "OEM/DOS" }, { 77, "Mac" }, { 85, "85" }, { 200, "200" } };
    for (const auto &row : table) {
        EXPECT_EQ(charsetName(row.code), QString::fromUtf8(row.name)) << row.code;
        EXPECT_EQ(charsetCode(QString::fromUtf8(row.name)), row.code) << row.name;
    }
    EXPECT_EQ(charsetCode(QStringLiteral("12x")), 12);
    EXPECT_EQ(charsetCode(QStringLiteral("x")), 0);
}

TEST(FontCharsets, WritingSystemsMapToWindowsCodes)
{
    using W = QFontDatabase;
    const struct
    {
        QList<W::WritingSystem> systems;
        LatinCoverage latin;
        QList<int> codes;
    } table[] = {
        { { W::Latin }, {}, { 0 } },
        { { W::Latin }, { true, true, true }, { 0, 238, 162, 186 } },
        { { W::Latin }, { false, true, false }, { 0, 162 } },
        { { W::Greek, W::Cyrillic, W::Vietnamese }, {}, { 161, 204, 163 } },
        { { W::Latin, W::Japanese, W::Korean }, {}, { 0, 128, 129 } },
        { { W::SimplifiedChinese, W::TraditionalChinese }, {}, { 134, 136 } },
        { { W::Hebrew, W::Arabic, W::Thai, W::Symbol }, {}, { 177, 178, 222, 2 } },
        { { W::Devanagari, W::Japanese }, {}, { 128 } },
        { { W::Devanagari }, {}, { 1 } },
        { {}, {}, { 1 } },
    };
    for (const auto &row : table)
        EXPECT_EQ(charsetsOfWritingSystems(row.systems, row.latin), row.codes) << row.codes.first();
}

TEST(FontSizeText, ReadsLikeTheSizeField)
{
    const struct
    {
        const char *text;
        int size;
    } table[] = { { "12", 12 }, { "  12", 12 }, { "+14", 14 }, { "-3", -3 }, { "12.5", 12 },
        { "9pt", 9 }, { "abc", 0 }, { "", 0 }, { " -", 0 }, { "1 2", 1 },
        { "99999999999", 0x7FFFFFFF } };
    for (const auto &row : table)
        EXPECT_EQ(parseFontSize(QString::fromUtf8(row.text)), row.size) << row.text;
}

TEST(FontFamilyList, FoldsFoundriesKeepsBitmapSizesAndSorts)
{
    const QList<FontFaceInfo> faces = {
        { "C059 [urw]", true, true, { 0, 161 }, {} },
        { "C059 [Other]", true, true, { 0, 204 }, {} },
        { "fixed", false, false, { 0 }, { 13, 10 } },
        { "fixed [misc]", false, false, { 0, 204 }, { 8, 10 } },
        { "C059", false, false, { 0 }, { 12 } }, // a bitmap foundry of a scalable family
        { "aHershey", true, false, { 0 }, {} },
    };
    const QList<FontFamilyEntry> list = buildFamilyList(faces);
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list[0].name, "aHershey");
    EXPECT_FALSE(list[0].trueType);
    EXPECT_EQ(list[1].name, "C059");
    EXPECT_TRUE(list[1].trueType);
    ASSERT_EQ(list[1].charsets.size(), 3);
    EXPECT_EQ(list[1].charsets[2].code, 204);
    EXPECT_EQ(list[1].charsets[0].sizes, standardFontSizes());
    EXPECT_EQ(list[2].name, "fixed");
    EXPECT_FALSE(list[2].trueType);
    EXPECT_EQ(list[2].charsets[0].sizes, (QList<int> { 8, 10, 13 }));
    EXPECT_EQ(list[2].charsets[1].sizes, (QList<int> { 8, 10 }));
    EXPECT_EQ(standardFontSizes(),
        (QList<int> { 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72 }));
}

TEST(FontFamilyList, KeepsAFaceThatIsNotInstalledAndItsCharset)
{
    QList<FontFamilyEntry> list = buildFamilyList({ { "Alpha", true, true, { 0, 128 }, {} },
        { "Zeta", false, false, { 0 }, { 10, 12 } } });
    FontSpec absent = defaultFont();
    absent.name = QStringLiteral("Nowhere Sans 7");
    absent.charset = 77;
    const int row = ensureFamilyListed(list, absent);
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(row, 1); // sorted between Alpha and Zeta
    EXPECT_EQ(list[row].name, absent.name);
    EXPECT_EQ(list[row].charsets.last().code, 77);

    FontSpec zeta = absent;
    zeta.name = QStringLiteral("Zeta");
    zeta.charset = 128;
    EXPECT_EQ(ensureFamilyListed(list, zeta), 2);
    EXPECT_EQ(list[2].charsets.last(), (FontCharsetSizes { 128, { 10, 12 } }));
    EXPECT_EQ(ensureFamilyListed(list, zeta), 2);
    EXPECT_EQ(list[2].charsets.size(), 2);
}

TEST(FontFamilyList, InstalledFamiliesAreListedOnceWithTheirJapaneseSet)
{
    const QList<FontFamilyEntry> list = installedFontFamilies();
    const int row = findFamily(list, QStringLiteral("IPAPMincho"));
    ASSERT_GE(row, 0);
    EXPECT_TRUE(list[row].trueType);
    EXPECT_GE(list[row].charsetIndex(128), 0);
    EXPECT_GE(list[row].charsetIndex(0), 0);
    QStringList names;
    for (const FontFamilyEntry &e : list) {
        EXPECT_FALSE(e.name.endsWith(QLatin1Char(']'))) << e.name.toStdString();
        names.append(e.name);
    }
    EXPECT_EQ(names.removeDuplicates(), 0);

    // The extra Latin sets are read from the glyphs when the family is shown.
    FontFamilyEntry dejavu = list.value(findFamily(list, QStringLiteral("DejaVu Sans")));
    ASSERT_EQ(dejavu.name, "DejaVu Sans");
    ASSERT_FALSE(dejavu.latinToProbe.isEmpty());
    resolveCharsets(dejavu);
    EXPECT_TRUE(dejavu.latinToProbe.isEmpty());
    ASSERT_GE(dejavu.charsets.size(), 4);
    EXPECT_EQ(dejavu.charsets[0].code, 0);
    EXPECT_EQ(dejavu.charsets[1].code, 238);
    EXPECT_EQ(dejavu.charsets[2].code, 162);
    EXPECT_EQ(dejavu.charsets[3].code, 186);
    EXPECT_EQ(dejavu.charsets[3].sizes, standardFontSizes());
    const qsizetype count = dejavu.charsets.size();
    dejavu.latinToProbe = QStringList { QStringLiteral("DejaVu Sans") };
    resolveCharsets(dejavu);
    EXPECT_EQ(dejavu.charsets.size(), count);
}

TEST(FontDialogRules, TrueTypeMarkAndColours)
{
    const QImage mark = trueTypeMark(QColor(1, 2, 3));
    ASSERT_EQ(mark.size(), QSize(12, 12));
    EXPECT_EQ(mark.pixelColor(0, 0), QColor(128, 128, 128));
    EXPECT_EQ(mark.pixelColor(8, 0), QColor(1, 2, 3));
    EXPECT_EQ(mark.pixelColor(4, 3), QColor(0, 0, 0));
    EXPECT_EQ(mark.pixelColor(11, 11), QColor(1, 2, 3));
    EXPECT_EQ(mark.pixelColor(5, 11), QColor(0, 0, 0));
    EXPECT_EQ(mark.pixelColor(1, 8), QColor(128, 128, 128));
    EXPECT_EQ(fontColorCaption(3), "ｵﾘｰﾌﾞ");
    EXPECT_EQ(fontColorValue(1), 0x000080u);
    EXPECT_EQ(fontColorValue(13), 0xFF00FFu);
    EXPECT_EQ(fontColorCaption(16), "ｶｽﾀﾑ");
}

TEST(FontDialogRules, CentresOverTheOwnerHalvingTowardZero)
{
    EXPECT_EQ(centredOver(QRect(100, 50, 501, 301), QSize(248, 111)), QPoint(226, 145));
    EXPECT_EQ(centredOver(QRect(0, 0, 100, 100), QSize(248, 111)), QPoint(-74, -5));
}
