// The jpeg decoder module (jpeg.spi) on arbitrary bytes.
#include "DecoderModuleFuzz.h"

using namespace cw;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return fuzzModule("jpeg.spi", data, size);
}
