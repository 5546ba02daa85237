// Every window in Japanese: no English slips in. Latin letters appear only in
// file names and patterns, units, font names, the product's name and the
// captions the program gives in Latin letters, each word on the list below.
#include <QAbstractItemView>
#include <QAbstractProxyModel>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>

#include "TestSupport.h"
#include "WindowTexts.h"
#include "app/CasewrightApplication.h"
#include "app/HelpWindow.h"
#include "app/QtUserDialogs.h"
#include "fonts/FontFamilies.h"
#include "fonts/ui/TFontChange.h"
#include "fonts/ui/TFontDialogX.h"
#include "pictures/ui/TOpenPictureDialogEx.h"
#include "pictures/ui/TTransColGet.h"
#include "prints/ui/TPrintsList.h"
#include "render/ui/TMessageWindow.h"
#include "render/ui/TPreviewWindow.h"
#include "tracklist/ui/TListSetWindow.h"
#include "tracklist/ui/TListWindow.h"
#include "ui/MainWindowHarness.h"

using namespace cw;

namespace {

// The words in Latin letters the Japanese interface may show.
const QSet<QString> &latinWords()
{
    static const QSet<QString> words = {
        // Units.
        QStringLiteral("mm"), QStringLiteral("px"), QStringLiteral("dpi"), QStringLiteral("KiB"),
        QStringLiteral("MiB"), QStringLiteral("GiB"),
        // The product's name, its windows' captions and its documents' type.
        QStringLiteral("Casewright"), QStringLiteral("Main"), QStringLiteral("List"),
        QStringLiteral("Setting"), QStringLiteral("PrintsList"), QStringLiteral("Preview"),
        QStringLiteral("Message"), QStringLiteral("Version"), QStringLiteral("Data"),
        // Captions given in Latin letters: the free-print kinds, the font
        // styles, the confirm button of the font dialog.
        QStringLiteral("Text"), QStringLiteral("Graph"), QStringLiteral("Block"),
        QStringLiteral("Regular"),
        QStringLiteral("Italic"), QStringLiteral("Bold"), QStringLiteral("OK"),
        // The names of the encoding documents are saved in and of the file
        // formats the dialogs list.
        QStringLiteral("Shift"), QStringLiteral("JIS"), QStringLiteral("BMP"),
        QStringLiteral("PNG"), QStringLiteral("JPEG"), QStringLiteral("GIF"),
        QStringLiteral("TIFF"), QStringLiteral("WebP"), QStringLiteral("HEIF"),
        QStringLiteral("AVIF"), QStringLiteral("CSV"), QStringLiteral("PDF"),
        QStringLiteral("HTML"), // the colour dialog's colour notation
        // the case types' names ("CDジュエルケース", "Blu-rayケース(12mm)")
        QStringLiteral("CD"), QStringLiteral("DVD"), QStringLiteral("Blu"), QStringLiteral("ray"),
        QStringLiteral("mm"),
    };
    return words;
}

// Font names the interface shows outside the font lists: the face the
// program starts with, and the family the font dialog is given below.
const QStringList &fontNames()
{
    static const QStringList names
        = { QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("Sans Test") };
    return names;
}

// Controls whose texts are font names (the system's and the document's),
// folder names (the file dialogs' places) or label sheets' product names.
const QSet<QString> &namingControls()
{
    static const QSet<QString> names
        = { QStringLiteral("FontBox"), QStringLiteral("FontNameEdit"), QStringLiteral("sidebar"),
              QStringLiteral("DiscStock") };
    return names;
}

bool isLatinLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= 0xFF21 && u <= 0xFF3A)
        || (u >= 0xFF41 && u <= 0xFF5A);
}

// The words of `text` in Latin letters that are not on the list. Left aside:
// access keys ("(&F)", "(F)"), font names, paths ("/home/u/写真") and file
// names and patterns ("*.cwr", "demo-cover.png").
QStringList unlistedLatin(const QString &text)
{
    static const QRegularExpression accessKey(QStringLiteral("\\(&?[A-Z]\\)"));
    static const QRegularExpression path(QStringLiteral("(^|(?<=[\\s(]))/[^\\s()|]*"));
    static const QRegularExpression fileName(
        QStringLiteral("[*\\w.-]*\\.(\\*|[A-Za-z][A-Za-z0-9]{0,4})\\b"));
    QString rest = text;
    rest.replace(accessKey, QStringLiteral(" "));
    rest = withoutMnemonics(rest);
    for (const QString &font : fontNames())
        rest.replace(font, QStringLiteral(" "));
    rest.replace(path, QStringLiteral(" "));
    rest.replace(fileName, QStringLiteral(" "));
    QStringList unlisted;
    QString word;
    auto end = [&] {
        if (!word.isEmpty() && !latinWords().contains(word))
            unlisted.append(word);
        word.clear();
    };
    for (QChar c : rest) {
        if (isLatinLetter(c) || (!word.isEmpty() && (c == u'_' || c.isDigit())))
            word.append(c);
        else
            end();
    }
    end();
    return unlisted;
}

