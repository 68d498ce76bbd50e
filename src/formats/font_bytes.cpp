#include "formats/font_bytes.h"

#include <algorithm>

namespace fontarel {

namespace {

int64_t start_byte(uint8_t first) {
    return int64_t{kGlyphRows} * first;
}

} // namespace

int64_t font_load_count(int64_t file_size, uint8_t first) {
    return std::clamp<int64_t>(file_size, 0, kCharsetBytes - start_byte(first));
}

void place_font_bytes(CharsetStore& store, uint8_t first, std::span<const uint8_t> bytes) {
    const auto count =
        static_cast<size_t>(font_load_count(static_cast<int64_t>(bytes.size()), first));
    std::copy_n(bytes.begin(), count, store.bytes.begin() + start_byte(first));
}

bool font_save_fits(uint8_t first, int byte_count) {
    return byte_count > 0 && start_byte(first) + byte_count <= kCharsetBytes;
}

std::span<const uint8_t> font_file_bytes(const CharsetStore& store, uint8_t first, int byte_count) {
    if (!font_save_fits(first, byte_count))
        return {};
    return std::span<const uint8_t>(store.bytes)
        .subspan(static_cast<size_t>(start_byte(first)), static_cast<size_t>(byte_count));
}

} // namespace fontarel
