#include "model/inflate.h"

#include <array>

namespace fontarel {

namespace {

constexpr int kMaxBits = 15;       // the longest Huffman code of deflate
constexpr int kLengthCodes = 286;  // literal/length symbols a dynamic block may declare
constexpr int kDistanceCodes = 30; // distance symbols a dynamic block may declare
constexpr int kFixedLiterals = 288;

// Why a stream is refused; thrown only inside this file and turned into the result by inflate. A
// null `why` is the limit reached.
struct Corrupt {
    const char* why;
};

// Bits of the deflate stream, least significant first, as RFC 1951 packs them.
class BitReader {
  public:
    explicit BitReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    // The next n bits (0-16) as a number, the first read the least significant.
    uint32_t bits(int n) {
        uint32_t value = bit_buffer_;
        while (bit_count_ < n) {
            if (pos_ == bytes_.size())
                throw Corrupt{"the compressed data ends too soon"};
            value |= uint32_t{bytes_[pos_++]} << bit_count_;
            bit_count_ += 8;
        }
        bit_buffer_ = value >> n;
        bit_count_ -= n;
        return value & ((uint32_t{1} << n) - 1);
    }
    // Drops the bits left of the current byte; the next read starts on a byte boundary.
    void align() {
        bit_buffer_ = 0;
        bit_count_ = 0;
    }
    uint8_t byte() {
        if (pos_ == bytes_.size())
            throw Corrupt{"the compressed data ends too soon"};
        return bytes_[pos_++];
    }
    size_t position() const { return pos_; }

  private:
    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
    uint32_t bit_buffer_ = 0;
    int bit_count_ = 0;
};

// A canonical Huffman code: how many codes of each length, and the symbols in code order.
struct Huffman {
    std::array<uint16_t, kMaxBits + 1> count{};
    std::array<uint16_t, kFixedLiterals> symbol{};
};

// Builds the code of `lengths` (one a symbol, 0 = unused). Returns the codes left unused: 0 for a
// complete code, more for an incomplete one; throws for an over-subscribed one.
int build(Huffman& h, std::span<const uint8_t> lengths) {
    h.count.fill(0);
    for (uint8_t len : lengths)
        ++h.count[len];
    if (h.count[0] == lengths.size())
        return 0; // no codes: complete, and any decode of it fails
    int left = 1;
    for (int len = 1; len <= kMaxBits; ++len) {
        left = 2 * left - h.count[len];
        if (left < 0)
            throw Corrupt{"an over-subscribed Huffman code"};
    }
    std::array<uint16_t, kMaxBits + 1> offsets{};
    for (int len = 1; len < kMaxBits; ++len)
        offsets[len + 1] = static_cast<uint16_t>(offsets[len] + h.count[len]);
    for (size_t s = 0; s < lengths.size(); ++s)
        if (lengths[s] != 0)
            h.symbol[offsets[lengths[s]]++] = static_cast<uint16_t>(s);
    return left;
}

bool lone_one_bit_code(const Huffman& h, size_t symbols) {
    return h.count[1] == 1 && symbols - h.count[0] == 1;
}

int decode(BitReader& in, const Huffman& h) {
    int code = 0, first = 0, index = 0;
    for (int len = 1; len <= kMaxBits; ++len) {
        code |= static_cast<int>(in.bits(1));
        const int count = h.count[len];
        if (code - count < first)
            return h.symbol[static_cast<size_t>(index + (code - first))];
        index += count;
        first = (first + count) << 1;
        code <<= 1;
    }
    throw Corrupt{"a code that the block's Huffman table lacks"};
}

constexpr std::array<uint16_t, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                                  15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                                  67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<uint16_t, 30> kDistanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<uint8_t, 30> kDistanceExtra = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                    4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                    9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

struct Inflater {
    BitReader& in;
    std::vector<uint8_t>& out;
    size_t limit;

    void put(uint8_t byte) {
        if (out.size() == limit)
            throw Corrupt{nullptr}; // past the limit: gunzip words it
        out.push_back(byte);
    }

    void stored() {
        in.align();
        const int len = in.byte();
        const int len_high = in.byte();
        const int complement = in.byte();
        const int complement_high = in.byte();
        if ((len | len_high << 8) != (~(complement | complement_high << 8) & 0xFFFF))
            throw Corrupt{"a stored block whose length and its complement disagree"};
        for (int i = 0; i < (len | len_high << 8); ++i)
            put(in.byte());
    }

