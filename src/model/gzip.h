#pragma once
// gzip (RFC 1952) around deflate (RFC 1951, in inflate.h), unpacked with nothing but the standard
// library. A stream is taken only when its header is whole, its output stays within a limit, and
// its CRC-32 and length agree with what it unpacks to.

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

// Unpacks the first member of a gzip file into `out`; bytes after it are ignored. On failure
// returns false, leaves `out` empty and says in `why` what is wrong ("would unpack past 4 MB" when
// it holds more than `limit` bytes).
bool gunzip(std::span<const uint8_t> bytes, std::vector<uint8_t>& out, std::string& why,
            size_t limit = kGunzipLimit);

// The CRC-32 of gzip and PNG (polynomial edb88320), continued from `crc` (0 to start).
uint32_t crc32(std::span<const uint8_t> bytes, uint32_t crc = 0);

} // namespace fontarel
