#include "model/map_block.h"

#include <algorithm>
#include <cstdio>

#include "model/code_page.h"
#include "model/labels.h"

namespace fontarel {

namespace {

// `rect` cut to the map in use; {} when nothing of it is left. Sums in 64 bits so that no
// coordinates, however large, overflow.
CellRect clip_to_map(const CharMap& map, CellRect rect) {
    if (rect.empty())
        return {};
    const long long left = std::max<long long>(rect.left, 0);
    const long long top = std::max<long long>(rect.top, 0);
    const long long right =
        std::min<long long>(static_cast<long long>(rect.left) + rect.width, map.cols);
    const long long bottom =
        std::min<long long>(static_cast<long long>(rect.top) + rect.height, map.rows);
    if (left >= right || top >= bottom)
        return {};
    return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
            static_cast<int>(bottom - top)};
}

bool valid_block(const MapBlock& block) {
    return !block.empty() && block.codes.size() >= static_cast<size_t>(block.width) *
                                                       static_cast<size_t>(block.height);
}

// ---- Reading text

bool is_space(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}
bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
bool is_alpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && is_space(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && is_space(s.back()))
        s.remove_suffix(1);
    return s;
}

// Digits of `base` as a value; -1 when empty, when any character is not such a digit, or when the
// value passes 255 (checked as it grows, so long runs of digits cannot overflow).
int digits_value(std::string_view digits, int base) {
    if (digits.empty())
        return -1;
    int value = 0;
    for (char c : digits) {
        const int d = base == 16 ? hex_digit_value(c) : (is_digit(c) ? c - '0' : -1);
        if (d < 0)
            return -1;
        value = value * base + d;
        if (value > 255)
            return -1;
    }
    return value;
}

// One number: `$xx`, `0xXX`, `0FFh`/`41h`, or decimal.
int number_value(std::string_view token) {
    if (token.empty())
        return -1;
    if (token.front() == '$')
        return digits_value(token.substr(1), 16);
    if (token.size() > 2 && token[0] == '0' && lower(token[1]) == 'x')
        return digits_value(token.substr(2), 16);
    if (lower(token.back()) == 'h')
        return digits_value(token.substr(0, token.size() - 1), 16);
    return digits_value(token, 10);
}

