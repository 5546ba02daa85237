#pragma once

#include <QString>
#include <QStringList>

namespace cw {

// Converts a filter in the "description|patterns|description|patterns" form
// into the entries of a Qt file dialog, "description (patterns)". Patterns
// separated by ';' become space-separated. An empty description takes the
// patterns as its text; a trailing description without patterns is dropped,
// and so is an empty field in front of the pairs.
// The patterns are always appended, even when the description already names
// them ("すべてのファイル(*.*)"): Qt takes the patterns from the last bracket
// pair, and a dialog with HideNameFilterDetails then shows the description
// exactly as written.
QStringList toQtFilters(const QString &filter);

} // namespace cw
