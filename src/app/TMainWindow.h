#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>

#include "base/DiscStock.h"
#include "canvas/PagePart.h"
#include "document/DocumentEditor.h"
#include "document/LabelDocument.h"
#include "render/CalibrationSheet.h"
#include "tracklist/ListTemplate.h"
#include "widgets/EditorHost.h"

class QAction;
class QPrinter;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace cw {

class CommitEdit;
struct CustomSheetForm;
class BackgroundPictureReader;
class HeldPictureReader;
class ColorSwatch;
class HelpWindow;
class PicturePanel;
class PreviewRefresher;
class PrinterBackend;
class ProgressSink;
class TAboutBox;
class TListWindow;
class TMessageWindow;
class UserDialogs;

// The main window: owns the one document of the run and mirrors it, one
// control per field, on five tabs. Every control event goes through one
// DocumentEditor operation; the window then re-reads the document, applies the
// enabled-state table and passes the pages to refresh to the preview.
class TMainWindow : public QMainWindow, public EditorHost
{
    Q_OBJECT
public:
    explicit TMainWindow(QWidget *parent = nullptr);
    ~TMainWindow() override;

    QWidget *hostWindow() override { return this; }
    LabelDocument &document() override { return m_document; }
    DocumentEditor &editor() override { return m_editor; }
    // The list layout templates of both surfaces.
    ListTemplateStore &templates() override { return m_templates; }
    const PrintOptions &printOptions() const { return m_options; }

    // Replace the real dialogs, preview, printer and progress window (tests,
    // and the windows that arrive later). Not owned; null restores the
    // window's own.
    void setDialogs(UserDialogs *dialogs);
    void setPreviewRefresher(PreviewRefresher *refresher);
    void setPrinterBackend(PrinterBackend *printer);
    void setProgressWindow(ProgressSink *progress);
    UserDialogs &dialogs() override;
    ProgressSink &progressWindow();

    TAboutBox *aboutBox() const { return m_about; }
    HelpWindow *helpWindow();
    // The colour the next ColorSelect starts with: the last one chosen.

    // Start-up: reads the five print options from the user's settings,
    // writing the defaults of missing ones, and sets their check boxes.
    void applySettings();
    // Opens a document (the command line, "開く"). False after a message.
    bool openDocument(const QString &path);
    // Shows every value of the document in its control and applies the
    // enabled-state table.
    void syncFromDocument();
    // The printer information of the options tab and the paper sizes of the
    // picture panels, from the document's reference resolution.
    void showPrinterInformation();
    // The surfaces' sizes in pixels, on the options tab and the picture panels.
    void showSurfaceSizes();

