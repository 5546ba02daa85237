// Every window in English: no Japanese text is left outside the document's
// content, and each label's, button's, group's and tab's text fits its
// control. Documents and templates are the same bytes whichever language the
// interface speaks.
#include <QPushButton>
#include <QTextBrowser>

#include "WindowTexts.h"
#include "app/HelpWindow.h"
#include "base/UiText.h"
#include "document/DocumentReader.h"
#include "document/DocumentWriter.h"
#include "fonts/FontFamilies.h"
#include "fonts/ui/TFontChange.h"
#include "fonts/ui/TFontDialogX.h"
#include "pictures/ui/TOpenPictureDialogEx.h"
#include "pictures/ui/TTransColGet.h"
#include "prints/ui/TPrintsList.h"
#include "render/ui/TMessageWindow.h"
#include "render/ui/TPreviewWindow.h"
#include "tracklist/ListLayoutRules.h"
#include "tracklist/ListTemplate.h"
#include "tracklist/ui/TListSetWindow.h"
#include "tracklist/ui/TListWindow.h"
#include "ui/MainWindowHarness.h"

using namespace cw;

namespace {

bool isJapanese(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x3000 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF)
        || (u >= 0xFF01 && u <= 0xFF9F);
}

// Font face names are the document's (and the system's), not the program's.
bool isProgramJapanese(const QString &text)
{
    return std::any_of(text.begin(), text.end(), isJapanese)
        && !text.contains(QStringLiteral("ＭＳ"));
}

void expectEnglish(QWidget *window)
{
    ASSERT_NE(window, nullptr);
    WindowTexts check(window);
    check.run();
    EXPECT_GT(check.texts.size(), 0) << widgetPath(window).toStdString();
    QStringList japanese;
    for (const ShownText &t : check.texts)
        if (isProgramJapanese(t.text))
            japanese.append(describe(t));
    EXPECT_TRUE(japanese.isEmpty()) << japanese.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(check.cutOff.isEmpty()) << check.cutOff.join(QLatin1Char('\n')).toStdString();
}

} // namespace

// The main window and the windows it opens, made after the English
// translation is in, as at start-up with an English locale.
class EnglishWindowsTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(installUiTranslation(*qApp, UiLanguage::English), UiLanguage::English);
        MainWindowTest::SetUp();
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        installUiTranslation(*qApp, UiLanguage::Japanese);
    }
};

TEST_F(EnglishWindowsTest, MainWindowAndItsTabs)
{
    showWindow();
    auto *tabs = window->findChild<QTabWidget *>(QStringLiteral("PageControl"));
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 7);
    const QStringList captions = { "Front label", "Back label", "Spine (left)", "Spine (right)",
        "Disc", "Options", "Pages" };
    for (int i = 0; i < tabs->count(); ++i) {
        EXPECT_EQ(tabs->tabText(i), captions[i]);
        tabs->setCurrentIndex(i);
        SCOPED_TRACE(captions[i].toStdString());
        expectEnglish(window.get());
    }
    EXPECT_EQ(find<QPushButton>("PrintStart")->text(), QStringLiteral("Print"));
    EXPECT_EQ(find<QPushButton>("PrinterSet")->text(), QStringLiteral("Printer setup"));
    EXPECT_EQ(find<QPushButton>("PreviewShow")->text(), QStringLiteral("Preview"));
}

TEST_F(EnglishWindowsTest, AboutBoxAndHelp)
{
    showWindow();
    window->aboutBox()->show();
    expectEnglish(window->aboutBox());
    window->aboutBox()->close();

    HelpWindow *help = window->helpWindow();
    ASSERT_NE(help, nullptr);
    help->showContents();
    expectEnglish(help);
    EXPECT_TRUE(help->browser()->source().toString().endsWith(QStringLiteral("index.en.html")));
    EXPECT_FALSE(isProgramJapanese(help->browser()->toPlainText()));
    EXPECT_TRUE(help->browser()->toPlainText().contains(QStringLiteral("Front label")));
    help->close();
}

