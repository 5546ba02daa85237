#pragma once

#include <QByteArray>
#include <QString>

namespace cw {

// Writes `bytes` as the whole of the file at `path`, so that the old file is
// either replaced by the complete new one or left exactly as it was: the
// bytes go into a new file beside it, straight to the system and checked,
// which replaces the old one only once it is completely on disk. A file that
// is marked read-only is not replaced, whoever runs the program. A device or
// a pipe is written to directly (there is no file to keep); a folder is
// refused. False when anything failed; the caller tells the user.
bool saveFileSafely(const QString &path, const QByteArray &bytes);

// Whether saveFileSafely can be expected to write `path`: a writable file or
// device, or a new file in a folder that exists and may be written to.
// Nothing is created or changed.
bool fileCanBeSaved(const QString &path);

} // namespace cw