// What a window shows in Latin letters off the list: its texts, and the
// cells of its lists and the text of its fields, which the interface fills.
QStringList englishIn(QWidget *window, int *count = nullptr)
{
    WindowTexts check(window);
    check.run();
    QList<ShownText> texts = check.texts;
    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        if (!w->isVisibleTo(window))
            continue;
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            texts.append({ widgetPath(w), QStringLiteral("field"), edit->text() });
        else if (auto *view = qobject_cast<QAbstractItemView *>(w);
                 view && view->model() && !qobject_cast<QHeaderView *>(w)) {
            const QAbstractItemModel *model = view->model();
            const QModelIndex root = view->rootIndex();
            // The first column of a file list holds the files' names.
            const auto *proxy = qobject_cast<const QAbstractProxyModel *>(model);
            const bool fileList
                = qobject_cast<const QFileSystemModel *>(proxy ? proxy->sourceModel() : model);
            for (int row = 0; row < std::min(model->rowCount(root), 200); ++row)
                for (int column = fileList ? 1 : 0; column < model->columnCount(root); ++column)
                    texts.append({ widgetPath(w), QStringLiteral("cell"),
                        model->index(row, column, root).data().toString() });
        }
    }
    QStringList english;
    for (const ShownText &t : texts) {
        if (namingControls().contains(t.where.section(QLatin1Char('/'), -1)))
            continue;
        const QStringList words = unlistedLatin(t.text);
        if (!words.isEmpty())
            english.append(
                describe(t) + QStringLiteral("  [") + words.join(u' ') + QLatin1Char(']'));
    }
    if (count)
        *count = int(texts.size());
    return english;
}

void expectJapanese(QWidget *window)
{
    ASSERT_NE(window, nullptr);
    int count = 0;
    const QStringList english = englishIn(window, &count);
    EXPECT_GT(count, 0) << widgetPath(window).toStdString();
    EXPECT_TRUE(english.isEmpty()) << english.join(QLatin1Char('\n')).toStdString();
}

// A folder holding a picture file of 1,536 bytes (1.50 KiB) and a folder, both last
// changed on 1 June 2025 at 12:34, for the file dialogs to list.
struct PictureFolder
{
    PictureFolder()
    {
        EXPECT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("写真"))));
        EXPECT_TRUE(writeAll(dir.filePath(QStringLiteral("cover.png")), QByteArray(1536, 'x')));
        // In local time, as the list shows it.
        const qint64 changed = QDateTime(QDate(2025, 6, 1), QTime(12, 34)).toSecsSinceEpoch();
        const timespec times[2] = { { time_t(changed), 0 }, { time_t(changed), 0 } };
        for (const char *name : { "cover.png", "写真" })
            EXPECT_EQ(utimensat(AT_FDCWD, QFile::encodeName(dir.filePath(QString::fromUtf8(name))),
                          times, 0),
                0)
                << name;
    }
    // Shows `dialog` in the folder, once its list has been read.
    void showIn(QFileDialog &dialog)
    {
        auto *files = dialog.findChild<QFileSystemModel *>();
        ASSERT_NE(files, nullptr);
        QSignalSpy loaded(files, &QFileSystemModel::directoryLoaded);
        dialog.setDirectory(dir.path());
        dialog.show();
        while (!loaded.contains(QVariantList { dir.path() }))
            ASSERT_TRUE(loaded.wait(10000)) << "the folder's list did not come";
    }
    QTemporaryDir dir;
};

} // namespace

// The list itself: each exception is one the interface needs, and the check
// finds English wherever it stands.
TEST(JapaneseTexts, LatinWordsOffTheListAreFound)
{
    const struct
    {
        const char *text;
        QStringList english;
    } cases[] = {
        { "横 12mm 縦 30mm", {} },
        { "幅 400px 高さ 300px", {} },
        { "300dpi", {} },
        { "Casewright [PrintsList]", {} },
        { "ファイル(/home/u/写真/demo-cover.png)は壊れているため読み込めません", {} },
        { "/home/u/Pictures", {} },
        { "ﾌｫﾝﾄ名(&F):", {} },
        { "ﾌｧｲﾙ(F)", {} },
        { "Shift-JISで保存できない文字", {} },
        { "Casewright Data(*.CWR)|*.cwr|すべてのファイル(*.*)|*.*", {} },
        { "Casewright Files(*.CWR)|*.cwr|All files(*.*)|*.*", { "Files", "All", "files" } },
        { "ＭＳ Ｐゴシック", {} },
        { "&OK", {} },
        { "Cancel", { "Cancel" } },
        { "印刷(&P)", {} },
        { "Print", { "Print" } },
        { "色を選択 (Select Color)", { "Select", "Color" } },
        { "Ｐｒｉｎｔ", { "Ｐｒｉｎｔ" } },
        { "Message2", { "Message2" } },
    };
    for (const auto &c : cases)
        EXPECT_EQ(unlistedLatin(QString::fromUtf8(c.text)), c.english) << c.text;
}