    // The file and help commands.
    void NewMenuClick();
    void OpenMenuClick();
    void SaveMenuClick();
    void SaveAsMenuClick();
    void ExitMenuClick();
    // "元に戻す" and "やり直し" of "編集(&E)" (and their keys in every window):
    // a field with typed text not yet taken goes back to its text first.
    void UndoMenuClick();
    void RedoMenuClick();
    QAction *undoAction() const { return m_undoAction; }
    QAction *redoAction() const { return m_redoAction; }
    void Contents1Click();
    void AboutClick();
    // The three buttons below the tabs.
    void PreviewShowClick();
    void PrinterSetClick();
    void PrintStartClick();
    // "補正用シート印刷": the calibration sheet, through the print dialog;
    // "ディスク用の調整シートを印刷": the sheet for printable discs.
    void CalibrationPrintClick(CalibrationVariant variant = CalibrationVariant::Sheet);
    class TPreviewWindow *previewWindow() const { return m_preview; }
    // A picture the preview needs is being read in the background; the
    // preview is drawn again when the read ends.
    bool picturesLoading() const;
    // Waits for those reads (the redraws they ask for come through the event
    // loop).
    void waitForPictures();
    // The track-list editor, opened by "リスト編集".
    TListWindow *listWindow() const { return m_listWindow; }
    // Asks the preview to redraw a page.
    void requestPreviewRefresh(PreviewPage page) override { refresh(page); }
    void showEdit(const EditResult &result) override { apply(result); }
    void showPreview() override { PreviewShowClick(); }
    // The free-print editor; opening it hides this window until it closes.
    class TPrintsList *printsEditor() const { return m_printsList; }
    // The inner page the "ページ" tab shows (0: none).
    int chosenPage() const;
    void openPrintsEditor(int list);
    // The editors replace this window on screen: it steps aside while one is
    // open and comes back where it stood, wherever the window manager would
    // otherwise place a window that is mapped anew.
    void stepAside() override;
    void comeBack() override;

Q_SIGNALS:
    // The list and free-print editors hook into these. `side` is 0 for the
    // front layout, 1 for the back, 2 for the disc; `list` is 0 coverPrints,
    // 1 insidePrints, 2 backPrints, 3 discPrints. A booklet's inner pages
    // follow: `side` pageListSurface(K), `list` pagePrintsList(K).
    void listEditRequested(int side);
    void printsEditRequested(int list);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // The print dialog of both print commands: the window's dialogs'.
    std::function<bool(QPrinter &, int)> printDialog();
    struct TitleControls
    {
        QCheckBox *use = nullptr;
        QLineEdit *text = nullptr;
        QButtonGroup *pos = nullptr;
        QPushButton *font = nullptr;
        QCheckBox *xUse = nullptr, *yUse = nullptr;
        CommitEdit *x = nullptr, *y = nullptr;
        CommitEdit *offset = nullptr;
        QComboBox *spineText = nullptr; // "背文字の向き" of a spine
        QCheckBox *sameAsFront = nullptr;
        QCheckBox *sameAsLeft = nullptr;
    };

    // "タイトル" or "サブタイトル" of the disc tab.
    struct DiscTextControls
    {
        QCheckBox *use = nullptr;
        QPushButton *font = nullptr;
        QLineEdit *text = nullptr;
        QButtonGroup *place = nullptr;
        CommitEdit *radius = nullptr, *angle = nullptr;
        QCheckBox *xUse = nullptr, *yUse = nullptr;
        CommitEdit *x = nullptr, *y = nullptr;
    };

    // Before the document is replaced or the program ends: a changed
    // document may be saved first ("はい" saves, asking for a name when it has
    // none; "いいえ" drops the changes). True when the command goes on.
    bool settleChanges(const QString &caption);
    // "上書き保存": false when no name was given or the save failed.
    bool saveDocument();
    void buildMenus();
    // The undo and redo keys of a window that stands in for this one.
    void addHistoryKeys(QWidget *window);
    void showHistoryActions();
    // Every window shows the document again after an undo or a redo.
    void showHistoryChange(const HistoryChange &change);
    QWidget *buildSurfaceTab(Surface s);
    QWidget *buildTitleGroup(Surface s, QWidget *parent);
    QWidget *buildSwitchGroup(Surface s, QWidget *parent);
    QWidget *buildOptionsTab();
    // "ディスク": the disc's two texts, its background colour and picture.
    QWidget *buildDiscTab();
    QWidget *buildDiscTextGroup(DiscText which, QWidget *parent);
    void bindDiscText(DiscText which);
    // The disc texts' values; a number being typed stays unless `includeFocused`.
    void showDiscTexts(bool includeFocused = false);
    // "印刷する用紙": the disc stock kept in the settings.
    QWidget *buildDiscStockGroup(QWidget *parent);
    void showDiscStock();
    // Keeps a changed stock in the settings and prints and previews with it.
    void changeDiscStock(const DiscStock &stock);
    // "カスタム用紙の設定...": the dialog describing the custom sheet, and
    // what its OK does: a good sheet kept and printed with (true), a bad one
    // refused with its problem told (false).
    void openCustomSheetDialog();
    bool takeCustomSheet(const CustomSheetForm &form);
    QWidget *buildCorrectionPanel(QWidget *parent);
    // "ブックレット" under the case type (the page count) and the "ページ"
    // tab, which shows the inner page its list chooses and how the booklet
    // is printed on both sides.
    QWidget *buildBookletRow(QWidget *parent);
    QWidget *buildPagesTab();
    void showBooklet();
    void showPageTab();
    void bindTitle(Surface s);
    void bindPicture(PicturePanel *panel);
    void setReadingOrder(Surface s, QWidget *tab);

