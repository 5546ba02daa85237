#pragma once

#include <QMainWindow>
#include <array>

#include "tracklist/ListEditor.h"

class QButtonGroup;
class QGroupBox;
class QHeaderView;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QAction;
class QPushButton;

namespace cw {

struct HistoryChange;
class ListRowDelegate;
class ListRowModel;
class TListSetWindow;
class EditorHost;

// "Casewright [List]": the track-list editor. It replaces the main window on
// screen while it is open and edits the document's rows in place; every
// change that affects printing asks the preview to redraw the page it shows.
class TListWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit TListWindow(EditorHost *host);
    ~TListWindow() override;

    // "リスト編集" of the front (0) or back (1) tab: the main window hides and
    // the editor opens for that surface's layout.
    void openFor(int surface);
    int surface() const { return m_surface; }
    ListEditor &editor() { return m_editor; }
    TListSetWindow *listSetWindow() const { return m_setWindow; }
    QListView *rowView() const { return m_view; }
    // "新規作成" of the main window.
    void resetControls();
    // After an undo or a redo: the rows and the selected row's controls as
    // the document now holds them.
    void documentRestored(const HistoryChange &change);

    void ListBoxClick(int row);
    void ListNewClick();
    void ListAddClick();
    void ListDeleteClick();
    void MoveUpClick();
    void MoveDownClick();
    void SeparateUseClick(int item);
    void ListDataClick(int item);
    void ListTextChange(int cell);
    void ListTextPosClick(int cell, int item);
    void ListFontClick(int cell);
    void DefaultFontSetClick(int cell);
    void FontChangeClick(int cell);
    void FileLoadClick();
    void ListSetClick();
    void PreviewShowClick();
    void ListCloseClick();
    // Ctrl+V on the row display: the clipboard's text becomes rows.
    void PasteRows();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct CellControls
    {
        QLabel *label = nullptr;
        QLineEdit *text = nullptr;
        QGroupBox *posBox = nullptr;
        QButtonGroup *pos = nullptr;
        QPushButton *font = nullptr;
    };

    QWidget *buildLowerPanel(QWidget *parent);
    void placePanels();
    // Shows the editor's state in the controls.
    void sync();
    // Runs a change of the rows with the view's own selection moves ignored.
    template<class Change> void changeRows(Change change);
    void showFieldFont(int cell);
    void refresh();
    void columnsChosen(int columnCount);
    void finishClose();

    EditorHost *m_main;
    ListEditor m_editor;
    int m_surface = 0;
    bool m_syncing = false;

    QWidget *m_upper = nullptr;
    QWidget *m_lower = nullptr;
    QHeaderView *m_header = nullptr;
    QListView *m_view = nullptr;
    ListRowModel *m_model = nullptr;
    ListRowDelegate *m_delegate = nullptr;
    QMenu *m_popup = nullptr;
    QAction *m_moveUp = nullptr;
    QAction *m_moveDown = nullptr;
    QGroupBox *m_separateBox = nullptr;
    QButtonGroup *m_separate = nullptr;
    QGroupBox *m_kindBox = nullptr;
    QButtonGroup *m_kind = nullptr;
    std::array<CellControls, 3> m_cells;
    TListSetWindow *m_setWindow = nullptr;
};

} // namespace cw
