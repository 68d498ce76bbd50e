#pragma once
// Readers of the assembler and C sources the exports write, for the tests to compare what a source
// holds with the bytes that went in. Each line must be one the exporter writes; anything else is a
// test failure.

#include <gtest/gtest.h>

#include <cstdint>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "formats/export_asm.h"

namespace fontarel::test {

using Bytes = std::vector<uint8_t>;
using Constants = std::vector<std::pair<std::string, int>>;

inline std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

// A value of a data line as memory holds it: a byte, or a 16-bit word low byte first.
inline void append_value(Bytes& out, const std::string& digits) {
    const int v = std::stoi(digits, nullptr, 16);
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    if (digits.size() == 4)
        out.push_back(static_cast<uint8_t>(v >> 8));
}

// The bytes the data lines of an assembler text assemble to, each value checked against the
// dialect's notation (bytes of 2 digits after the byte directive, words of 4 after the word
// directive); `comments` gets the comment of each data line, `label` the line ending in ':', and
// `constants` the lines "name = value" (6502) or "name EQU value" (Z80).
inline Bytes parse_assembler(const std::string& text, AsmDialect dialect,
                             std::vector<std::string>& comments, std::string& label,
                             Constants* constants = nullptr) {
    const char* const directives[][2] = {{R"(\.byte)", R"(\.word)"},
                                         {"!byte", "!word"},
                                         {"defb", "defw"}};
    const auto& d = directives[static_cast<int>(dialect)];
    const std::regex data(std::string(R"(^ +()") + d[0] + "|" + d[1] + R"() (\S+) ; (.*)$)");
    const std::regex byte(dialect == AsmDialect::Defb ? R"(0([0-9A-F]{2})h)"
                                                      : R"(\$([0-9a-f]{2}))");
    const std::regex word(dialect == AsmDialect::Defb ? R"(0([0-9A-F]{4})h)"
                                                      : R"(\$([0-9a-f]{4}))");
    const std::regex constant(dialect == AsmDialect::Defb ? R"(^(\w+) EQU (\d+)$)"
                                                          : R"(^(\w+) = (\d+)$)");
    Bytes out;
    for (const std::string& line : lines_of(text)) {
        std::smatch m;
        if (std::regex_match(line, m, data)) {
            // Of the directives only the word directives (.word, !word, defw) hold a 'w'.
            const bool words = m[1].str().find('w') != std::string::npos;
            comments.push_back(m[3]);
            std::istringstream list(m[2]);
            for (std::string v; std::getline(list, v, ',');) {
                std::smatch vm;
                EXPECT_TRUE(std::regex_match(v, vm, words ? word : byte)) << v;
                if (vm.size() > 1)
                    append_value(out, vm[1]);
            }
        } else if (!line.empty() && line.back() == ':') {
            label = line.substr(0, line.size() - 1);
        } else if (constants != nullptr && std::regex_match(line, m, constant)) {
            constants->emplace_back(m[1], std::stoi(m[2]));
        } else {
            EXPECT_EQ(line.rfind("; ", 0), 0u) << "neither data, label nor comment: " << line;
        }
    }
    return out;
}

// The array of a C text: its type and declared size (in elements), its values as memory holds
// them (an unsigned short low byte first), its line comments; the defines by name.
struct CArray {
    std::string type;
    std::string name;
    size_t size = 0;
    Bytes values;
    std::vector<std::string> comments;
    Constants defines;
};
inline CArray parse_c(const std::string& text) {
    CArray out;
    const std::regex head(R"(^const (unsigned char|unsigned short) (\w+)\[(\d+)\] = \{$)");
    const std::regex row(R"(^    ((?:0x[0-9a-f]{2}, )*0x[0-9a-f]{2},) /\* (.*) \*/$)");
    const std::regex word_row(R"(^    ((?:0x[0-9a-f]{4}, )*0x[0-9a-f]{4},) /\* (.*) \*/$)");
    const std::regex define(R"(^#define (\w+) (\d+)$)");
    for (const std::string& line : lines_of(text)) {
        std::smatch m;
        if (std::regex_match(line, m, head)) {
            out.type = m[1];
            out.name = m[2];
            out.size = std::stoul(m[3]);
        } else if (std::regex_match(line, m, out.type == "unsigned short" ? word_row : row)) {
            out.comments.push_back(m[2]);
            std::istringstream list(m[1]);
            for (std::string v; std::getline(list, v, ',');) {
                const size_t x = v.find("0x");
                if (x != std::string::npos)
                    append_value(out.values, v.substr(x + 2));
            }
        } else if (std::regex_match(line, m, define)) {
            out.defines.emplace_back(m[1], std::stoi(m[2]));
        } else {
            EXPECT_TRUE(line.empty() || line == "};" || line.rfind("/* ", 0) == 0) << line;
        }
    }
    return out;
}

} // namespace fontarel::test
