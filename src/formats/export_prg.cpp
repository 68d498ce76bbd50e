#include "formats/export_prg.h"

#include <algorithm>
#include <charconv>

namespace fontarel {

bool read_load_address(std::string_view text, int& value, bool with_prefix) {
    if (with_prefix) {
        if (text.starts_with("$"))
            text.remove_prefix(1);
        else if (text.starts_with("0x") || text.starts_with("0X"))
            text.remove_prefix(2);
    }
    if (text.empty() || text.size() > 4 ||
        text.find_first_not_of("0123456789abcdefABCDEF") != text.npos)
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    return ec == std::errc() && end == text.data() + text.size();
}

std::vector<uint8_t> glyphs_as_prg(const CharsetStore& store, GlyphSelection glyphs,
                                   int load_address) {
    const GlyphSelection g = glyphs.clamped();
    std::vector<uint8_t> out(2 + static_cast<size_t>(kGlyphRows * g.count));
    out[0] = static_cast<uint8_t>(load_address & 0xFF);
    out[1] = static_cast<uint8_t>(load_address >> 8 & 0xFF);
    std::copy_n(store.bytes.begin() + kGlyphRows * g.first, kGlyphRows * g.count, out.begin() + 2);
    return out;
}

} // namespace fontarel
