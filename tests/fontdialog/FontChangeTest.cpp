// The bulk font change window "一括フォント変更".
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/QtUserDialogs.h"
#include "fonts/ui/TFontChange.h"
#include "fonts/ui/TFontDialogX.h"

using namespace cw;

namespace {

const char *const kSwitches[] = { "ChangeFont", "ChangeSize", "ChangeColor", "ChangeStyle",
    "ChangeStyle2", "ChangeDefault" };

QCheckBox *box(QWidget *w, const char *name)
{
    return w->findChild<QCheckBox *>(QLatin1String(name));
}

// Runs the window over `owner`, calling `act` once it is modal.
bool runWith(TFontChange &window, QWidget *owner, const std::function<void()> &act)
{
    QTimer::singleShot(0, act);
    return window.run(owner);
}

FontSpec startFont()
{
    FontSpec f = defaultFont();
    f.name = QStringLiteral("IPAPMincho");
    f.size = 11;
    f.color = 0x008000;
    f.underline = true;
    return f;
}

} // namespace

TEST(FontChange, ControlsAndStartStates)
{
    TFontChange window;
    EXPECT_EQ(window.windowTitle(), "一括フォント変更");
    EXPECT_EQ(window.size(), QSize(248, 111));
    const char *captions[] = { "フォント変更", "サイズ変更", "色変更", "スタイル変更", "文字飾り変更",
        "ﾃﾞﾌｫﾙﾄﾌｫﾝﾄに適用" };
    for (int i = 0; i < 6; ++i) {
        QCheckBox *b = box(&window, kSwitches[i]);
        ASSERT_NE(b, nullptr) << kSwitches[i];
        EXPECT_TRUE(b->isChecked());
        EXPECT_EQ(b->text(), QString::fromUtf8(captions[i]));
        EXPECT_EQ(QAccessible::queryAccessibleInterface(b)->text(QAccessible::Name), b->text());
    }
    for (const char *name : { "FontSet", "Change", "Cancel" }) {
        auto *button = window.findChild<QPushButton *>(QLatin1String(name));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name), button->text());
    }
    EXPECT_TRUE(window.findChild<QPushButton *>("Cancel")->isDefault());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&window)->role(), QAccessible::Dialog);
    EXPECT_EQ(window.Font.Font, defaultFont());
    // With CASEWRIGHT_SCREENSHOT_DIR set, the window is written there to look at.
    const QString shots = qEnvironmentVariable("CASEWRIGHT_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
        window.show();
        window.grab().save(shots + QStringLiteral("/font-change.png"));
    }
}

TEST(FontChange, EnterRightAfterOpeningCancels)
{
    TFontChange window;
    window.Font.Font = startFont();
    EXPECT_FALSE(runWith(window, nullptr, [&] {
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : &window, Qt::Key_Return);
    }));
    EXPECT_TRUE(window.isHidden());
}

TEST(FontChange, ChangeWithoutTheFontDialogGivesTheStartFontAndKeepsSwitches)
{
    TFontChange window;
    window.Font.Font = startFont();
    ASSERT_TRUE(runWith(window, nullptr, [&] {
        QTest::mouseClick(box(&window, "ChangeColor"), Qt::LeftButton);
        QTest::mouseClick(box(&window, "ChangeDefault"), Qt::LeftButton);
        QTest::mouseClick(window.findChild<QPushButton *>("Change"), Qt::LeftButton);
    }));
    EXPECT_EQ(window.Font.Font, startFont());
    BulkFontChangeSwitches expected;
    expected.changeColor = false;
    expected.changeDefault = false;
    EXPECT_EQ(window.switches(), expected);
    // Opened again, the switches turned off stay off.
    EXPECT_FALSE(runWith(window, nullptr, [&] {
        EXPECT_FALSE(box(&window, "ChangeColor")->isChecked());
        EXPECT_TRUE(box(&window, "ChangeSize")->isChecked());
        QTest::mouseClick(window.findChild<QPushButton *>("Cancel"), Qt::LeftButton);
    }));
    EXPECT_EQ(window.switches(), expected);
}

TEST(FontChange, FontButtonRunsTheDialogAndStaysOpenEitherWay)
{
    TFontChange window;
    window.Font.Font = startFont();
    bool stillOpenAfterCancel = false, stillOpenAfterOk = false;
    auto answerFontDialog = [](const char *button, const QString &size) {
        QTimer::singleShot(0, [=] {
            auto *dialog = qobject_cast<TFontDialogX *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            auto *edit = dialog->findChild<QLineEdit *>("SizeEdit");
            edit->setText(size);
            QTest::mouseClick(dialog->findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
        });
    };
    ASSERT_TRUE(runWith(window, nullptr, [&] {
        auto *fontSet = window.findChild<QPushButton *>("FontSet");
        answerFontDialog("Cancel", QStringLiteral("30"));
        QTest::mouseClick(fontSet, Qt::LeftButton);
        stillOpenAfterCancel = window.isVisible();
        answerFontDialog("OK", QStringLiteral("24"));
        QTest::mouseClick(fontSet, Qt::LeftButton);
        stillOpenAfterOk = window.isVisible();
        QTest::mouseClick(window.findChild<QPushButton *>("Change"), Qt::LeftButton);
    }));
    EXPECT_TRUE(stillOpenAfterCancel);
    EXPECT_TRUE(stillOpenAfterOk);
    FontSpec expected = startFont();
    expected.size = 24;
    EXPECT_EQ(window.Font.Font, expected);
}

TEST(FontChange, CentredOverItsOwner)
{
    // An owner without a frame: its frame is (200, 150) 601 x 400.
    QWidget owner(nullptr, Qt::FramelessWindowHint);
    owner.setGeometry(200, 150, 601, 400);
    owner.show();
    TFontChange window;
    QRect frame;
    runWith(window, &owner, [&] {
        frame = window.frameGeometry();
        window.reject();
    });
    ASSERT_EQ(owner.frameGeometry(), QRect(200, 150, 601, 400));
    // The window's 248 x 111 in the offscreen platform's 2-pixel frame is
    // 252 x 115: 200 + (601 - 252) / 2 = 200 + 174 and 150 + (400 - 115) / 2
    // = 150 + 142, both halves truncated.
    ASSERT_EQ(frame.size(), QSize(252, 115));
    EXPECT_EQ(frame.topLeft(), QPoint(374, 292));
}

// The dialog interface keeps one window for the run: a switch turned off in
// one use is off in the next, and "変更" returns the font with the switches.
TEST(FontChange, TheDialogInterfaceReusesOneWindow)
{
    QWidget owner;
    QtUserDialogs dialogs(&owner);
    QTimer::singleShot(0, [] {
        auto *window = qobject_cast<TFontChange *>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        box(window, "ChangeSize")->setChecked(false);
        window->findChild<QPushButton *>("Change")->click();
    });
    std::optional<BulkFontChoice> first = dialogs.chooseBulkFontChange(startFont());
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->font, startFont());
    EXPECT_FALSE(first->switches.changeSize);
    QTimer::singleShot(0, [] {
        auto *window = qobject_cast<TFontChange *>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        window->findChild<QPushButton *>("Change")->click();
    });
    std::optional<BulkFontChoice> second = dialogs.chooseBulkFontChange(defaultFont());
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->font, defaultFont());
    EXPECT_EQ(second->switches, first->switches);
    EXPECT_EQ(owner.findChildren<TFontChange *>().size(), 1);
}
