#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>
#include <optional>

#include "base/EditSteps.h"
#include "base/UserPrompts.h"
#include "fonts/BulkFontChange.h"
#include "tracklist/AlbumImport.h"
#include "tracklist/ListImport.h"
#include "tracklist/ListRows.h"

namespace cw {

// The list editor's rules, without widgets: which row is selected, what its
// controls show and whether they are enabled, and what every command does to
// the rows. The window binds its controls to this state and re-reads it after
// each operation.

// The controls of one cell: its label, text field, alignment group and
// "フォント" button share one enabled state.
struct ListCellControls
{
    bool enabled = false;
    QString text;
    int alignItem = 0; // 0 "左寄せ", 1 "中央", 2 "右寄せ"; -1 none checked
    FontSpec font = defaultFont(); // the cell-font dialog FontSet k
};

struct ListEditorControls
{
    bool separateEnabled = false; // SeparateUse
    int separateItem = 0; // 0 "する", 1 "しない"
    bool kindEnabled = false; // ListData
    int kindItem = 0; // 0 "文章", 1 "ｾﾊﾟﾚｰﾀ"; -1 none checked
    std::array<ListCellControls, 3> cells;
};

class ListEditor
{
public:
    explicit ListEditor(QList<TListData> &rows);

    QList<TListData> &rows() { return m_rows; }
    const QList<TListData> &rows() const { return m_rows; }

    // Where the commands record their changes (each command is one step; a
    // cell's text typed on is one step until the field is left). Null records
    // nothing.
    void setRecorder(EditRecorder *recorder) { m_recorder = recorder; }
    EditRecorder *recorder() const { return m_recorder; }
    // The rows were replaced from outside (undo, redo): the cell flags follow
    // the column count as on opening, and a selected row that still exists
    // is shown again without being written to.
    void rowsRestored();

    // Opening the window for a surface whose layout is `layout` (kept: the
    // column count is read from it whenever a rule needs it): the rows' flags
    // are recomputed for its column count and no row is selected.
    void open(const ListLayout *layout);
    int columnCount() const;

    qsizetype selected() const { return m_selected; }
    // Showing a row (a click, and after each command that selects one).
    // Out-of-range indexes select nothing.
    void select(qsizetype index);
    void selectNone();

    const ListEditorControls &controls() const { return m_controls; }
    ListEditorDefaults &defaults() { return m_defaults; }
    const ListEditorDefaults &defaults() const { return m_defaults; }

    // Commands. Each returns true when it changed the rows.
    bool newRow(); // "新規"
    bool insertRow(); // "追加": only with a selected row
    bool deleteRow(); // "削除": only with a selected row
    bool canMoveUp() const;
    bool canMoveDown() const;
    bool moveUp(); // "上へ"
    bool moveDown(); // "下へ"
    bool setSeparate(int item); // SeparateUse clicked: 0 "する", 1 "しない"
    bool setKind(int item); // ListData clicked: 0 "文章", 1 "ｾﾊﾟﾚｰﾀ"
    bool setCellText(int cell, const QString &text); // ListText k, every keystroke
    bool setCellAlign(int cell, int item); // ListTextPos k clicked
    bool setCellFont(int cell, const FontSpec &font); // "フォント" k confirmed
    bool setDefaultFont(int cell, const FontSpec &font); // "ﾃﾞﾌｫﾙﾄﾌｫﾝﾄ" k confirmed
    bool bulkFontChange(int cell, const BulkFontChoice &choice); // "ﾌｫﾝﾄ一括変更" k
    // "ファイル" with the chosen paths (see importListSources): nothing after
    // a message (rows unchanged), else the outcome, whose rows have been
    // appended; the last new row is then selected.
    std::optional<ListImportOutcome> importSources(const QStringList &paths, MessageSink &messages);
    // Appends rows for lines already split into fields (the paste), as the
    // import makes them; the last new row is selected.
    int appendLines(const QList<ImportFields> &lines);

    // The layout window's column choice: the rows' cell-1 and cell-3 flags
    // and, with a row selected, the cell-1 and cell-3 controls and the
    // "ｾﾊﾟﾚｰﾄ" choice follow the count.
    void applyColumnChoice(int columnCount);

    // "新規作成" of the main window: texts emptied, choices back to their
    // first items and disabled, no row selected.
    void reset();

private:
    TListData *selectedRow();
    void setCell(int cell, bool on, bool withFlag);
    void showRow(qsizetype index);

    QList<TListData> &m_rows;
    EditRecorder *m_recorder = nullptr;
    const ListLayout *m_layout = nullptr;
    qsizetype m_selected = -1;
    ListEditorControls m_controls;
    ListEditorDefaults m_defaults;
};

// ---- Row display --------------------------------------------------------------

// The seven header sections and their start widths in pixels.
constexpr int kListSectionCount = 7;
extern const std::array<const char *, kListSectionCount> kListSectionTitles;
extern const std::array<int, kListSectionCount> kListSectionWidths;
constexpr int kListLineHeight = 12;

// What one line of the row display shows in each section: "する"/"しない",
// then for each cell its text (or 20 hyphens when switched off) and its
// position ("左寄せ", "中央", "右寄せ", empty for other values; 6 hyphens when
// switched off).
std::array<QString, kListSectionCount> listRowSections(const TListData &row);
// The same as one text (the sections joined by spaces), for screen readers.
QString listRowLine(const TListData &row);
// Where a cell's text lies inside its section: from left + 3 to right - 5.
QRect listSectionTextRect(int sectionLeft, int sectionWidth, int top, int height);

// ---- Window sizing --------------------------------------------------------------

constexpr QSize kListLowerPanelSize(632, 264);
constexpr QSize kListWindowMinimum(632, 264 + 64);

struct ListWindowGeometry
{
    QRect upper; // header and row display
    QRect lower; // the control panel, in the bottom-right corner
    QRect header;
    QRect rows;
};
// The client area is first raised to the minimum.
QSize listWindowClientSize(QSize requested);
ListWindowGeometry listWindowGeometry(QSize client, int headerHeight);

// ---- Paste ------------------------------------------------------------------------

// Clipboard text as import lines: one line per line break (CR LF or LF; a
// final line break does not start an empty line), fields split as in a
// tab-separated import.
QList<ImportFields> clipboardImportLines(const QString &text);

} // namespace cw