    void codes(const Huffman& literals, const Huffman& distances) {
        for (;;) {
            int symbol = decode(in, literals);
            if (symbol < 256) {
                put(static_cast<uint8_t>(symbol));
                continue;
            }
            if (symbol == 256)
                return;
            symbol -= 257;
            if (symbol >= static_cast<int>(kLengthBase.size()))
                throw Corrupt{"a length code past 285"};
            const size_t length = kLengthBase[symbol] + in.bits(kLengthExtra[symbol]);
            const int d = decode(in, distances);
            if (d >= kDistanceCodes)
                throw Corrupt{"a distance code past 29"};
            const size_t distance = kDistanceBase[d] + in.bits(kDistanceExtra[d]);
            if (distance > out.size())
                throw Corrupt{"a distance back past the start of the data"};
            for (size_t i = 0; i < length; ++i)
                put(out[out.size() - distance]);
        }
    }

    void fixed() {
        static const auto tables = [] {
            std::array<uint8_t, kFixedLiterals + kDistanceCodes> lengths{};
            for (int s = 0; s < kFixedLiterals; ++s)
                lengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
            for (int s = 0; s < kDistanceCodes; ++s)
                lengths[kFixedLiterals + s] = 5;
            std::array<Huffman, 2> h;
            build(h[0], std::span(lengths).first(kFixedLiterals));
            build(h[1], std::span(lengths).subspan(kFixedLiterals));
            return h;
        }();
        codes(tables[0], tables[1]);
    }

    void dynamic() {
        const int literal_count = static_cast<int>(in.bits(5)) + 257;
        const int distance_count = static_cast<int>(in.bits(5)) + 1;
        const int length_count = static_cast<int>(in.bits(4)) + 4;
        if (literal_count > kLengthCodes || distance_count > kDistanceCodes)
            throw Corrupt{"a block that declares too many codes"};
        static constexpr std::array<uint8_t, 19> kOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                           11, 4,  12, 3, 13, 2, 14, 1, 15};
        std::array<uint8_t, 19> length_lengths{};
        for (int i = 0; i < length_count; ++i)
            length_lengths[kOrder[i]] = static_cast<uint8_t>(in.bits(3));
        Huffman lengths_code;
        if (build(lengths_code, length_lengths) != 0)
            throw Corrupt{"an incomplete code of code lengths"};

        std::array<uint8_t, kLengthCodes + kDistanceCodes> lengths{};
        const int total = literal_count + distance_count;
        for (int i = 0; i < total;) {
            const int symbol = decode(in, lengths_code);
            if (symbol < 16) {
                lengths[i++] = static_cast<uint8_t>(symbol);
                continue;
            }
            uint8_t value = 0;
            int repeat = 0;
            if (symbol == 16) {
                if (i == 0)
                    throw Corrupt{"a repeat with no length before it"};
                value = lengths[i - 1];
                repeat = 3 + static_cast<int>(in.bits(2));
            } else {
                repeat = symbol == 17 ? 3 + static_cast<int>(in.bits(3))
                                      : 11 + static_cast<int>(in.bits(7));
            }
            if (i + repeat > total)
                throw Corrupt{"code lengths past the declared count"};
            while (repeat-- > 0)
                lengths[i++] = value;
        }
        if (lengths[256] == 0)
            throw Corrupt{"a block without an end code"};
        // An incomplete code is taken only as a single code of one bit: RFC 1951 allows it for
        // distances, and a block of nothing but its end code has one for its literals.
        Huffman literals, distances;
        const auto lit = std::span(lengths).first(static_cast<size_t>(literal_count));
        const auto dist =
            std::span(lengths).subspan(static_cast<size_t>(literal_count), distance_count);
        if (build(literals, lit) != 0 && !lone_one_bit_code(literals, lit.size()))
            throw Corrupt{"an incomplete literal code"};
        if (build(distances, dist) != 0 && !lone_one_bit_code(distances, dist.size()))
            throw Corrupt{"an incomplete distance code"};
        codes(literals, distances);
    }
};

} // namespace

InflateResult inflate(std::span<const uint8_t> bytes, std::vector<uint8_t>& out, size_t limit) {
    BitReader in(bytes);
    Inflater inflater{in, out, limit};
    try {
        for (bool last = false; !last;) {
            last = in.bits(1) != 0;
            switch (in.bits(2)) {
            case 0:
                inflater.stored();
                break;
            case 1:
                inflater.fixed();
                break;
            case 2:
                inflater.dynamic();
                break;
            default:
                throw Corrupt{"a block of the reserved type 3"};
            }
        }
    } catch (const Corrupt& c) {
        return {c.why == nullptr ? InflateStatus::PastLimit : InflateStatus::Corrupt, 0, c.why};
    }
    return {InflateStatus::Ok, in.position(), nullptr};
}

} // namespace fontarel
