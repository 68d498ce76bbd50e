#include "formats/base64.h"

#include <array>

namespace fontarel {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
// A character's 6 bits, or kNotBase64.
constexpr uint8_t kNotBase64 = 0xFF;
constexpr std::array<uint8_t, 256> kValues = [] {
    std::array<uint8_t, 256> v{};
    v.fill(kNotBase64);
    for (uint8_t i = 0; i < 64; ++i)
        v[static_cast<uint8_t>(kAlphabet[i])] = i;
    return v;
}();

} // namespace

void append_base64(std::string& out, std::span<const uint8_t> bytes) {
    const size_t start = out.size();
    out.resize(start + base64_size(bytes.size()));
    char* o = out.data() + start;
    size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3, o += 4) {
        const uint32_t v = uint32_t{bytes[i]} << 16 | uint32_t{bytes[i + 1]} << 8 | bytes[i + 2];
        o[0] = kAlphabet[v >> 18];
        o[1] = kAlphabet[v >> 12 & 63];
        o[2] = kAlphabet[v >> 6 & 63];
        o[3] = kAlphabet[v & 63];
    }
    if (i < bytes.size()) {
        const bool two = i + 2 == bytes.size();
        const uint32_t v = uint32_t{bytes[i]} << 16 | (two ? uint32_t{bytes[i + 1]} << 8 : 0);
        o[0] = kAlphabet[v >> 18];
        o[1] = kAlphabet[v >> 12 & 63];
        o[2] = two ? kAlphabet[v >> 6 & 63] : '=';
        o[3] = '=';
    }
}

long decode_base64(std::string_view text, bool last, uint8_t* out) {
    if (text.size() % 4 != 0)
        return -1;
    // Padding is looked at only in the text's last group, and only when it ends the whole text.
    size_t pad = 0;
    if (last && !text.empty())
        pad = text.back() != '=' ? 0 : text[text.size() - 2] == '=' ? 2 : 1;
    const size_t groups = text.size() / 4;
    long n = 0;
    for (size_t g = 0; g < groups; ++g) {
        const char* t = text.data() + 4 * g;
        const size_t known = g + 1 == groups ? 4 - pad : 4;
        uint32_t v = 0;
        for (size_t k = 0; k < 4; ++k) {
            const uint8_t bits = k < known ? kValues[static_cast<uint8_t>(t[k])] : 0;
            if (bits == kNotBase64)
                return -1;
            v = v << 6 | bits;
        }
        out[n++] = static_cast<uint8_t>(v >> 16);
        if (known > 2)
            out[n++] = static_cast<uint8_t>(v >> 8);
        if (known > 3)
            out[n++] = static_cast<uint8_t>(v);
    }
    return n;
}

} // namespace fontarel
