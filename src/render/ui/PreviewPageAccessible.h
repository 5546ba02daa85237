#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace cw {

// The accessible form of the preview's page: a picture whose children are
// the things printed on it, each named for what it is, with the focus on
// the selected one. Giving a child the focus selects it.
QAccessibleInterface *previewPageAccessible(const QString &className, QObject *object);

} // namespace cw
