// The tiff decoder module (tiff.spi) on arbitrary bytes.
#include "DecoderModuleFuzz.h"

using namespace cw;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return fuzzModule("tiff.spi", data, size);
}
