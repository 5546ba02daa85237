// How the interface language follows the locale variables, and that the
// English translation built into the program is what the English interface
// shows.
#include <QMap>
#include <gtest/gtest.h>

#include "base/UiText.h"

using namespace cw;

namespace {

struct LocaleCase
{
    const char *language, *lcAll, *lcMessages, *lang;
    UiLanguage expected;
};

UiLanguage chosen(const LocaleCase &c)
{
    const QMap<QByteArray, QByteArray> env = {
        { "LANGUAGE", c.language },
        { "LC_ALL", c.lcAll },
        { "LC_MESSAGES", c.lcMessages },
        { "LANG", c.lang },
    };
    return uiLanguageFrom([&](const char *name) { return env.value(name); });
}

} // namespace

TEST(UiLanguage, FollowsTheLocaleVariablesInTheirOrder)
{
    constexpr UiLanguage ja = UiLanguage::Japanese, en = UiLanguage::English;
    const LocaleCase cases[] = {
        // Nothing set, or the C/POSIX locale in any spelling: the texts as written.
        { "", "", "", "", ja },
        { "", "", "", "C", ja },
        { "", "", "", "C.UTF-8", ja },
        { "", "", "", "C.utf8", ja },
        { "", "", "", "POSIX", ja },
        // The C locale wins over LANGUAGE, as in every gettext program.
        { "en_US", "", "", "C.UTF-8", ja },
        { "en", "C", "", "en_US.UTF-8", ja },
        // The locale alone.
        { "", "", "", "ja_JP.UTF-8", ja },
        { "", "", "", "ja_JP.eucJP", ja },
        { "", "", "", "ja", ja },
        { "", "", "", "en_US.UTF-8", en },
        { "", "", "", "en_GB", en },
        { "", "", "", "de_DE.UTF-8@euro", en },
        { "", "", "", "fr_FR", en },
        { "", "", "", "zh_CN.UTF-8", en },
        // LC_ALL before LC_MESSAGES before LANG.
        { "", "ja_JP.UTF-8", "en_US.UTF-8", "en_US.UTF-8", ja },
        { "", "en_US.UTF-8", "ja_JP.UTF-8", "ja_JP.UTF-8", en },
        { "", "", "ja_JP.UTF-8", "en_US.UTF-8", ja },
        { "", "", "en_US.UTF-8", "ja_JP.UTF-8", en },
        { "", "", "C", "ja_JP.UTF-8", ja },
        // LANGUAGE's first entry names the language in any other locale.
        { "ja", "", "", "en_US.UTF-8", ja },
        { "ja_JP:en", "", "", "de_DE.UTF-8", ja },
        { "en_US:ja", "", "", "ja_JP.UTF-8", en },
        { ":ja:en", "", "", "en_US.UTF-8", ja },
        { "de", "", "", "ja_JP.UTF-8", en },
        // "jav" (Javanese) is not Japanese.
        { "", "", "", "jv_ID.UTF-8", en },
        { "jav", "", "", "ja_JP.UTF-8", en },
    };
    for (const LocaleCase &c : cases)
        EXPECT_EQ(chosen(c), c.expected) << "LANGUAGE=" << c.language << " LC_ALL=" << c.lcAll
                                         << " LC_MESSAGES=" << c.lcMessages << " LANG=" << c.lang;
}

TEST(UiLanguage, EnglishIsBuiltInAndJapaneseTakesItAwayAgain)
{
    ASSERT_EQ(currentUiLanguage(), UiLanguage::Japanese);
    EXPECT_EQ(UiText::tr("プレビュー"), QStringLiteral("プレビュー"));

    ASSERT_EQ(installUiTranslation(*QCoreApplication::instance(), UiLanguage::English),
        UiLanguage::English);
    EXPECT_EQ(currentUiLanguage(), UiLanguage::English);
    EXPECT_EQ(UiText::tr("プレビュー"), QStringLiteral("Preview"));
    EXPECT_EQ(UiText::tr("背表紙(左)"), QStringLiteral("Spine (left)"));
    EXPECT_EQ(uiText(QStringLiteral("印刷するページがありません")),
        QStringLiteral("There is no page to print"));
    // A text with no translation stays as it is.
    EXPECT_EQ(UiText::tr("Casewright"), QStringLiteral("Casewright"));

    EXPECT_EQ(installUiTranslation(*QCoreApplication::instance(), UiLanguage::Japanese),
        UiLanguage::Japanese);
    EXPECT_EQ(currentUiLanguage(), UiLanguage::Japanese);
    EXPECT_EQ(UiText::tr("プレビュー"), QStringLiteral("プレビュー"));
}
