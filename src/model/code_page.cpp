#include "model/code_page.h"

namespace fontarel {

namespace {

// Unicode code points of 0x80-0x9F; 0xFFFD marks the five codes Windows-1252 leaves unassigned.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

std::string to_utf8(char32_t cp) {
    std::string out;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

} // namespace

std::string code_page_char(uint8_t code) {
    if (code >= 0x80 && code < 0xA0) {
        return to_utf8(kHighControls[code - 0x80]);
    }
    return to_utf8(code); // ASCII and Latin-1 coincide with Unicode
}

std::optional<uint8_t> code_page_code(char32_t character) {
    if ((character >= 0x20 && character < 0x7F) || (character >= 0xA0 && character <= 0xFF))
        return static_cast<uint8_t>(character);
    if (character == 0xFFFD)
        return std::nullopt; // marks the unassigned codes in the table, not a character of the page
    for (int i = 0; i < 32; ++i)
        if (kHighControls[i] == character)
            return static_cast<uint8_t>(0x80 + i);
    return std::nullopt;
}

} // namespace fontarel
