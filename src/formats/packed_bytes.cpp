#include "formats/packed_bytes.h"

#include <algorithm>
#include <vector>

#include <zlib.h>

#include "formats/base64.h"

namespace fontarel {

namespace {

// Base64 is made and read in groups of this many bytes (a multiple of 3): large enough that
// zlib's calls cost nothing, small enough to stay in the cache.
constexpr size_t kChunk = 3 * 16384;

} // namespace

size_t packed_size_bound(size_t bytes) {
    return base64_size(compressBound(static_cast<uLong>(bytes)));
}

void append_packed(std::string& out, const std::function<std::span<const uint8_t>()>& next) {
    z_stream z{};
    deflateInit(&z, kPackLevel);
    std::vector<uint8_t> chunk(kChunk);
    size_t held = 0; // compressed bytes in `chunk` not yet written as base64
    bool more = true;
    int status = Z_OK;
    while (status != Z_STREAM_END) {
        std::span<const uint8_t> piece;
        if (more) {
            piece = next();
            more = !piece.empty();
        }
        z.next_in = const_cast<Bytef*>(piece.data());
        z.avail_in = static_cast<uInt>(piece.size());
        do {
            z.next_out = chunk.data() + held;
            z.avail_out = static_cast<uInt>(chunk.size() - held);
            status = deflate(&z, more ? Z_NO_FLUSH : Z_FINISH);
            held = chunk.size() - z.avail_out;
            if (held == chunk.size()) {
                append_base64(out, chunk);
                held = 0;
            }
        } while (z.avail_in > 0 || (!more && status != Z_STREAM_END));
    }
    append_base64(out, std::span(chunk).first(held));
    deflateEnd(&z);
}

std::string unpack(std::string_view text, size_t limit, Unpacked& out) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return "could not be unpacked: out of memory";
    std::unique_ptr<uint8_t[]> bytes(new uint8_t[std::max<size_t>(limit, 1)]);
    std::vector<uint8_t> chunk(kChunk);
    constexpr size_t kChars = kChunk / 3 * 4; // base64 characters of a chunk
    std::string why;
    int status = Z_OK;
    z.next_out = bytes.get();
    z.avail_out = static_cast<uInt>(limit);
    size_t at = 0;
    while (why.empty() && status != Z_STREAM_END) {
        if (at == text.size()) {
            why = "is not zlib data: it ends early";
            break;
        }
        const size_t n = std::min(kChars, text.size() - at);
        const long got = decode_base64(text.substr(at, n), at + n == text.size(), chunk.data());
        at += n;
        if (got < 0) {
            why = "is not base64";
            break;
        }
        z.next_in = chunk.data();
        z.avail_in = static_cast<uInt>(got);
        while (z.avail_in > 0 && status != Z_STREAM_END) {
            status = inflate(&z, Z_NO_FLUSH);
            if (status == Z_BUF_ERROR && z.avail_out == 0) {
                why = "unpacks to more than " + std::to_string(limit) + " bytes";
                break;
            }
            if (status != Z_OK && status != Z_STREAM_END) {
                why = std::string("is not zlib data: ") + (z.msg ? z.msg : "it is broken");
                break;
            }
        }
        if (status == Z_STREAM_END && (z.avail_in > 0 || at < text.size()))
            why = "has text after its zlib data";
    }
    const size_t size = limit - z.avail_out;
    inflateEnd(&z);
    if (!why.empty())
        return why;
    out.bytes = std::move(bytes);
    out.size = size;
    return {};
}

} // namespace fontarel
