#include "tracklist/ListEditor.h"
#include "base/UiText.h"

#include <QStringList>

namespace cw {

namespace {

QString inList(const QString &what)
{
    return stepLabel(what, UiText::tr("リスト"));
}

QString cellLabel(const QString &what, int cell)
{
    return stepLabel(what.arg(cell + 1), UiText::tr("リスト"));
}

} // namespace

ListEditor::ListEditor(QList<TListData> &rows)
    : m_rows(rows)
{ }

void ListEditor::open(const ListLayout *layout)
{
    m_layout = layout;
    refreshColumnFlags(m_rows, columnCount());
    selectNone();
}

int ListEditor::columnCount() const
{
    return m_layout ? m_layout->columnCount : 3;
}

TListData *ListEditor::selectedRow()
{
    if (m_selected < 0 || m_selected >= m_rows.size())
        return nullptr;
    return &m_rows[m_selected];
}

void ListEditor::selectNone()
{
    m_selected = -1;
    // With no row there is nothing the cell controls or the two choices could
    // act on, whatever the column count.
    m_controls.separateEnabled = false;
    m_controls.kindEnabled = false;
    for (ListCellControls &c : m_controls.cells) {
        c.enabled = false;
        c.text.clear();
    }
}

void ListEditor::select(qsizetype index)
{
    if (index < 0 || index >= m_rows.size()) {
        selectNone();
        return;
    }
    // Showing a row may empty texts it does not show: a change like any other.
    EditStep step(m_recorder, inList(UiText::tr("行の選択")), EditParts::ListRows);
    showRow(index);
    // The fields store what they show: a row that is not separated loses its
    // cell-1 and cell-3 texts, a separator row all three.
    for (size_t k = 0; k < 3; ++k) {
        if (m_rows.at(index).columns[k].text != m_controls.cells[k].text)
            m_rows[index].columns[k].text = m_controls.cells[k].text;
    }
}

void ListEditor::rowsRestored()
{
    refreshColumnFlags(m_rows, columnCount());
    if (m_selected >= 0 && m_selected < m_rows.size())
        showRow(m_selected);
    else
        selectNone();
}

void ListEditor::showRow(qsizetype index)
{
    m_selected = index;
    const TListData &row = m_rows.at(index);
    const int n = columnCount();
    ListEditorControls &c = m_controls;
    c.separateItem = row.separate ? 0 : 1;
    c.separateEnabled = n != 1;
    c.kindItem = row.kind == 0 || row.kind == 1 ? row.kind : -1;
    c.kindEnabled = true;
    for (size_t k = 0; k < 3; ++k) {
        ListCellControls &cell = c.cells[k];
        cell.text = row.columns[k].text;
        const int align = row.columns[k].align;
        cell.alignItem = align >= 1 && align <= 3 ? align - 1 : -1;
        // The group's choice is also what new rows get; a value no item
        // stands for leaves the last choice for them.
        if (cell.alignItem >= 0)
            m_defaults.align[k] = align;
        cell.font = row.columns[k].font;
    }
    if (!row.separate) {
        c.cells[0].text.clear();
        c.cells[2].text.clear();
    }
    if (row.kind != 1) {
        c.cells[0].enabled = n != 1 && row.separate;
        c.cells[1].enabled = true;
        c.cells[2].enabled = n == 3 && row.separate;
    } else {
        for (ListCellControls &cell : c.cells) {
            cell.enabled = false;
            cell.text.clear();
        }
        c.separateEnabled = false;
    }
}

bool ListEditor::newRow()
{
    EditStep step(m_recorder, inList(UiText::tr("新規")), EditParts::ListRows);
    appendRow(m_rows, newListRow(m_defaults, columnCount()));
    select(m_rows.size() - 1);
    return true;
}

bool ListEditor::insertRow()
{
    EditStep step(m_recorder, inList(UiText::tr("追加")), EditParts::ListRows);
    const qsizetype at = m_selected;
    if (!insertRowBefore(m_rows, at, newListRow(m_defaults, columnCount())))
        return false;
    select(at);
    return true;
}

bool ListEditor::deleteRow()
{
    EditStep step(m_recorder, inList(UiText::tr("削除")), EditParts::ListRows);
    if (!cw::deleteRow(m_rows, m_selected))
        return false;
    selectNone();
    return true;
}

bool ListEditor::canMoveUp() const
{
    return m_selected > 0 && m_selected < m_rows.size();
}

bool ListEditor::canMoveDown() const
{
    return m_selected >= 0 && m_selected + 1 < m_rows.size();
}

bool ListEditor::moveUp()
{
    EditStep step(m_recorder, inList(UiText::tr("上へ")), EditParts::ListRows);
    if (!canMoveUp() || !moveRowUp(m_rows, m_selected))
        return false;
    select(m_selected - 1);
    return true;
}

bool ListEditor::moveDown()
{
    EditStep step(m_recorder, inList(UiText::tr("下へ")), EditParts::ListRows);
    if (!canMoveDown() || !moveRowDown(m_rows, m_selected))
        return false;
    select(m_selected + 1);
    return true;
}

void ListEditor::setCell(int cell, bool on, bool withFlag)
{
    m_controls.cells[size_t(cell)].enabled = on;
    if (withFlag) {
        if (TListData *row = selectedRow())
            row->columns[size_t(cell)].enabled = on;
    }
}

bool ListEditor::setSeparate(int item)
{
    EditStep step(m_recorder, inList(UiText::tr("ｾﾊﾟﾚｰﾄ")), EditParts::ListRows);
    TListData *row = selectedRow();
    if (!row || item < 0 || item > 1)
        return false;
    const int n = columnCount();
    m_controls.separateItem = item;
    row->separate = item == 0;
    if (row->separate) {
        setCell(0, n != 1, true);
        setCell(2, n == 3, true);
    } else {
        setCell(0, false, true);
        setCell(2, false, true);
    }
    return true;
}

bool ListEditor::setKind(int item)
{
    EditStep step(m_recorder, inList(UiText::tr("リスト内容")), EditParts::ListRows);
    TListData *row = selectedRow();
    if (!row || item < 0 || item > 1)
        return false;
    const int n = columnCount();
    m_controls.kindItem = item;
    if (item == 0) {
        const bool separated = m_controls.separateItem == 0;
        setCell(0, n != 1 && separated, true);
        setCell(1, true, true);
        setCell(2, n == 3 && separated, true);
        row->separate = separated;
        m_controls.separateEnabled = n != 1;
        row->kind = 0;
    } else {
        for (int k = 0; k < 3; ++k)
            setCell(k, false, true);
        if (n != 1) {
            row->separate = false;
            m_controls.separateEnabled = false;
        }
        row->kind = 1;
    }
    return true;
}

bool ListEditor::setCellText(int cell, const QString &text)
{
    EditStep step(m_recorder, cellLabel(UiText::tr("ｾﾊﾟﾚｰﾄ%1内容"), cell), EditParts::ListRows,
        QStringLiteral("ListText%1:%2").arg(cell).arg(m_selected));
    if (cell < 0 || cell > 2)
        return false;
    m_controls.cells[size_t(cell)].text = text;
    TListData *row = selectedRow();
    if (!row || row->columns[size_t(cell)].text == text)
        return false;
    row->columns[size_t(cell)].text = text;
    return true;
}

bool ListEditor::setCellAlign(int cell, int item)
{
    EditStep step(m_recorder, cellLabel(UiText::tr("ｾﾊﾟﾚｰﾄ%1文字位置"), cell), EditParts::ListRows);
    if (cell < 0 || cell > 2 || item < 0 || item > 2)
        return false;
    m_controls.cells[size_t(cell)].alignItem = item;
    m_defaults.align[size_t(cell)] = item + 1;
    TListData *row = selectedRow();
    if (!row)
        return false;
    row->columns[size_t(cell)].align = item + 1;
    return true;
}

bool ListEditor::setCellFont(int cell, const FontSpec &font)
{
    EditStep step(m_recorder, inList(UiText::tr("フォント")), EditParts::ListRows);
    if (cell < 0 || cell > 2)
        return false;
    m_controls.cells[size_t(cell)].font = font;
    TListData *row = selectedRow();
    if (!row)
        return false;
    row->setColumnFont(cell, font);
    return true;
}

bool ListEditor::setDefaultFont(int cell, const FontSpec &font)
{
    EditStep step(m_recorder, inList(UiText::tr("ﾃﾞﾌｫﾙﾄﾌｫﾝﾄ")), EditParts::ListRows);
    if (cell < 0 || cell > 2)
        return false;
    m_defaults.fonts[size_t(cell)] = font;
    return setCellFont(cell, font);
}

bool ListEditor::bulkFontChange(int cell, const BulkFontChoice &choice)
{
    EditStep step(m_recorder, inList(UiText::tr("ﾌｫﾝﾄ一括変更")), EditParts::ListRows);
    if (cell < 0 || cell > 2)
        return false;
    bulkChangeColumnFont(
        m_rows, cell, choice.font, choice.switches, &m_defaults.fonts[size_t(cell)]);
    // The cell-font dialog keeps holding the selected row's font.
    if (TListData *row = selectedRow())
        m_controls.cells[size_t(cell)].font = row->columns[size_t(cell)].font;
    return true;
}

std::optional<ListImportOutcome> ListEditor::importSources(
    const QStringList &paths, MessageSink &messages)
{
    EditStep step(m_recorder, inList(UiText::tr("ファイル")), EditParts::ListRows);
    std::optional<ListImportOutcome> outcome
        = importListSources(paths, m_defaults, columnCount(), messages);
    if (outcome && !outcome->rows.isEmpty()) {
        m_rows.append(outcome->rows);
        select(m_rows.size() - 1);
    }
    return outcome;
}

int ListEditor::appendLines(const QList<ImportFields> &lines)
{
    EditStep step(m_recorder, inList(UiText::tr("貼り付け")), EditParts::ListRows);
    appendImportedRows(m_rows, lines, m_defaults, columnCount());
    if (!lines.isEmpty())
        select(m_rows.size() - 1);
    return int(lines.size());
}

void ListEditor::applyColumnChoice(int n)
{
    applyColumnCountToRows(m_rows, n);
    if (!selectedRow())
        return;
    m_controls.cells[0].enabled = n >= 2;
    m_controls.cells[2].enabled = n >= 3;
    m_controls.separateEnabled = n >= 2;
}

void ListEditor::reset()
{
    selectNone();
    m_controls.separateItem = 0;
    m_controls.kindItem = 0;
    for (ListCellControls &c : m_controls.cells)
        c.alignItem = 0;
    m_defaults.align = { 1, 1, 1 };
}

// ---- Row display ----------------------------------------------------------------

const std::array<const char *, kListSectionCount> kListSectionTitles
    = { QT_TRANSLATE_NOOP("cw::UiText", "ｾﾊﾟﾚｰﾄ"), QT_TRANSLATE_NOOP("cw::UiText", "内容1"),
          QT_TRANSLATE_NOOP("cw::UiText", "位置1"), QT_TRANSLATE_NOOP("cw::UiText", "内容2"),
          QT_TRANSLATE_NOOP("cw::UiText", "位置2"), QT_TRANSLATE_NOOP("cw::UiText", "内容3"),
          QT_TRANSLATE_NOOP("cw::UiText", "位置3") };
const std::array<int, kListSectionCount> kListSectionWidths = { 52, 135, 50, 135, 50, 135, 50 };

std::array<QString, kListSectionCount> listRowSections(const TListData &row)
{
    std::array<QString, kListSectionCount> s;
    s[0] = row.separate ? UiText::tr("する") : UiText::tr("しない");
    for (size_t k = 0; k < 3; ++k) {
        const TListCell &cell = row.columns[k];
        if (!cell.enabled) {
            s[1 + 2 * k] = QString(20, QLatin1Char('-'));
            s[2 + 2 * k] = QString(6, QLatin1Char('-'));
            continue;
        }
        s[1 + 2 * k] = cell.text;
        switch (cell.align) {
        case 1:
            s[2 + 2 * k] = UiText::tr("左寄せ");
            break;
        case 2:
            s[2 + 2 * k] = UiText::tr("中央");
            break;
        case 3:
            s[2 + 2 * k] = UiText::tr("右寄せ");
            break;
        default:
            break;
        }
    }
    return s;
}

QString listRowLine(const TListData &row)
{
    const auto s = listRowSections(row);
    return QStringList(s.begin(), s.end()).join(QLatin1Char(' '));
}

QRect listSectionTextRect(int sectionLeft, int sectionWidth, int top, int height)
{
    const int left = sectionLeft + 3;
    const int right = sectionLeft + sectionWidth - 5;
    return QRect(left, top, std::max(0, right - left), height);
}

// ---- Window sizing ------------------------------------------------------------------

QSize listWindowClientSize(QSize requested)
{
    return requested.expandedTo(kListWindowMinimum);
}

ListWindowGeometry listWindowGeometry(QSize requested, int headerHeight)
{
    const QSize client = listWindowClientSize(requested);
    ListWindowGeometry g;
    g.lower = QRect(QPoint(client.width() - kListLowerPanelSize.width(),
                        client.height() - kListLowerPanelSize.height()),
        kListLowerPanelSize);
    g.upper = QRect(8, 0, client.width() - 16, g.lower.top() - 8);
    g.header = QRect(0, 0, g.upper.width(), headerHeight);
    g.rows = QRect(0, headerHeight, g.upper.width(), std::max(0, g.upper.height() - headerHeight));
    return g;
}

// ---- Paste --------------------------------------------------------------------------

QList<ImportFields> clipboardImportLines(const QString &text)
{
    QList<ImportFields> lines;
    if (text.isEmpty())
        return lines;
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList parts = normalised.split(QLatin1Char('\n'));
    if (parts.last().isEmpty())
        parts.removeLast();
    lines.reserve(parts.size());
    for (const QString &line : parts)
        lines.append(splitTabLine(line));
    return lines;
}

} // namespace cw
