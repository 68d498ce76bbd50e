#pragma once
// Base64 (RFC 4648, the standard alphabet, '=' padding, no line breaks) in pieces, so that a long
// text is made and read without a second copy of it.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace fontarel {

// Characters of the base64 text of `bytes` bytes, padding included.
constexpr size_t base64_size(size_t bytes) {
    return (bytes + 2) / 3 * 4;
}

// Appends the base64 text of `bytes` to `out`. Pieces written one after the other join into one
// text only when every piece but the last is a multiple of 3 bytes long.
void append_base64(std::string& out, std::span<const uint8_t> bytes);

// Decodes `text`, a multiple of 4 characters, into `out`, which has room for 3 / 4 of them.
// Padding ('=', one or two) may end only the last group of the whole text: `last` says whether
// `text` ends it. Returns the bytes written, or -1 when the text is not base64.
long decode_base64(std::string_view text, bool last, uint8_t* out);

} // namespace fontarel
