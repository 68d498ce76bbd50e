// BDF: each character with an ENCODING of 0-255 becomes the glyph of that code. The 8 x 8 cell
// has its lower left corner at the lower left corner of FONTBOUNDINGBOX, so a character whose BBX
// equals the font's box fills the cell: the program's own export (FONTBOUNDINGBOX 8 8 0 -1, every
// BBX 8 8 0 -1) reads back to the same bytes, and so do fonts whose characters are cut to their
// ink, as long as every part lies inside the cell.

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/font_import.h"
#include "model/labels.h"

namespace fontarel {

namespace {

constexpr size_t kShownNameLength = 40; // of a character's name in a message

// Lines of the file, without their line feed, carriage return or trailing blanks, counted from 1.
class LineReader {
  public:
    explicit LineReader(std::span<const uint8_t> bytes)
        : text_(reinterpret_cast<const char*>(bytes.data()), bytes.size()) {}

    bool next(std::string_view& line) {
        if (pos_ >= text_.size())
            return false;
        const size_t end = std::min(text_.find('\n', pos_), text_.size());
        line = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        ++number_;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        return true;
    }
    int number() const { return number_; }

  private:
    std::string_view text_;
    size_t pos_ = 0;
    int number_ = 0;
};

// The blank-separated words of a line.
std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    size_t pos = 0;
    while ((pos = line.find_first_not_of(" \t", pos)) != line.npos) {
        const size_t end = std::min(line.find_first_of(" \t", pos), line.size());
        out.push_back(line.substr(pos, end - pos));
        pos = end;
    }
    return out;
}

std::optional<int> integer(std::string_view word) {
    int value = 0;
    const char* end = word.data() + word.size();
    const auto [ptr, ec] = std::from_chars(word.data(), end, value);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

// `count` integers after the keyword, or none.
std::optional<std::vector<int>> integers(const std::vector<std::string_view>& w, size_t count) {
    if (w.size() < count + 1)
        return std::nullopt;
    std::vector<int> out;
    for (size_t i = 1; i <= count; ++i) {
        const auto v = integer(w[i]);
        if (!v)
            return std::nullopt;
        out.push_back(*v);
    }
    return out;
}

struct Box {
    int width = 0, height = 0, x = 0, y = 0; // pixels; x, y the lower left corner
};

struct Reader {
    LineReader lines;
    std::optional<Box> font_box;
    FontImport out;
    int outside = 0; // characters skipped for an encoding outside 0-255

    // "line 12: " and the text, as the error of the import.
    bool fail(const std::string& why) {
        out.error = "line " + std::to_string(lines.number()) + ": " + why;
        return false;
    }

    // One character, from the line after STARTCHAR to its ENDCHAR.
    bool character(std::string_view name) {
        const std::string shown =
            "character " + std::string(name.substr(0, kShownNameLength)) + " ";
        std::optional<int> encoding;
        std::optional<Box> box;
        for (std::string_view line; lines.next(line);) {
            const auto w = words(line);
            const std::string_view key = w.empty() ? std::string_view() : w[0];
            if (key == "ENCODING") {
                const auto v = integers(w, 1);
                if (!v)
                    return fail(shown + "has an ENCODING that is no number");
                encoding = (*v)[0];
            } else if (key == "BBX") {
                const auto v = integers(w, 4);
                if (!v || (*v)[0] < 0 || (*v)[1] < 0)
                    return fail(shown + "has a BBX that is not four numbers, width and height "
                                        "not negative");
                box = Box{(*v)[0], (*v)[1], (*v)[2], (*v)[3]};
            } else if (key == "BITMAP") {
                if (!box)
                    return fail(shown + "has a BITMAP before its BBX");
                if (!encoding)
                    return fail(shown + "has no ENCODING");
                // The rows and the ENDCHAR after them.
                std::array<uint8_t, kGlyphRows> rows{};
                if (!bitmap_rows(shown, *box, *encoding, rows))
                    return false;
                if (*encoding < 0 || *encoding >= kGlyphCount) {
                    ++outside;
                } else {
                    std::copy(rows.begin(), rows.end(), out.glyphs.glyph(*encoding).begin());
                    out.present[static_cast<size_t>(*encoding)] = true;
                }
                return true;
            } else if (key == "ENDCHAR") {
                return fail(shown + "has no BITMAP");
            } else if (key == "STARTCHAR" || key == "ENDFONT") {
                break;
            }
        }
        return fail(shown + "has no ENDCHAR");
    }

    // The BBX's rows of hexadecimal digits after BITMAP, then ENDCHAR; for an encoding of 0-255
    // the pixels placed in the cell.
    bool bitmap_rows(const std::string& shown, const Box& box, int encoding,
                     std::array<uint8_t, kGlyphRows>& rows) {
        const bool placed = encoding >= 0 && encoding < kGlyphCount;
        // Cell column of the box's left edge and cell row of its top row; 64 bits, since the
        // numbers of a hostile file may be anything an int holds.
        const int64_t left = int64_t{box.x} - font_box->x;
        const int64_t top = 7 - (int64_t{box.y} + box.height - 1 - font_box->y);
        if (placed && (box.width > 8 || box.height > 8))
            return fail(shown + "is " + std::to_string(box.width) + " × " +
                        std::to_string(box.height) + " pixels: wider or taller than 8");
        if (placed && box.height > 0 && box.width > 0 &&
            (left < 0 || left + box.width > 8 || top < 0 || top + box.height > 8))
            return fail(shown + "lies outside the 8 × 8 cell of FONTBOUNDINGBOX " +
                        std::to_string(font_box->width) + " " + std::to_string(font_box->height) +
                        " " + std::to_string(font_box->x) + " " + std::to_string(font_box->y));
        const size_t digits = 2 * ((static_cast<size_t>(box.width) + 7) / 8);
        std::string_view line;
        for (int r = 0; r < box.height; ++r) {
            if (!lines.next(line) || line == "ENDCHAR")
                return fail(shown + "has " + std::to_string(r) + " BITMAP rows; its BBX says " +
                            std::to_string(box.height));
            if (line.size() < digits || std::any_of(line.begin(), line.end(),
                                                    [](char c) { return hex_digit_value(c) < 0; }))
                return fail(shown + "has a BITMAP row that is not " + std::to_string(digits) +
                            " hexadecimal digits: " + std::string(line.substr(0, 20)));
            if (!placed || box.width == 0)
                continue;
            const int byte = hex_digit_value(line[0]) << 4 | hex_digit_value(line[1]);
            const int ink = byte & (0xFF00 >> box.width); // the pixels of the box, no padding
            rows[static_cast<size_t>(top + r)] = static_cast<uint8_t>(ink >> left);
        }
        if (!lines.next(line))
            return fail(shown + "has no ENDCHAR");
        if (line == "ENDCHAR")
            return true;
        if (!line.empty() &&
            std::all_of(line.begin(), line.end(), [](char c) { return hex_digit_value(c) >= 0; }))
            return fail(shown + "has more BITMAP rows than its BBX says (" +
                        std::to_string(box.height) + ")");
        return fail(shown + "has no ENDCHAR");
    }

    bool font() {
        std::string_view line;
        if (!lines.next(line) || line.rfind("STARTFONT", 0) != 0)
            return fail("is no BDF font: it does not begin with STARTFONT");
        while (lines.next(line)) {
            const auto w = words(line);
            const std::string_view key = w.empty() ? std::string_view() : w[0];
            if (key == "FONTBOUNDINGBOX") {
                const auto v = integers(w, 4);
                if (!v)
                    return fail("FONTBOUNDINGBOX is not four numbers");
                font_box = Box{(*v)[0], (*v)[1], (*v)[2], (*v)[3]};
            } else if (key == "STARTPROPERTIES") {
                while (lines.next(line) && line != "ENDPROPERTIES") {
                }
                if (line != "ENDPROPERTIES")
                    return fail("STARTPROPERTIES has no ENDPROPERTIES");
            } else if (key == "STARTCHAR") {
                if (!font_box)
                    return fail("a character comes before FONTBOUNDINGBOX");
                if (!character(w.size() > 1 ? w[1] : std::string_view("?")))
                    return false;
            } else if (key == "ENDFONT") {
                break;
            }
        }
        if (out.count() == 0)
            return fail("no character has an ENCODING of 0-255");
        if (outside > 0)
            out.note = std::to_string(outside) + (outside == 1 ? " glyph" : " glyphs") +
                       " outside 0-255 skipped";
        return true;
    }
};

} // namespace

FontImport import_bdf(std::span<const uint8_t> bytes) {
    Reader reader{LineReader(bytes), std::nullopt, FontImport{}, 0};
    if (!reader.font()) {
        FontImport failed;
        failed.error = reader.out.error;
        return failed;
    }
    return std::move(reader.out);
}

} // namespace fontarel
