// Koala paintings (see koala.h).

#include "formats/koala.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "formats/font_import.h"

namespace fontarel {

namespace {

constexpr size_t kAddressBytes = 2;
constexpr int kCols = 40, kRows = 25, kCells = kCols * kRows;
constexpr size_t kBitmap = kAddressBytes;                // 8 bytes a cell
constexpr size_t kScreen = kBitmap + size_t{8} * kCells; // 01 colour << 4 | 10 colour
constexpr size_t kColour = kScreen + kCells;             // 11 colour
constexpr size_t kBackground = kColour + kCells;
constexpr size_t kWholeSize = kBackground + 1;

} // namespace

bool is_koala(std::span<const uint8_t> bytes) {
    return (bytes.size() == kWholeSize || bytes.size() == kBackground) && !is_picture(bytes);
}

bool has_koala_name(std::string_view path) {
    if (path.size() < 4)
        return false;
    std::string end(path.substr(path.size() - 4));
    std::transform(end.begin(), end.end(), end.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return end == ".koa" || end == ".kla";
}

EntryPicture decode_koala(std::span<const uint8_t> bytes, int& background) {
    background = 0;
    if (bytes.size() != kWholeSize && bytes.size() != kBackground)
        return {};
    if (bytes.size() == kWholeSize)
        background = bytes[kBackground] & 15;
    EntryPicture out{kCols, kRows, 1, std::vector<uint8_t>(size_t{32} * kCells)};
    for (int cell = 0; cell < kCells; ++cell) {
        const size_t c = static_cast<size_t>(cell);
        const uint8_t colours[4] = {static_cast<uint8_t>(background),
                                    static_cast<uint8_t>(bytes[kScreen + c] >> 4),
                                    static_cast<uint8_t>(bytes[kScreen + c] & 15),
                                    static_cast<uint8_t>(bytes[kColour + c] & 15)};
        uint8_t* first = out.entry.data() + static_cast<size_t>(8 * (cell / kCols)) * 4 * kCols +
                         4 * (cell % kCols);
        for (int r = 0; r < 8; ++r) {
            const unsigned byte = bytes[kBitmap + 8 * c + static_cast<size_t>(r)];
            for (int p = 0; p < 4; ++p)
                first[r * 4 * kCols + p] = colours[byte >> (6 - 2 * p) & 3];
        }
    }
    return out;
}

ScreenImport import_koala(std::span<const uint8_t> bytes, MulticolourChoice choice) {
    int background = 0;
    const EntryPicture painting = decode_koala(bytes, background);
    if (painting.cols == 0) {
        ScreenImport out;
        out.error = "is " + std::to_string(bytes.size()) +
                    " bytes: a Koala painting is 10003 (10002 without the background byte)";
        return out;
    }
    choice.background = background;
    return import_multicolour_entries(painting, choice);
}

} // namespace fontarel
