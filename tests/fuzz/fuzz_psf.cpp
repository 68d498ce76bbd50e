// The PSF reader, with gzip unpacking in front of it: any bytes, as a PSF file and as the packed
// data of a gzip file around them.

#include "fuzz_font_check.h"
#include "formats/gzip.h"

using namespace fontarel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    fuzz::check_import(import_psf(bytes));

    std::vector<uint8_t> out;
    std::string why;
    constexpr size_t kLimit = 1 << 16; // keeps each run fast; the limit's check is the same
    const bool ok = gunzip(bytes, out, why, kLimit);
    fuzz::expect(ok || (out.empty() && !why.empty()), "a refusal gives a reason and no bytes");
    fuzz::expect(out.size() <= kLimit, "no output past the limit");

    // The same bytes as the deflate data behind a gzip header, where every mutation reaches
    // the inflater rather than the header.
    std::vector<uint8_t> packed = {0x1F, 0x8B, 8, 0, 0, 0, 0, 0, 0, 3};
    packed.insert(packed.end(), bytes.begin(), bytes.end());
    fuzz::expect(gunzip(packed, out, why, kLimit) || out.empty(), "no bytes from a refusal");
    fuzz::expect(out.size() <= kLimit, "no output past the limit");
    return 0;
}
