// Qt's own dialogs speak the interface's language: Japanese through Qt's
// Japanese translation, English as Qt writes them.
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

#include "app/CasewrightApplication.h"

using namespace cw;

namespace {

QString yesText()
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Casewright"), QString(),
        QMessageBox::Yes | QMessageBox::No);
    return box.button(QMessageBox::Yes)->text();
}

} // namespace

TEST(QtDialogsLanguage, FollowTheInterfaceBothWays)
{
    ASSERT_EQ(installTranslations(*qApp, UiLanguage::Japanese), UiLanguage::Japanese);
    EXPECT_EQ(yesText(), QStringLiteral("はい(&Y)"));
    EXPECT_EQ(UiText::tr("閉じる"), QStringLiteral("閉じる"));

    ASSERT_EQ(installTranslations(*qApp, UiLanguage::English), UiLanguage::English);
    EXPECT_EQ(yesText(), QStringLiteral("&Yes"));
    EXPECT_EQ(UiText::tr("閉じる"), QStringLiteral("Close"));

    // Once more each way: nothing is left behind by a switch.
    ASSERT_EQ(installTranslations(*qApp, UiLanguage::Japanese), UiLanguage::Japanese);
    EXPECT_EQ(yesText(), QStringLiteral("はい(&Y)"));
    ASSERT_EQ(installTranslations(*qApp, UiLanguage::English), UiLanguage::English);
    EXPECT_EQ(yesText(), QStringLiteral("&Yes"));

    // The other tests start from the program's texts with Qt's own English.
    installUiTranslation(*qApp, UiLanguage::Japanese);
    EXPECT_EQ(yesText(), QStringLiteral("&Yes"));
}
