#pragma once

#include <QString>
#include <array>

#include "tracklist/ListLayoutRules.h"

namespace cw {

// The layout window's rules, without widgets: the column choice, the eight
// value fields with their up-down limits, the maxima labels, the information
// group and which fields count.

enum class LayoutField { PosX, PosY, Width1, Width2, Width3, Space1, Space2, LineSpacing };
constexpr int kLayoutFieldCount = 8;
constexpr std::array<LayoutField, kLayoutFieldCount> kLayoutFields = { LayoutField::PosX,
    LayoutField::PosY, LayoutField::Width1, LayoutField::Width2, LayoutField::Width3,
    LayoutField::Space1, LayoutField::Space2, LayoutField::LineSpacing };

// What the window does with a field's text.
struct LayoutEntry
{
    enum Kind {
        Ignored, // nothing happens (empty while typing; ListSpace while typing)
        Invalid, // not a whole number: the invalid-number message, nothing stored
        Stored, // the value was taken
    };
    Kind kind = Ignored;
    int value = 0;
    bool rewrite = false; // the field must show `value` (cut to its limits)
};

class ListLayoutEditor
{
public:
    ListLayoutEditor();

    // Opening for a surface with its stored layout.
    void open(const ListLayout &stored, int surface);
    int surface() const { return m_surface; }
    int printableWidth() const;
    int printableHeight() const;

    // SeparateNo: 1..3.
    int columnCount() const { return m_columns; }
    void chooseColumns(int columnCount);

    int value(LayoutField f) const;
    // The up-down limit of a field.
    int maximum(LayoutField f) const;
    // The "(最大 %03d)" label of a field (ListSpace's always reads 50).
    QString maximumLabel(LayoutField f) const;
    // Whether a field (with its labels) is enabled for the column choice.
    bool fieldEnabled(LayoutField f) const;
    ListInfo info() const;
    // Whether the information label of column 1..3 is enabled.
    bool infoEnabled(int column) const;

    // Typing into a field, and leaving it.
    LayoutEntry typed(LayoutField f, const QString &text);
    LayoutEntry left(LayoutField f, const QString &text);
    // An up-down arrow: +1 or -1 within 0..maximum.
    void stepped(LayoutField f, int delta);

    // A template was picked: the fields take all nine values at once (the
    // old maxima do not cut them), then the maxima follow the new values.
    void setAll(const ListLayout &layout);

    // The nine values "閉じる" stores, and the template save writes.
    ListLayout values() const;

private:
    int &slot(LayoutField f);
    int slot(LayoutField f) const;
    int limit(LayoutField f) const;
    LayoutEntry take(LayoutField f, const QString &text, bool leaving);
    void recomputeMaxima();

    int m_surface = 0;
    int m_columns = 3;
    ListLayout m_values;
    std::array<int, kLayoutFieldCount> m_maximum {};
    std::array<QString, kLayoutFieldCount> m_labels;
};

} // namespace cw
