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

// Writes the packed text of the bytes that `next` hands over, piece by piece, until it gives an
// empty piece (a piece need only stay valid until `next` is called again), handing the text to
// `write` in pieces of at most 64 kB, each valid only during the call.
void write_packed(const std::function<std::span<const uint8_t>()>& next,
                  const std::function<void(std::string_view)>& write);

// Reads a packed text back, piece by piece, so that the caller can put the bytes where they go
// without a buffer of them all.
class PackedReader {
  public:
    explicit PackedReader(std::string_view text);
    ~PackedReader();
    PackedReader(const PackedReader&) = delete;
    PackedReader& operator=(const PackedReader&) = delete;

    // Fills `out` with the next bytes. False when the text is not a packed text or holds fewer
    // bytes: why() then says so ("is not base64", "is not zlib data: ...", "unpacks to N bytes,
    // not M" where `expected` is M).
    bool read(std::span<uint8_t> out, size_t expected);
    // After the last read: true when the data ended there and nothing follows it; else false,
    // and why() says so ("unpacks to more than M bytes", "has text after its zlib data").
    bool finish(size_t expected);
    const std::string& why() const { return why_; }

  private:
    struct Stream;
    std::unique_ptr<Stream> z_;
    std::string_view text_;
    size_t at_ = 0; // characters of the text decoded
    std::string why_;
};

} // namespace fontarel