// The main window and the windows it opens, with the program's translation
// and Qt's own Japanese, as at start-up with a Japanese locale.
class JapaneseWindowsTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(installTranslations(*qApp, UiLanguage::Japanese), UiLanguage::Japanese);
        MainWindowTest::SetUp();
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        // The other tests start from the program's texts with Qt's own
        // English and the system's locale.
        installTranslations(*qApp, UiLanguage::English);
        installUiTranslation(*qApp, UiLanguage::Japanese);
    }
};

TEST_F(JapaneseWindowsTest, MainWindowAndItsTabs)
{
    showWindow();
    auto *tabs = window->findChild<QTabWidget *>(QStringLiteral("PageControl"));
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 7);
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        SCOPED_TRACE(tabs->tabText(i).toStdString());
        expectJapanese(window.get());
    }
}

TEST_F(JapaneseWindowsTest, AboutBoxAndHelp)
{
    showWindow();
    window->aboutBox()->show();
    expectJapanese(window->aboutBox());
    window->aboutBox()->close();

    HelpWindow *help = window->helpWindow();
    ASSERT_NE(help, nullptr);
    help->showContents();
    expectJapanese(help);
    help->close();
}

TEST_F(JapaneseWindowsTest, ListEditorWithARowAndLayoutWindow)
{
    showWindow();
    if (!checked("UseTopList"))
        click("UseTopList");
    click("TopListEdit");
    QCoreApplication::processEvents();
    TListWindow *list = window->listWindow();
    ASSERT_NE(list, nullptr);
    expectJapanese(list);
    auto *newRow = list->findChild<QAbstractButton *>(QStringLiteral("ListNew"));
    ASSERT_NE(newRow, nullptr);
    QTest::mouseClick(newRow, Qt::LeftButton);
    expectJapanese(list);

    auto *layoutButton = list->findChild<QAbstractButton *>(QStringLiteral("ListSet"));
    ASSERT_NE(layoutButton, nullptr);
    QTest::mouseClick(layoutButton, Qt::LeftButton);
    QCoreApplication::processEvents();
    ASSERT_NE(list->listSetWindow(), nullptr);
    expectJapanese(list->listSetWindow());
    list->listSetWindow()->reject();
    list->close();
}

TEST_F(JapaneseWindowsTest, FreePrintEditorBothTabsWithAnItemOfEachKind)
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
    auto *newItem = prints->findChild<QAbstractButton *>(QStringLiteral("ListNew"));
    ASSERT_NE(newItem, nullptr);
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        expectJapanese(prints);
        QTest::mouseClick(newItem, Qt::LeftButton);
        expectJapanese(prints);
    }
    prints->close();
}

TEST_F(JapaneseWindowsTest, Preview)
{
    showWindow();
    click("PreviewShow");
    QCoreApplication::processEvents();
    ASSERT_NE(window->previewWindow(), nullptr);
    expectJapanese(window->previewWindow());
    window->previewWindow()->close();
}

TEST_F(JapaneseWindowsTest, FontDialogBulkChangePictureDialogColourPickerAndProgress)
{
    TFontDialogX font(
        buildFamilyList({ { "Sans Test", true, true, { 0, 128 }, {} } }), defaultFont());
    font.show();
    expectJapanese(&font);

    TFontChange bulk;
    bulk.show();
    expectJapanese(&bulk);

    PictureFolder pictures;
    TOpenPictureDialogEx picture;
    ASSERT_NO_FATAL_FAILURE(pictures.showIn(picture));
    expectJapanese(&picture);
    picture.reject();

    TTransColGet colour;
    colour.show();
    expectJapanese(&colour);

    TMessageWindow progressWindow;
    progressWindow.ShowText(UiText::tr("データロード中です"));
    expectJapanese(&progressWindow);
}