// Removes `/* ... */` comments (which may run over several lines: `in_comment` carries that state
// from line to line) and what follows `;` or `//`.
std::string strip_comments(std::string_view line, bool& in_comment) {
    std::string out;
    size_t i = 0;
    while (i < line.size()) {
        if (in_comment) {
            const size_t end = line.find("*/", i);
            if (end == std::string_view::npos)
                return out;
            in_comment = false;
            i = end + 2;
            out += ' ';
            continue;
        }
        const char c = line[i];
        if (c == ';')
            break;
        if (c == '/' && i + 1 < line.size() && line[i + 1] == '/')
            break;
        if (c == '/' && i + 1 < line.size() && line[i + 1] == '*') {
            in_comment = true;
            i += 2;
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

// A leading `name:` label, if any, removed.
std::string_view strip_label(std::string_view s) {
    size_t i = 0;
    if (i < s.size() && (is_alpha(s[i]) || s[i] == '_' || s[i] == '.' || s[i] == '@')) {
        ++i;
        while (i < s.size() && (is_alpha(s[i]) || is_digit(s[i]) || s[i] == '_' || s[i] == '.'))
            ++i;
        if (i < s.size() && s[i] == ':')
            return trim(s.substr(i + 1));
    }
    return s;
}

// A leading data directive, if any, removed.
std::string_view strip_directive(std::string_view s) {
    for (std::string_view directive : {".byte", "!byte", "defb"}) {
        if (s.size() < directive.size())
            continue;
        bool same = true;
        for (size_t i = 0; i < directive.size(); ++i)
            same = same && lower(s[i]) == directive[i];
        if (same && (s.size() == directive.size() || is_space(s[directive.size()])))
            return trim(s.substr(directive.size()));
    }
    return s;
}

enum class LineRead { Skip, Row, Bad };

// One line, comments already removed: skipped (blank, label, C declaration or closing brace), a row
// of values, or text that is none of the forms read.
LineRead read_line(std::string_view line, std::vector<uint8_t>& row) {
    std::string_view s = trim(line);
    if (s.empty() || s.front() == '#')
        return LineRead::Skip;
    // A C declaration: only what follows `=` can be data (`... = {` leaves nothing).
    if (const size_t eq = s.find('='); eq != std::string_view::npos)
        s = trim(s.substr(eq + 1));
    s = strip_directive(strip_label(s));
    // Braces only frame C rows; what is left is values separated by commas.
    std::string values;
    for (char c : s)
        values += (c == '{' || c == '}') ? ' ' : c;
    std::string_view rest = trim(values);
    if (rest.empty())
        return LineRead::Skip;
    row.clear();
    while (true) {
        const size_t comma = rest.find(',');
        const std::string_view token = trim(rest.substr(0, comma));
        if (comma == std::string_view::npos) {
            if (token.empty()) // after a trailing comma, as in C rows
                break;
        }
        const int value = number_value(token);
        if (value < 0)
            return LineRead::Bad;
        row.push_back(static_cast<uint8_t>(value));
        if (comma == std::string_view::npos)
            break;
        rest = rest.substr(comma + 1);
    }
    return LineRead::Row;
}

} // namespace

CellRect cells_between(const CharMap& map, int column0, int row0, int column1, int row1) {
    const long long left = std::min(column0, column1), right = std::max(column0, column1);
    const long long top = std::min(row0, row1), bottom = std::max(row0, row1);
    // Clip before building the rectangle, so that the widths of far-apart cells cannot overflow.
    const long long l = std::max<long long>(left, 0), r = std::min<long long>(right, map.cols - 1);
    const long long t = std::max<long long>(top, 0), b = std::min<long long>(bottom, map.rows - 1);
    if (l > r || t > b)
        return {};
    return {static_cast<int>(l), static_cast<int>(t), static_cast<int>(r - l + 1),
            static_cast<int>(b - t + 1)};
}

MapBlock copy_block(const CharMap& map, CellRect rect) {
    const CellRect r = clip_to_map(map, rect);
    MapBlock block{r.width, r.height, {}};
    block.codes.reserve(static_cast<size_t>(r.width) * r.height);
    block.attrs.reserve(block.codes.capacity());
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x) {
            block.codes.push_back(static_cast<uint8_t>(map.at(r.left + x, r.top + y)));
            block.attrs.push_back(map.attr(r.left + x, r.top + y));
        }
    return block;
}

CellRect paste_block(CharMap& map, const MapBlock& block, int left, int top) {
    if (!valid_block(block))
        return {};
    const CellRect r = clip_to_map(map, {left, top, block.width, block.height});
    // Offsets into the block of the clipped rectangle's first cell.
    const long long dx = static_cast<long long>(r.left) - left;
    const long long dy = static_cast<long long>(r.top) - top;
    const bool attrs = block.attrs.size() == block.codes.size();
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x) {
            const auto i = static_cast<size_t>((dy + y) * block.width + dx + x);
            map.at(r.left + x, r.top + y) = block.codes[i];
            if (attrs)
                map.attr(r.left + x, r.top + y) = block.attrs[i];
        }
    return r;
}

CharMap map_part(const CharMap& map, CellRect rect) {
    const CellRect r = clip_to_map(map, rect);
    CharMap part;
    part.look = map.look;
    part.cols = std::max(r.width, 1);
    part.rows = std::max(r.height, 1);
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x) {
            part.at(x, y) = map.at(r.left + x, r.top + y);
            part.attr(x, y) = map.attr(r.left + x, r.top + y);
        }
    return part;
}

