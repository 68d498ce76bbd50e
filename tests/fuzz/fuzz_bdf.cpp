// The BDF reader on any bytes after a "STARTFONT" line.

#include "fuzz_font_check.h"

using namespace fontarel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::check_import(import_bdf(std::span<const uint8_t>(data, size)));
    return 0;
}
