// Feeds arbitrary bytes to the CP932 line reader and back through the writer.
// Read from a device in chunks of any size, the lines are the same as read
// from the whole data.
#include <QBuffer>
#include <cstddef>
#include <cstdint>

#include "text/Cp932.h"
#include "text/LineIO.h"

using namespace cw;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const int limit = size > 0 ? 1 + data[0] % 255 : 255;
    LineReader reader(bytes, limit);
    LineWriter writer(0);
    QString line;
    qsizetype total = 0;
    while (reader.readLine(line)) {
        total += line.size();
        writer.writeLine(line);
    }
    // Every decoded character came from at least one byte.
    if (total > qsizetype(size))
        __builtin_trap();
    cp932::EncodeResult r = cp932::encode(cp932::decode(bytes));
    (void)r;

    const int chunk = size > 1 ? 1 + data[1] % 64 : 1;
    LineReader whole(bytes, limit);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    LineReader streamed(&buffer, limit, chunk);
    QByteArray a, b;
    for (;;) {
        const bool moreA = whole.readRawLine(a);
        const bool moreB = streamed.readRawLine(b);
        if (moreA != moreB || a != b)
            __builtin_trap();
        if (!moreA)
            break;
    }
    return 0;
}
