// The title "フォント" buttons open the program's own font dialog.
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "fonts/ui/TFontDialogX.h"
#include "ui/MainWindowHarness.h"

using namespace cw;

namespace {

// The scripted dialogs with the real font dialog behind chooseFont.
class RealFontDialogs : public ScriptedDialogs
{
public:
    std::optional<FontSpec> chooseFont(const FontSpec &font) override { return real.chooseFont(font); }
    QtUserDialogs real { nullptr };
};

class TitleFontTest : public MainWindowTest
{
protected:
    RealFontDialogs fontDialogs;
};

} // namespace

// The front title of the demo ("ＭＳ Ｐ明朝", 20 pt, bold) with only its size
// changed keeps its face, its bold and its colour.
TEST_F(TitleFontTest, ChangingTheSizeKeepsFaceAndStyle)
{
    window->setDialogs(&fontDialogs);
    ASSERT_TRUE(window->openDocument(QStringLiteral(CASEWRIGHT_SOURCE_DIR "/examples/demo.cwr")));
    const FontSpec before = window->document().top.title.font;
    ASSERT_EQ(before.name, "ＭＳ Ｐ明朝");
    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<TFontDialogX *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto *sizes = dialog->findChild<QListWidget *>("SizeBox");
        const QList<QListWidgetItem *> row24 = sizes->findItems(QStringLiteral("24"), Qt::MatchExactly);
        ASSERT_EQ(row24.size(), 1);
        sizes->setCurrentItem(row24.first());
        dialog->findChild<QPushButton *>("OK")->click();
    });
    find<QPushButton>("TopTitleFontSet")->click();
    FontSpec expected = before;
    expected.size = 24;
    EXPECT_EQ(window->document().top.title.font, expected);
}
