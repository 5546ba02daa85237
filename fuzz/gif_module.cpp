// The gif decoder module (gif.spi) on arbitrary bytes.
#include "DecoderModuleFuzz.h"

using namespace cw;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return fuzzModule("gif.spi", data, size);
}
