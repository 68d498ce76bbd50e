#include "formats/gzip.h"

#include <algorithm>
#include <cstring>

#include <zlib.h>

namespace fontarel {

namespace {

std::string limit_text(size_t limit) {
    constexpr size_t kMegabyte = size_t{1} << 20;
    return limit % kMegabyte == 0 ? std::to_string(limit / kMegabyte) + " MB"
                                  : std::to_string(limit) + " bytes";
}

// zlib's own words for the faults a user can meet, in the program's; any other text of zlib's
// (a broken Huffman table, a distance too far back) is passed on as it is.
const char* plain_words(const char* zlib_message) {
    static constexpr struct {
        const char* zlib;
        const char* ours;
    } kWords[] = {
        {"incorrect data check", "the CRC-32 does not match the data"},
        {"incorrect length check", "the length does not match the data"},
        {"unknown header flags set", "the gzip header has flags that are reserved"},
        {"header crc mismatch", "the gzip header's CRC does not match"},
        {"invalid block type", "a block of the reserved type 3"},
    };
    if (!zlib_message)
        return "the data is not deflate";
    for (const auto& w : kWords)
        if (std::strcmp(zlib_message, w.zlib) == 0)
            return w.ours;
    return zlib_message;
}

// One zlib stream that reads a gzip member (windowBits 16 + 15) or, given -15, raw deflate data;
// ended on every path.
class GzipStream {
  public:
    explicit GzipStream(int window_bits = 16 + MAX_WBITS) {
        ok_ = inflateInit2(&z_, window_bits) == Z_OK;
    }
    ~GzipStream() {
        if (ok_)
            inflateEnd(&z_);
    }
    GzipStream(const GzipStream&) = delete;
    GzipStream& operator=(const GzipStream&) = delete;

    bool ok() const { return ok_; }
    z_stream& z() { return z_; }
    gz_header& header() { return header_; }

  private:
    z_stream z_{};
    gz_header header_{};
    bool ok_ = false;
};

// Where the deflate data of a member whose header is whole begins: past the 10 fixed bytes, the
// extra field, the name, the comment and the header's CRC, as its flags say.
size_t header_length(std::span<const uint8_t> bytes) {
    constexpr uint8_t kHeaderCrc = 2, kExtra = 4, kName = 8, kComment = 16;
    const uint8_t flags = bytes[3];
    size_t pos = 10; // the header is whole: its fixed bytes and the extra field's length are there
    if (flags & kExtra)
        pos += 2 + (bytes[pos] | bytes[pos + 1] << 8);
    for (const uint8_t text : {kName, kComment})
        if (flags & text) {
            while (pos < bytes.size() && bytes[pos] != 0)
                ++pos;
            ++pos; // the terminating zero
        }
    if (flags & kHeaderCrc)
        pos += 2;
    return std::min(pos, bytes.size());
}

// Whether the deflate data from `start` on is whole: cut short, a member lacks only its trailer.
// The data is inflated again into a scratch buffer and thrown away; it was inflated once already
// within the limit, so this costs no more than that.
bool deflate_data_whole(std::span<const uint8_t> bytes, size_t start) {
    GzipStream raw(-MAX_WBITS);
    z_stream& z = raw.z();
    std::vector<uint8_t> scratch(size_t{1} << 16);
    z.next_in = const_cast<Bytef*>(bytes.data() + start);
    z.avail_in = static_cast<uInt>(std::min<size_t>(bytes.size() - start, UINT32_MAX));
    int status = raw.ok() ? Z_OK : Z_STREAM_ERROR;
    while (status == Z_OK) {
        z.next_out = scratch.data();
        z.avail_out = static_cast<uInt>(scratch.size());
        status = inflate(&z, Z_NO_FLUSH);
    }
    return status == Z_STREAM_END;
}

} // namespace

bool is_gzip(std::span<const uint8_t> bytes) {
    return bytes.size() >= 3 && bytes[0] == 0x1F && bytes[1] == 0x8B && bytes[2] == 8;
}

bool gunzip(std::span<const uint8_t> bytes, std::vector<uint8_t>& out, std::string& why,
            size_t limit) {
    out.clear();
    if (!is_gzip(bytes)) {
        why = "is not gzip-compressed";
        return false;
    }
    const auto corrupt = [&](const char* what) {
        out.clear();
        why = "corrupt gzip data: " + std::string(what);
        return false;
    };
    GzipStream stream;
    if (!stream.ok())
        return corrupt("zlib could not start");
    z_stream& z = stream.z();
    inflateGetHeader(&z, &stream.header()); // marks when the header has been read whole
    // zlib counts in uInt; a font file is far below its range, and a larger input is cut to it,
    // which reads as a truncated member.
    z.next_in = const_cast<Bytef*>(bytes.data());
    z.avail_in = static_cast<uInt>(std::min<size_t>(bytes.size(), UINT32_MAX));

    // The output grows as the data comes, up to one byte past the limit: that byte, if it comes,
    // says the file would unpack past the limit, and nothing more is inflated.
    size_t produced = 0;
    int status = Z_OK;
    while (status == Z_OK) {
        if (produced == out.size()) {
            if (out.size() > limit)
                break;
            out.resize(std::min(std::max<size_t>(out.size() * 2, 4096), limit + 1));
        }
        z.next_out = out.data() + produced;
        z.avail_out = static_cast<uInt>(out.size() - produced);
        status = inflate(&z, Z_NO_FLUSH);
        produced = out.size() - z.avail_out;
        if (status == Z_BUF_ERROR && z.avail_in == 0)
            break; // no progress possible: the input ran out
    }
    if (produced > limit) {
        out.clear();
        why = "would unpack past " + limit_text(limit);
        return false;
    }
    if (status == Z_OK || status == Z_BUF_ERROR) {
        if (stream.header().done != 1)
            return corrupt("the gzip header ends too soon");
        return corrupt(deflate_data_whole(bytes, header_length(bytes))
                           ? "the gzip trailer is missing"
                           : "the compressed data ends too soon");
    }
    if (status != Z_STREAM_END)
        return corrupt(plain_words(z.msg));
    const auto rest = bytes.last(z.avail_in);
    if (!rest.empty() && !is_gzip(rest))
        return corrupt("bytes that are not gzip follow the data");
    out.resize(produced);
    return true;
}

} // namespace fontarel