// The file list of the picture dialog (Qt's file dialog) in the Japanese
// interface, under any system locale: sizes, types and dates in Japanese.
TEST_F(JapaneseWindowsTest, TheFileListWritesSizesTypesAndDatesInJapanese)
{
    PictureFolder pictures;
    TOpenPictureDialogEx picture;
    ASSERT_NO_FATAL_FAILURE(pictures.showIn(picture));
    auto *view = picture.findChild<QAbstractItemView *>(QStringLiteral("treeView"));
    ASSERT_NE(view, nullptr);
    QMap<QString, QStringList> rows;
    for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row) {
        QStringList cells;
        for (int column = 0; column < 4; ++column)
            cells << view->model()->index(row, column, view->rootIndex()).data().toString();
        rows.insert(cells.takeFirst(), cells);
    }
    EXPECT_EQ(rows.value(QStringLiteral("cover.png")),
        (QStringList { QStringLiteral("1.50 KiB"), QStringLiteral("PNG 画像"),
            QStringLiteral("2025/06/01 12:34") }));
    EXPECT_EQ(rows.value(QStringLiteral("写真")),
        (QStringList {
            QString(), QStringLiteral("フォルダ"), QStringLiteral("2025/06/01 12:34") }));
}

// Qt's own dialogs as the program opens them: opening and saving a document,
// importing list rows (listing a folder with a picture and a folder in it)
// and choosing a colour.
TEST_F(JapaneseWindowsTest, TheStockDialogs)
{
    PictureFolder folder;
    QtUserDialogs real(window.get());
    window->setDialogs(&real);
    showWindow();
    const struct
    {
        const char *what;
        const char *dialogClass;
        std::function<void()> open;
    } cases[] = {
        { "open", "QFileDialog", [&] { window->OpenMenuClick(); } },
        { "save", "QFileDialog", [&] { window->SaveAsMenuClick(); } },
        { "import", "QFileDialog", [&] { window->listWindow()->FileLoadClick(); } },
        { "colour", "QColorDialog", [&] { real.chooseColor(0x00336699); } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        if (QByteArray(c.what) == "import") {
            if (!checked("UseTopList"))
                click("UseTopList");
            click("TopListEdit");
            ASSERT_NE(window->listWindow(), nullptr);
        }
        QStringList english = { QStringLiteral("the dialog did not show") };
        // Looks at the dialog once it runs (until the call returns).
        bool returned = false;
        std::function<void()> inspect = [&] {
            QWidget *dialog = QApplication::activeModalWidget();
            if (!dialog) {
                if (!returned)
                    QTimer::singleShot(0, inspect);
                return;
            }
            if (dialog->inherits(c.dialogClass)) {
                // In the folder, once listed: it comes in one batch (the
                // dialog's filter may hide the file).
                auto *files = dialog->findChild<QFileSystemModel *>();
                if (auto *fileDialog = qobject_cast<QFileDialog *>(dialog); fileDialog && files) {
                    QSignalSpy loaded(files, &QFileSystemModel::directoryLoaded);
                    fileDialog->setDirectory(folder.dir.path());
                    while (files->rowCount(files->index(folder.dir.path())) < 1)
                        if (!loaded.wait(10000))
                            break;
                }
                english = englishIn(dialog);
            } else {
                english = { QStringLiteral("another window: ") + widgetPath(dialog) };
            }
            dialog->close();
        };
        QTimer::singleShot(0, inspect);
        c.open();
        returned = true;
        EXPECT_TRUE(english.isEmpty()) << english.join(QLatin1Char('\n')).toStdString();
    }
    window->listWindow()->close();
    window->setDialogs(&dialogs);
}

// The questions of File > New and of closing, in the message boxes the
// program shows them in.
TEST_F(JapaneseWindowsTest, TheNewAndQuitQuestions)
{
    showWindow();
    dialogs.confirmAnswer = false;
    // Nothing changed: "新規作成" and quitting ask their own questions.
    window->NewMenuClick();
    window->close();
    ASSERT_EQ(dialogs.questions.size(), 2u);
    // Changed: whether to save the changes.
    click("TopTitleUse");
    type("TopTitle", QStringLiteral("題"));
    dialogs.saveChangesAnswer = SaveChangesAnswer::Cancel;
    window->close();
    ASSERT_EQ(dialogs.saveQuestions.size(), 1u);
    QtUserDialogs real(window.get());
    auto check = [&](const ScriptedDialogs::Question &q, bool save) {
        SCOPED_TRACE(q.text.toStdString());
        QStringList english = { QStringLiteral("the question did not show") };
        QTimer::singleShot(0, [&] {
            QWidget *box = QApplication::activeModalWidget();
            if (!box)
                return;
            english = englishIn(box);
            box->close();
        });
        if (save)
            real.askSaveChanges(q.text, q.caption);
        else
            real.confirm(q.text, q.caption);
        EXPECT_TRUE(english.isEmpty()) << english.join(QLatin1Char('\n')).toStdString();
    };
    for (const ScriptedDialogs::Question &q : dialogs.questions)
        check(q, false);
    check(dialogs.saveQuestions[0], true);
}