TEST_F(EnglishWindowsTest, ListEditorAndLayoutWindow)
{
    showWindow();
    if (!checked("UseTopList"))
        click("UseTopList");
    click("TopListEdit");
    QCoreApplication::processEvents();
    TListWindow *list = window->listWindow();
    ASSERT_NE(list, nullptr);
    expectEnglish(list);

    auto *layoutButton = list->findChild<QAbstractButton *>(QStringLiteral("ListSet"));
    ASSERT_NE(layoutButton, nullptr);
    QTest::mouseClick(layoutButton, Qt::LeftButton);
    QCoreApplication::processEvents();
    ASSERT_NE(list->listSetWindow(), nullptr);
    expectEnglish(list->listSetWindow());
    list->listSetWindow()->reject();
    list->close();
}

TEST_F(EnglishWindowsTest, FreePrintEditorBothTabs)
{
    showWindow();
    if (!checked("UseTop1Prints"))
        click("UseTop1Prints");
    click("Top1PrintsEdit");
    QCoreApplication::processEvents();
    TPrintsList *prints = window->printsEditor();
    ASSERT_NE(prints, nullptr);
    auto *tabs = prints->findChild<QTabWidget *>();
    ASSERT_NE(tabs, nullptr);
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        expectEnglish(prints);
    }
    prints->close();
}

TEST_F(EnglishWindowsTest, Preview)
{
    showWindow();
    click("PreviewShow");
    QCoreApplication::processEvents();
    ASSERT_NE(window->previewWindow(), nullptr);
    expectEnglish(window->previewWindow());
    window->previewWindow()->close();
}

TEST_F(EnglishWindowsTest, FontDialogBulkChangePictureDialogColourPickerAndProgress)
{
    TFontDialogX font(
        buildFamilyList({ { "Sans Test", true, true, { 0, 128 }, {} } }), defaultFont());
    font.show();
    expectEnglish(&font);

    TFontChange bulk;
    bulk.show();
    expectEnglish(&bulk);

    TOpenPictureDialogEx picture;
    picture.show();
    expectEnglish(&picture);
    picture.reject();

    TTransColGet colour;
    colour.show();
    expectEnglish(&colour);

    TMessageWindow progressWindow;
    progressWindow.ShowText(UiText::tr("データロード中です"));
    expectEnglish(&progressWindow);
}

namespace {

QByteArray documentSavedIn(UiLanguage language, const QString &path)
{
    EXPECT_EQ(installUiTranslation(*qApp, language), language);
    LabelDocument doc;
    NullMessageSink messages;
    DocumentEditor editor(doc, &messages);
    NullProgressSink progress;
    EXPECT_EQ(loadDocument(editor, path, progress), LoadStatus::Loaded);
    const QByteArray bytes = documentBytes(doc, path).data;
    installUiTranslation(*qApp, UiLanguage::Japanese);
    return bytes;
}

QByteArray templateSavedIn(UiLanguage language)
{
    EXPECT_EQ(installUiTranslation(*qApp, language), language);
    ListLayout layout;
    resetListLayout(layout, 0);
    const QByteArray bytes = listTemplateFileBytes(QStringLiteral("テンプレート"), 0, layout);
    installUiTranslation(*qApp, UiLanguage::Japanese);
    return bytes;
}

} // namespace

TEST(EnglishDocuments, AreSavedByteForByteAsWithTheJapaneseInterface)
{
    const QString demo = QStringLiteral(CASEWRIGHT_SOURCE_DIR "/examples/demo.cwr");
    const QByteArray japanese = documentSavedIn(UiLanguage::Japanese, demo);
    ASSERT_FALSE(japanese.isEmpty());
    EXPECT_EQ(documentSavedIn(UiLanguage::English, demo), japanese);

    const QByteArray japaneseTemplate = templateSavedIn(UiLanguage::Japanese);
    ASSERT_FALSE(japaneseTemplate.isEmpty());
    EXPECT_EQ(templateSavedIn(UiLanguage::English), japaneseTemplate);
}
