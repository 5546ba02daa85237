#include <gtest/gtest.h>

#include "text/LineIO.h"
#include "text/UnicodeForm.h"

using namespace cw;

TEST(UnicodeForm, OnlyCharactersOutsideCp932NeedTheUnicodeForm)
{
    struct Case
    {
        const char *text;
        bool needs;
    } cases[] = {
        { "", false },
        { "Casewright 1.06", false },
        { "表レーベル ｶﾀｶﾅ ～ ① ∑", false }, // the Windows table's extras fit
        { "Café", true },
        { "Motörhead", true },
        { "a — b", false }, // the em dash is in CP932
        { "a – b", true }, // the en dash is not
        { "😀", true },
    };
    for (const Case &c : cases)
        EXPECT_EQ(needsUnicodeForm(QString::fromUtf8(c.text)), c.needs) << c.text;
}

TEST(UnicodeForm, TheToolTipNamesEachCharacterAndItsPlace)
{
    EXPECT_TRUE(unicodeFormToolTip(QStringLiteral("表")).isEmpty());
    EXPECT_EQ(unicodeFormToolTip(QStringLiteral("Björk😀")),
        QStringLiteral("Shift-JISで保存できない文字があります: 「ö」(3文字目)、「😀」(6文字目)\n"
                       "保存するときに新しい形式(1.07)で保存するかどうかを確認します"));
}

TEST(UnicodeForm, Utf8LinesRefuseOnlyLoneSurrogates)
{
    LineWriter w(1022, TextEncoding::Utf8);
    w.writeLine(QStringLiteral("Café 😀 表"));
    w.writeLine(QString(QChar(0xDC00)) + QStringLiteral("x"), QStringLiteral("名前"));
    w.writeLine(QString(511, QChar(0xE9))); // 1,022 bytes
    w.writeLine(QString(512, QChar(0xE9)));
    EXPECT_EQ(w.data(),
        QByteArray("Caf\xc3\xa9 \xf0\x9f\x98\x80 \xe8\xa1\xa8\r\n\r\n")
            + QString(511, QChar(0xE9)).toUtf8() + "\r\n\r\n");
    ASSERT_EQ(w.problems().size(), 2);
    EXPECT_EQ(w.problems()[0].field, QStringLiteral("名前"));
    EXPECT_EQ(w.problems()[0].unencodable[0].index, 0);
    EXPECT_EQ(w.problems()[1].byteLength, 1024);
}
