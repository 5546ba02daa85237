#pragma once

#include <QDialog>
#include <functional>

#include "document/DocumentHistory.h"
#include "prints/PrintsEditor.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QHeaderView;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace cw {

class ColorSwatch;
class CommitEdit;
class PreviewRefresher;
class ProgressSink;
class UserDialogs;

// The free-print editor: the items of one of the document's three lists in
// an owner-drawn list under four header sections, and the fields of the
// selected item on the tabs "テキスト", "グラフィック" and "テキストブロック"
// (the tab chooses the item's kind). Every action goes
// through PrintsEditor; the window only shows its results.
class TPrintsList : public QDialog
{
    Q_OBJECT
public:
    explicit TPrintsList(LabelDocument &document, QWidget *parent = nullptr);
    ~TPrintsList() override;

    // The services the editor uses; set before each opening.
    void setServices(UserDialogs *dialogs, ProgressSink *progress, PreviewRefresher *refresher,
        std::function<void()> showPreview);
    // Shows the editor for list 0 (cover), 1 (inside) or 2 (back), centred
    // on the screen.
    void openFor(int list);
    PrintsEditor &editor() { return m_editor; }
    QListView *listBox() const { return m_view; }
    QMenu *popupMenu() const { return m_menu; }
    // Sets the pop-up menu's entries for the selection (before it pops up).
    void updatePopupMenu();
    // After an undo or a redo: the list and the selected item's fields as
    // the document now holds them.
    void documentRestored(const HistoryChange &change);

Q_SIGNALS:
    // The editor was closed ("閉じる", the frame's close button or Escape).
    void closed();

public Q_SLOTS:
    void done(int result) override;

protected:
    // The block's text is taken when its editor loses the focus.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildList();
    QWidget *buildTextTab();
    QWidget *buildArcRow(QWidget *tab);
    QWidget *buildGraphicTab();
    QWidget *buildBlockTab();
    QWidget *buildCommands();
    QWidget *buildPaperInfo();

    // Shows the selected item in every field and applies the enabled states.
    void showItem();
    void showSelectionInList();
    void applyEnabled();
    void showPictureNumbers(const TPrintsData &item);
    void commitNumber(CommitEdit *edit, const std::function<void(int)> &set);

    void ListNewClick();
    void ListAddClick();
    void ListDeleteClick();
    void tabChanged(int index);
    void FontSelectClick();
    void DefaultFontSelectClick();
    void GraphicFileSelectClick();
    void GraphicWidth2Exit();
    void GraphicHeight2Exit();
    void TransparencyClick(bool on);
    void ColSelectClick();
    void ColGetClick();
    void BlockFileReadClick();
    // Takes the block editor's text into the item (one step when it changed).
    void commitBlockText();
    // "3行が収まりません" for what the block editor holds now.
    void showBlockCut();

    LabelDocument &m_document;
    PrintsEditor m_editor;
    UserDialogs *m_dialogs = nullptr;
    ProgressSink *m_progress = nullptr;
    std::function<void()> m_showPreview;
    bool m_filling = false;

    QHeaderView *m_header = nullptr;
    QListView *m_view = nullptr;
    QMenu *m_menu = nullptr;
    QAction *m_moveUp = nullptr, *m_moveDown = nullptr;
    QTabWidget *m_tabs = nullptr;
    QPushButton *m_new = nullptr, *m_add = nullptr, *m_delete = nullptr;

    CommitEdit *m_text = nullptr, *m_textX = nullptr, *m_textY = nullptr, *m_fontRot = nullptr;
    // The disc's text items: their place along an arc and the arc's values.
    QWidget *m_arcRow = nullptr;
    QButtonGroup *m_arcPlace = nullptr;
    CommitEdit *m_arcRadius = nullptr, *m_arcAngle = nullptr;
    QPushButton *m_fontSelect = nullptr, *m_defaultFont = nullptr;
    QLineEdit *m_fileName = nullptr;
    QPushButton *m_fileSelect = nullptr;
    QLabel *m_pixelWidth = nullptr, *m_pixelHeight = nullptr;
    QLabel *m_pixelWidthMm = nullptr, *m_pixelHeightMm = nullptr;
    CommitEdit *m_width2 = nullptr, *m_height2 = nullptr, *m_posX = nullptr, *m_posY = nullptr;
    QLabel *m_width2Mm = nullptr, *m_height2Mm = nullptr, *m_posXMm = nullptr, *m_posYMm = nullptr;
    QCheckBox *m_keepAspect = nullptr, *m_transparency = nullptr;
    ColorSwatch *m_transColor = nullptr;
    QPushButton *m_colSelect = nullptr, *m_colGet = nullptr;
    QLabel *m_paperWidthMm = nullptr, *m_paperHeightMm = nullptr;
    QLabel *m_paperWidthPx = nullptr, *m_paperHeightPx = nullptr;
    QPlainTextEdit *m_blockText = nullptr;
    CommitEdit *m_blockX = nullptr, *m_blockY = nullptr, *m_blockWidth = nullptr;
    CommitEdit *m_blockHeight = nullptr, *m_lineSpacing = nullptr;
    QComboBox *m_blockAlign = nullptr;
    QPushButton *m_blockFont = nullptr, *m_blockRead = nullptr;
    QLabel *m_blockCut = nullptr;
    QList<QWidget *> m_itemControls; // disabled without a selection
};

} // namespace cw
