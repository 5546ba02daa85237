// The free-print list's content cell is drawn in the item font's face,
// style and character set.
#include <QFontDatabase>
#include <QFontInfo>
#include <gtest/gtest.h>

#include "fonts/FontCharsets.h"
#include "fonts/FontQt.h"
#include "prints/PrintsListModel.h"

using namespace cw;

namespace {

TEST(CharsetWritingSystem, IsTheInverseOfTheCodesOfAWritingSystem)
{
    const LatinCoverage allLatin { true, true, true };
    for (int ws = QFontDatabase::Any; ws < QFontDatabase::WritingSystemsCount; ++ws) {
        const auto system = QFontDatabase::WritingSystem(ws);
        for (int code : charsetsOfWritingSystems({ system }, allLatin)) {
            if (code == 1) // "default": a writing system without a code
                continue;
            EXPECT_EQ(charsetWritingSystem(code), system) << code;
        }
    }
    for (int code : { 1, 77, 130, 255, 3, -1 })
        EXPECT_EQ(charsetWritingSystem(code), QFontDatabase::Any) << code;
}

TPrintsData textItem(const QString &face, int charset)
{
    TPrintsData item;
    item.kind = 0;
    item.text = QStringLiteral("夜明け");
    item.font.name = face;
    item.font.charset = charset;
    item.font.bold = true;
    return item;
}

bool covers(const QString &family, QFontDatabase::WritingSystem system)
{
    return QFontDatabase::writingSystems(family).contains(system);
}

TEST(PrintsContentFont, AFaceWithoutTheCharactersOfItsSetDrawsThemFromAFaceOfThatSet)
{
    ASSERT_TRUE(covers("DejaVu Sans", QFontDatabase::Latin));
    ASSERT_FALSE(covers("DejaVu Sans", QFontDatabase::Japanese));
    const QFont japanese = printsContentFont(textItem("DejaVu Sans", 128));
    ASSERT_EQ(japanese.families().size(), 2);
    EXPECT_EQ(japanese.families()[0], "DejaVu Sans");
    EXPECT_TRUE(covers(japanese.families()[1], QFontDatabase::Japanese));
    EXPECT_TRUE(japanese.bold());
    // Its own set, a face that covers the set, a set without a script.
    EXPECT_EQ(printsContentFont(textItem("DejaVu Sans", 0)).families(), QStringList { "DejaVu Sans" });
    EXPECT_EQ(printsContentFont(textItem("IPAGothic", 128)).families(), QStringList { "IPAGothic" });
    EXPECT_EQ(printsContentFont(textItem("DejaVu Sans", 1)).families(), QStringList { "DejaVu Sans" });
    // Cyrillic is the face's own; Greek too: nothing is added.
    EXPECT_EQ(printsContentFont(textItem("DejaVu Sans", 204)).families(), QStringList { "DejaVu Sans" });
}

TEST(PrintsContentFont, TheListModelGivesTheFontWithItsSet)
{
    QList<TPrintsData> list { textItem("DejaVu Sans", 128) };
    PrintsListModel model;
    model.setList(&list);
    const QFont font = model.index(0).data(PrintsListModel::ContentFontRole).value<QFont>();
    EXPECT_EQ(font.families(), printsContentFont(list[0]).families());
    EXPECT_EQ(font.families().size(), 2);
}

} // namespace
