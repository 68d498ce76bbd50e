#pragma once
// Deflate (RFC 1951): stored, fixed and dynamic Huffman blocks, unpacked with nothing but the
// standard library. Made for hostile input: every code table is checked for over-subscription and
// for the incomplete codes the format does not allow, every length and distance against its range
// and the data already unpacked, and the output against a limit.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace fontarel {

enum class InflateStatus { Ok, Corrupt, PastLimit };

struct InflateResult {
    InflateStatus status = InflateStatus::Corrupt;
    size_t used = 0;           // Ok: bytes of the input up to the end of the last block
    const char* why = nullptr; // Corrupt: what is wrong, e.g. "an over-subscribed Huffman code"
};

// Appends the unpacked data of the deflate stream at the start of `bytes` to `out`, never
// letting `out` grow past `limit` bytes; what it appended stays there on failure.
InflateResult inflate(std::span<const uint8_t> bytes, std::vector<uint8_t>& out, size_t limit);

} // namespace fontarel
