// The webp decoder module (webp.spi) on arbitrary bytes.
#include "DecoderModuleFuzz.h"

using namespace cw;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return fuzzModule("webp.spi", data, size);
}