void clear_block(CharMap& map, CellRect rect, uint8_t code) {
    const CellRect r = clip_to_map(map, rect);
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x) {
            map.at(r.left + x, r.top + y) = code;
            map.attr(r.left + x, r.top + y) = blank_attribute(map.look.machine);
        }
}

std::vector<uint8_t> block_bytes(const MapBlock& block) {
    if (!valid_block(block))
        return {};
    const size_t count = static_cast<size_t>(block.width) * block.height;
    std::vector<uint8_t> out = {static_cast<uint8_t>(block.width & 0xFF),
                                static_cast<uint8_t>((block.width >> 8) & 0xFF),
                                static_cast<uint8_t>(block.height & 0xFF),
                                static_cast<uint8_t>((block.height >> 8) & 0xFF)};
    out.insert(out.end(), block.codes.begin(), block.codes.begin() + static_cast<long>(count));
    if (block.attrs.size() == block.codes.size())
        out.insert(out.end(), block.attrs.begin(), block.attrs.begin() + static_cast<long>(count));
    return out;
}

std::optional<MapBlock> block_from_bytes(std::span<const uint8_t> bytes) {
    if (bytes.size() < 4)
        return std::nullopt;
    const int width = bytes[0] | (bytes[1] << 8);
    const int height = bytes[2] | (bytes[3] << 8);
    const auto count = static_cast<size_t>(width) * height;
    if (width < 1 || width > 255 || height < 1 || height > 255 ||
        (bytes.size() != 4 + count && bytes.size() != 4 + 2 * count))
        return std::nullopt;
    const auto codes = bytes.subspan(4, count);
    const auto attrs = bytes.subspan(4 + count);
    return MapBlock{width, height, {codes.begin(), codes.end()}, {attrs.begin(), attrs.end()}};
}

std::string block_text(const MapBlock& block) {
    if (!valid_block(block))
        return {};
    std::string out;
    for (int y = 0; y < block.height; ++y) {
        out += "        .byte ";
        for (int x = 0; x < block.width; ++x) {
            char text[8];
            std::snprintf(text, sizeof text, x ? ",$%02x" : "$%02x",
                          block.codes[static_cast<size_t>(y) * block.width + x]);
            out += text;
        }
        out += '\n';
    }
    return out;
}

std::optional<MapBlock> block_from_text(std::string_view text) {
    MapBlock block;
    std::vector<uint8_t> row;
    bool in_comment = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string line = strip_comments(text.substr(0, end), in_comment);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        switch (read_line(line, row)) {
        case LineRead::Skip:
            continue;
        case LineRead::Bad:
            return std::nullopt;
        case LineRead::Row:
            if (block.height > 0 && row.size() != static_cast<size_t>(block.width))
                return std::nullopt;
            block.width = static_cast<int>(row.size());
            block.codes.insert(block.codes.end(), row.begin(), row.end());
            ++block.height;
            break;
        }
    }
    if (block.empty())
        return std::nullopt;
    return block;
}

std::optional<uint8_t> typed_code(char32_t character, bool screen_codes) {
    if (!screen_codes)
        return code_page_code(character);
    if (character == '@')
        return 0;
    if (character >= 'A' && character <= 'Z')
        return static_cast<uint8_t>(character - 'A' + 1);
    if (character >= 'a' && character <= 'z')
        return static_cast<uint8_t>(character - 'a' + 1);
    if (character >= '[' && character <= '_')
        return static_cast<uint8_t>(character - '[' + 27);
    if (character >= ' ' && character <= '?')
        return static_cast<uint8_t>(character);
    // The machine's own characters at 28, 30 and 31, for keyboards that have them.
    switch (character) {
    case U'\u00A3': // pound sign
        return 28;
    case U'\u2191': // upwards arrow
        return 30;
    case U'\u2190': // leftwards arrow
        return 31;
    default:
        return std::nullopt;
    }
}

} // namespace fontarel
