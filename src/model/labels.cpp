#include "model/labels.h"

#include "model/code_page.h"

namespace fontarel {

namespace {

constexpr int kFirstPrintable = 32; // codes below this have no character part
constexpr int kCodes = 256;

} // namespace

std::string range_label_text(const std::string& prefix, int v) {
    std::string text = prefix + std::to_string(v);
    if (v >= kFirstPrintable && v < kCodes) {
        text += ":" + code_page_char(static_cast<uint8_t>(v));
    }
    return text;
}

namespace {

std::string two_hex_digits(int value) {
    static const char kHex[] = "0123456789ABCDEF";
    return {kHex[(value >> 4) & 15], kHex[value & 15]};
}

} // namespace

std::string char_title(const std::string& base, uint8_t code) {
    std::string t = base + " " + std::to_string(code) + "($" + two_hex_digits(code) + ")";
    if (code >= kFirstPrintable) {
        t += "'" + code_page_char(code) + "'";
    }
    return t;
}

std::string glyph_data_text(std::span<const uint8_t, 8> glyph) {
    std::string t;
    for (size_t y = 0; y < glyph.size(); ++y) {
        if (y > 0) {
            t += ',';
        }
        t += std::to_string(glyph[y]);
    }
    return t;
}

std::string map_title(int column, int row, int code) {
    return "Character map (" + std::to_string(column) + "," + std::to_string(row) +
           "):" + std::to_string(code) + "[" + two_hex_digits(code) + "]";
}

int hex_digit_value(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace fontarel
