// The document reader on any bytes, and the writer on whatever it read: once
// written, a document must read back to the same bytes. Text that CP932
// cannot hold (a 1.07 file read as UTF-8) is written in the Unicode form, so
// both forms go round; a 1.08 file of another case comes back as 1.08 with
// its case, and one of a case this program does not know changes nothing.
// (The first reading of
// a file whose sections are out of order may differ from reading the
// rewritten file: links copy what their leader holds at the moment they are
// switched on, and the writer puts the sections in their usual order.)
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "document/DocumentEditor.h"
#include "document/DocumentReader.h"
#include "document/DocumentWriter.h"
#include "render/Geometry.h"

using namespace cw;

namespace {

// Named after a folder that does not exist, so that relative picture names
// are not found beside it.
const QString kPath = QStringLiteral("/nonexistent-casewright-fuzz/doc.cwr");

QByteArray readAndWrite(const QByteArray &file, bool &written)
{
    LabelDocument doc;
    doc.dpiX = doc.dpiY = 300;
    doc.surfacePixels = surfacePixelsAt(300, 300);
    DocumentEditor editor(doc);
    NullProgressSink progress;
    const LoadStatus status = readDocument(editor, file, kPath, progress);
    if ((status == LoadStatus::Loaded) != (doc.fileName == kPath))
        std::abort();
    DocumentBytes out = documentBytes(doc);
    if (out.needsUnicode)
        out = documentBytes(doc, QString(), TextEncoding::Utf8);
    written = out.ok();
    return out.data;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    bool written = false;
    const QByteArray first
        = readAndWrite(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), written);
    if (!written)
        return 0;
    bool again = false;
    const QByteArray second = readAndWrite(first, again);
    if (!again)
        std::abort();
    if (second == first)
        return 0;
    bool third = false;
    if (readAndWrite(second, third) != second || !third)
        std::abort();
    return 0;
}
