#pragma once
// gzip files (RFC 1952), unpacked by zlib. A member is taken only when its header is whole, its
// output stays within a limit, and its CRC-32 and length agree with what it unpacks to.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace fontarel {

// The most a gzip file may unpack to (bytes): far more than any 8 x 8 font needs.
inline constexpr size_t kGunzipLimit = size_t{4} << 20;

// True when `bytes` begins with the gzip magic 1f 8b and the deflate method 8.
bool is_gzip(std::span<const uint8_t> bytes);

// Unpacks the first member of a gzip file into `out`. Further gzip members after it are ignored;
// any other bytes after it make the file corrupt. On failure returns false, leaves `out` empty and
// says in `why` what is wrong ("would unpack past 4 MB" when it holds more than `limit` bytes; the
// unpacking stops at the limit, so a file never costs more than `limit` bytes of memory).
bool gunzip(std::span<const uint8_t> bytes, std::vector<uint8_t>& out, std::string& why,
            size_t limit = kGunzipLimit);

} // namespace fontarel
