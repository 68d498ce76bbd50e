#include "model/gzip.h"

#include <array>

#include "model/inflate.h"

namespace fontarel {

namespace {

// Why a file is refused; thrown only inside this file and turned into `why` by gunzip.
struct Corrupt {
    const char* why;
};

uint32_t read_word(std::span<const uint8_t> bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t{bytes[at + 3]} << 24;
}

// Where the deflate data begins after the header and its optional fields.
size_t skip_header(std::span<const uint8_t> bytes) {
    constexpr uint8_t kText = 1, kHeaderCrc = 2, kExtra = 4, kName = 8, kComment = 16;
    const auto need = [&](size_t end) {
        if (end > bytes.size())
            throw Corrupt{"the gzip header ends too soon"};
    };
    need(10);
    const uint8_t flags = bytes[3];
    if (flags & ~(kText | kHeaderCrc | kExtra | kName | kComment))
        throw Corrupt{"the gzip header has flags that are reserved"};
    size_t pos = 10;
    if (flags & kExtra) {
        need(pos + 2);
        pos += 2 + (bytes[pos] | bytes[pos + 1] << 8);
    }
    for (uint8_t field : {kName, kComment}) {
        if (!(flags & field))
            continue;
        while (pos < bytes.size() && bytes[pos] != 0)
            ++pos;
        ++pos; // the terminating zero
    }
    if (flags & kHeaderCrc) {
        need(pos + 2);
        const uint32_t crc = crc32(bytes.first(pos));
        if ((crc & 0xFFFF) != static_cast<uint32_t>(bytes[pos] | bytes[pos + 1] << 8))
            throw Corrupt{"the gzip header's CRC does not match"};
        pos += 2;
    }
    need(pos);
    return pos;
}

std::string limit_text(size_t limit) {
    constexpr size_t kMegabyte = size_t{1} << 20;
    return limit % kMegabyte == 0 ? std::to_string(limit / kMegabyte) + " MB"
                                  : std::to_string(limit) + " bytes";
}

} // namespace

bool is_gzip(std::span<const uint8_t> bytes) {
    return bytes.size() >= 3 && bytes[0] == 0x1F && bytes[1] == 0x8B && bytes[2] == 8;
}

uint32_t crc32(std::span<const uint8_t> bytes, uint32_t crc) {
    static const auto table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (uint8_t b : bytes)
        crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

bool gunzip(std::span<const uint8_t> bytes, std::vector<uint8_t>& out, std::string& why,
            size_t limit) {
    out.clear();
    if (!is_gzip(bytes)) {
        why = "is not gzip-compressed";
        return false;
    }
    try {
        const size_t start = skip_header(bytes);
        const InflateResult result = inflate(bytes.subspan(start), out, limit);
        if (result.status == InflateStatus::PastLimit) {
            why = "would unpack past " + limit_text(limit);
            out.clear();
            return false;
        }
        if (result.status != InflateStatus::Ok)
            throw Corrupt{result.why};
        const size_t end = start + result.used;
        if (end + 8 > bytes.size())
            throw Corrupt{"the gzip trailer is missing"};
        if (read_word(bytes, end) != crc32(out))
            throw Corrupt{"the CRC-32 does not match the data"};
        if (read_word(bytes, end + 4) != static_cast<uint32_t>(out.size()))
            throw Corrupt{"the length does not match the data"};
        return true;
    } catch (const Corrupt& c) {
        why = "corrupt gzip data: " + std::string(c.why);
    }
    out.clear();
    return false;
}

} // namespace fontarel
