#include "tracklist/ListLayoutEditor.h"

#include <algorithm>

#include "text/TypedNumber.h"

namespace cw {

namespace {
size_t index(LayoutField f)
{
    return size_t(f);
}
// The up-down controls hold 16-bit signed values.
constexpr int kUpDownLimit = 32767;
} // namespace

ListLayoutEditor::ListLayoutEditor()
{
    // Until the first opening the labels show the front's default maxima.
    m_values = defaultListLayout(0);
    m_maximum[index(LayoutField::LineSpacing)] = kMaxLineSpacing;
    m_labels[index(LayoutField::LineSpacing)] = formatMaximum(kMaxLineSpacing);
    recomputeMaxima();
}

void ListLayoutEditor::open(const ListLayout &stored, int surface)
{
    m_surface = surface == kListSurfaceBottom || surface == kListSurfaceDisc ? surface
                                                                             : kListSurfaceTop;
    m_columns = std::clamp(stored.columnCount, 1, 3);
    m_values = stored;
    recomputeMaxima();
}

int ListLayoutEditor::printableWidth() const
{
    return listPrintableWidth(m_surface);
}

int ListLayoutEditor::printableHeight() const
{
    return listPrintableHeight(m_surface);
}

void ListLayoutEditor::chooseColumns(int columnCount)
{
    m_columns = std::clamp(columnCount, 1, 3);
    recomputeMaxima();
}

int &ListLayoutEditor::slot(LayoutField f)
{
    switch (f) {
    case LayoutField::PosX:
        return m_values.posX;
    case LayoutField::PosY:
        return m_values.posY;
    case LayoutField::Width1:
        return m_values.width1;
    case LayoutField::Width2:
        return m_values.width2;
    case LayoutField::Width3:
        return m_values.width3;
    case LayoutField::Space1:
        return m_values.space1;
    case LayoutField::Space2:
        return m_values.space2;
    case LayoutField::LineSpacing:
        break;
    }
    return m_values.lineSpacing;
}

int ListLayoutEditor::slot(LayoutField f) const
{
    return const_cast<ListLayoutEditor *>(this)->slot(f);
}

int ListLayoutEditor::value(LayoutField f) const
{
    return slot(f);
}

int ListLayoutEditor::maximum(LayoutField f) const
{
    return m_maximum[index(f)];
}

int ListLayoutEditor::limit(LayoutField f) const
{
    return std::clamp(m_maximum[index(f)], 0, kUpDownLimit);
}

QString ListLayoutEditor::maximumLabel(LayoutField f) const
{
    return m_labels[index(f)];
}

bool ListLayoutEditor::fieldEnabled(LayoutField f) const
{
    switch (f) {
    case LayoutField::Width1:
    case LayoutField::Space1:
        return m_columns >= 2;
    case LayoutField::Width3:
    case LayoutField::Space2:
        return m_columns == 3;
    default:
        return true;
    }
}

ListInfo ListLayoutEditor::info() const
{
    return computeListInfo(m_values, m_columns, m_surface);
}

bool ListLayoutEditor::infoEnabled(int column) const
{
    if (column == 1)
        return m_columns >= 2;
    if (column == 3)
        return m_columns == 3;
    return true;
}

void ListLayoutEditor::recomputeMaxima()
{
    const ListMaxima m = computeListMaxima(m_values, m_columns, printableWidth(), printableHeight());
    auto set = [this](LayoutField f, int value) {
        m_maximum[index(f)] = value;
        m_labels[index(f)] = formatMaximum(value);
    };
    set(LayoutField::PosY, m.posY);
    set(LayoutField::PosX, m.posX);
    if (m.counts.width1)
        set(LayoutField::Width1, m.width1);
    if (m.counts.width2)
        set(LayoutField::Width2, m.width2);
    if (m.counts.width3)
        set(LayoutField::Width3, m.width3);
    if (m.counts.space1)
        set(LayoutField::Space1, m.space1);
    if (m.counts.space2)
        set(LayoutField::Space2, m.space2);
}

LayoutEntry ListLayoutEditor::take(LayoutField f, const QString &text, bool leaving)
{
    LayoutEntry e;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        // Leaving an emptied field shows its value again.
        if (leaving) {
            e.kind = LayoutEntry::Stored;
            e.value = slot(f);
            e.rewrite = true;
        }
        return e;
    }
    const std::optional<long long> typed = typedWholeNumber(trimmed);
    if (!typed) {
        e.kind = LayoutEntry::Invalid;
        e.value = slot(f);
        e.rewrite = true;
        return e;
    }
    const int value = int(std::clamp<long long>(*typed, 0, limit(f)));
    e.kind = LayoutEntry::Stored;
    e.value = value;
    e.rewrite = value != *typed || (leaving && QString::number(value) != trimmed);
    slot(f) = value;
    return e;
}

LayoutEntry ListLayoutEditor::typed(LayoutField f, const QString &text)
{
    if (f == LayoutField::LineSpacing)
        return LayoutEntry();
    LayoutEntry e = take(f, text, false);
    if (e.kind == LayoutEntry::Stored && f != LayoutField::PosY)
        recomputeMaxima();
    return e;
}

LayoutEntry ListLayoutEditor::left(LayoutField f, const QString &text)
{
    LayoutEntry e = take(f, text, true);
    if (e.kind == LayoutEntry::Stored)
        recomputeMaxima();
    return e;
}

void ListLayoutEditor::stepped(LayoutField f, int delta)
{
    slot(f) = std::clamp(slot(f) + delta, 0, limit(f));
    recomputeMaxima();
}

void ListLayoutEditor::setAll(const ListLayout &layout)
{
    m_columns = std::clamp(layout.columnCount, 1, 3);
    m_values = layout;
    recomputeMaxima();
}

ListLayout ListLayoutEditor::values() const
{
    ListLayout l = m_values;
    l.columnCount = m_columns;
    return l;
}

} // namespace cw
