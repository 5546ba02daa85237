// The png decoder module (png.spi) on arbitrary bytes.
#include "DecoderModuleFuzz.h"

using namespace cw;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return fuzzModule("png.spi", data, size);
}
