#pragma once
// Large byte strings of the project file, packed: zlib-compressed (RFC 1950), then base64 (see
// base64.h). Both ways work in pieces, so neither the bytes nor their compressed form is copied
// whole on the way.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace fontarel {

// The zlib level of the project file: what saves fastest for a small cost in size.
inline constexpr int kPackLevel = 1;

// The most characters the packed text of `bytes` bytes can take: room to reserve beforehand.
size_t packed_size_bound(size_t bytes);

// Appends the packed text of the bytes that `next` hands over, piece by piece, until it gives an
// empty piece. A piece need only stay valid until `next` is called again.
void append_packed(std::string& out, const std::function<std::span<const uint8_t>()>& next);

struct Unpacked {
    std::unique_ptr<uint8_t[]> bytes;
    size_t size = 0;
};

// Unpacks a packed text of at most `limit` bytes. Returns an empty text on success; otherwise
// why it was refused ("is not base64", "is not zlib data: ...", "unpacks to more than N bytes",
// "has text after its zlib data"). The memory taken is `limit` bytes, of which only those
// unpacked are ever written.
std::string unpack(std::string_view text, size_t limit, Unpacked& out);

} // namespace fontarel
