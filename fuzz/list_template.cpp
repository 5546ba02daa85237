// The list template reader, and the writer on whatever it accepts: a
// template that can be written must read back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "tracklist/ListTemplate.h"

using namespace cw;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray file(reinterpret_cast<const char *>(data), qsizetype(size));
    ListTemplate t;
    const int surface = parseListTemplate(file, t);
    if (surface < 0)
        return 0;
    if (surface > 1)
        std::abort();
    const QByteArray written = listTemplateFileBytes(t.name, surface, t.layout);
    if (written.isEmpty())
        return 0;
    ListTemplate back;
    if (parseListTemplate(written, back) != surface || back.name != t.name
        || back.layout != t.layout)
        std::abort();
    return 0;
}
