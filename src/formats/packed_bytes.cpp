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

void write_packed(const std::function<std::span<const uint8_t>()>& next,
                  const std::function<void(std::string_view)>& write) {
    z_stream z{};
    deflateInit(&z, kPackLevel);
    std::vector<uint8_t> chunk(kChunk);
    std::string text;
    text.reserve(base64_size(kChunk));
    const auto put = [&](std::span<const uint8_t> bytes) {
        text.clear();
        append_base64(text, bytes);
        write(text);
    };
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
                put(chunk);
                held = 0;
            }
        } while (z.avail_in > 0 || (!more && status != Z_STREAM_END));
    }
    put(std::span(chunk).first(held));
    deflateEnd(&z);
}

struct PackedReader::Stream {
    z_stream z{};
    bool ok = false, ended = false;
    std::vector<uint8_t> chunk = std::vector<uint8_t>(kChunk); // decoded, not yet inflated
};

PackedReader::PackedReader(std::string_view text) : z_(std::make_unique<Stream>()), text_(text) {
    z_->ok = inflateInit(&z_->z) == Z_OK;
    if (!z_->ok)
        why_ = "could not be unpacked: out of memory";
}

PackedReader::~PackedReader() {
    if (z_->ok)
        inflateEnd(&z_->z);
}

bool PackedReader::read(std::span<uint8_t> out, size_t expected) {
    z_stream& z = z_->z;
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    constexpr size_t kChars = kChunk / 3 * 4; // base64 characters of a chunk
    while (why_.empty() && z.avail_out > 0) {
        if (z_->ended) {
            why_ = "unpacks to " + std::to_string(z.total_out) + " bytes, not " +
                   std::to_string(expected);
            break;
        }
        if (z.avail_in == 0) {
            if (at_ == text_.size()) {
                why_ = "is not zlib data: it ends early";
                break;
            }
            const size_t n = std::min(kChars, text_.size() - at_);
            const long got =
                decode_base64(text_.substr(at_, n), at_ + n == text_.size(), z_->chunk.data());
            at_ += n;
            if (got < 0) {
                why_ = "is not base64";
                break;
            }
            z.next_in = z_->chunk.data();
            z.avail_in = static_cast<uInt>(got);
            if (got == 0)
                continue;
        }
        const int status = inflate(&z, Z_NO_FLUSH);
        if (status == Z_STREAM_END)
            z_->ended = true;
        else if (status != Z_OK)
            why_ = std::string("is not zlib data: ") + (z.msg ? z.msg : "it is broken");
    }
    return why_.empty();
}

bool PackedReader::finish(size_t expected) {
    if (!why_.empty())
        return false;
    if (!z_->ended) { // one byte more would be past the end
        uint8_t more = 0;
        if (read({&more, 1}, expected))
            why_ = "unpacks to more than " + std::to_string(expected) + " bytes";
        else if (why_.rfind("unpacks to ", 0) == 0)
            why_.clear(); // it ended exactly
        if (!why_.empty())
            return false;
    }
    if (z_->z.avail_in > 0 || at_ < text_.size())
        why_ = "has text after its zlib data";
    return why_.empty();
}

} // namespace fontarel
