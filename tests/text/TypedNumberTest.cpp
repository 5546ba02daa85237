#include <gtest/gtest.h>

#include "TestSupport.h"
#include "text/TypedNumber.h"

using namespace cw;

TEST(TypedNumber, ANumberOrTheMessage)
{
    RecordingMessages messages;
    EXPECT_EQ(takeTypedInt("-12", messages), -12);
    EXPECT_EQ(takeTypedInt("+", messages), std::nullopt);
    EXPECT_EQ(takeTypedInt("", messages), std::nullopt);
    EXPECT_EQ(messages.messages,
        (QStringList { QStringLiteral("'+' は正しい整数値ではありません"),
            QStringLiteral("'' は正しい整数値ではありません") }));
}

TEST(TypedNumber, AnIntFieldTakesOnlyNumbersItCanHold)
{
    EXPECT_EQ(typedInt(" 42 "), 42);
    EXPECT_EQ(typedInt("12a"), std::nullopt);
    EXPECT_EQ(typedWholeNumber("99999999999"), 99999999999LL);
    EXPECT_EQ(typedInt("99999999999"), std::nullopt);
    EXPECT_EQ(typedInt("-2147483648"), -2147483647 - 1);
}