    // Applies one operation's result: enabled states, values, refreshes.
    void apply(const EditResult &result);
    // A thing of the page moved in the preview, or opened there.
    void movedInPreview(const EditResult &result, const PagePart &part);
    void editPart(const PagePart &part);
    void bindPreviewEditing();
    // Reads huge pictures for the preview in the background.
    std::unique_ptr<BackgroundPictureReader> m_pictureBackground;
    // Keeps picture files decoded while a picture is dragged in the preview.
    std::unique_ptr<HeldPictureReader> m_pictureHold;
    void applyEnabled(const ControlStates &states);
    // The spines' "背文字の向き" lists show the direction each title runs,
    // which the print options take part in.
    void showSpineTexts();
    void refresh(PreviewPage page);
    void swatchPressed(int index);
    PrinterBackend &printer();
    void optionClicked(const QString &key, bool checked);

    LabelDocument m_document;
    DocumentEditor m_editor;
    ListTemplateStore m_templates;
    PrintOptions m_options;

    std::unique_ptr<UserDialogs> m_ownDialogs;
    UserDialogs *m_dialogs = nullptr;
    std::unique_ptr<PreviewRefresher> m_ownRefresher;
    PreviewRefresher *m_refresher = nullptr;
    std::unique_ptr<PrinterBackend> m_ownPrinter;
    PrinterBackend *m_printer = nullptr;
    TMessageWindow *m_messageWindow = nullptr;
    ProgressSink *m_progress = nullptr;
    TAboutBox *m_about = nullptr;
    HelpWindow *m_help = nullptr;
    class TPreviewWindow *m_preview = nullptr;
    TListWindow *m_listWindow = nullptr;
    class TPrintsList *m_printsList = nullptr;
    bool m_shownBefore = false;
    QPoint m_standingPos; // where the window's contents stood before an editor replaced it
    ColorRef m_lastColor = kBlack;

    QObject *m_historyKeys = nullptr;
    QAction *m_undoAction = nullptr;
    QAction *m_redoAction = nullptr;

    QTabWidget *m_tabs = nullptr;
    std::array<TitleControls, 4> m_titles;
    std::array<PicturePanel *, 5> m_pictures {}; // the case's surfaces, then the disc
    std::array<ColorSwatch *, 5> m_swatches {};
    std::array<DiscTextControls, 2> m_discTexts;
    ColorSwatch *m_discSwatch = nullptr;
    QComboBox *m_discStock = nullptr;
    QWidget *m_discLabelRow = nullptr, *m_discPrintableRow = nullptr;
    QList<QCheckBox *> m_discLabels;
    CommitEdit *m_discOuter = nullptr;
    QPushButton *m_discCustomSheet = nullptr;
    QComboBox *m_discHub = nullptr;
    QHash<QString, QCheckBox *> m_optionBoxes;
    QLabel *m_dpiX = nullptr, *m_dpiY = nullptr;
    QHash<QString, QLabel *> m_sizeLabels;
    class PrintCorrectionPanel *m_correctionPanel = nullptr;
    class CaseTypePanel *m_caseType = nullptr;
    QComboBox *m_bookletPages = nullptr, *m_bookletDuplex = nullptr;
    QLabel *m_duplexNote = nullptr;
    QComboBox *m_pageChoice = nullptr;
    ColorSwatch *m_pageSwatch = nullptr;
    PicturePanel *m_pagePicture = nullptr; // the chosen page's picture
    QCheckBox *m_pageUseList = nullptr, *m_pageUsePrints = nullptr;
};

} // namespace cw
