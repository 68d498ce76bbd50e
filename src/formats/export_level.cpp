// The tile and level exports. The tiles are written tile after tile, each tile's character codes
// row by row and then, on a machine with colours, its cells' attribute bytes in the same order;
// the level is its tile numbers row by row, a byte each while the set has at most 256 tiles, else
// a 16-bit word each, low byte first. The source formats are built of the same lines, constants
// and labels as the glyph and map exports; a level row longer than kNumbersALine numbers is split
// over several lines, so that no line grows with the level.

#include "formats/export_level.h"

#include <algorithm>
#include <cstdio>
#include <span>

#include "formats/export_asm.h"
#include "formats/export_c.h"

namespace fontarel {

namespace {

constexpr int kNumbersALine = 64;

// The formats of the tile and level exports, in the order the usage names them; png and tmx are
// the level's alone.
constexpr ExportFormat kLevelFormats[] = {ExportFormat::Byte, ExportFormat::Acme,
                                          ExportFormat::Defb, ExportFormat::C,
                                          ExportFormat::Bin,  ExportFormat::Prg,
                                          ExportFormat::Png,  ExportFormat::Tmx};

bool takes(ExportFormat format, bool level) {
    return std::find(std::begin(kLevelFormats), std::end(kLevelFormats), format) !=
               std::end(kLevelFormats) &&
           (level || (format != ExportFormat::Png && format != ExportFormat::Tmx));
}


// A data line of a table: `count` values from `start`, with the comment it ends in.
struct Line {
    size_t start, count;
    std::string comment;
};

// What a source file of the tiles or the level holds: the opening comment, the constants before
// the table, and the table's values (bytes, or 16-bit words) in lines.
struct Table {
    std::string comment;
    std::string c_comment; // when C says it otherwise: its numbers are values, not bytes
    std::vector<RegisterConstant> constants;
    std::vector<uint16_t> values;
    bool words = false;
    std::vector<Line> lines;
};

std::string as_assembler(const Table& table, AsmDialect dialect, std::string_view label) {
    std::string out = "; " + table.comment + "\n";
    for (const auto& [word, value] : table.constants)
        out += asm_constant(dialect, std::string(label) + "_" + word, value);
    out += std::string(label) + ":\n";
    const std::span<const uint16_t> values(table.values);
    std::vector<uint8_t> bytes;
    for (const Line& line : table.lines) {
        const auto run = values.subspan(line.start, line.count);
        if (table.words) {
            out += asm_word_line(dialect, run, line.comment);
        } else {
            bytes.assign(run.begin(), run.end());
            out += asm_byte_line(dialect, bytes, line.comment);
        }
    }
    return out;
}

std::string as_c(const Table& table, std::string_view name) {
    std::string out = "/* " + (table.c_comment.empty() ? table.comment : table.c_comment) + " */\n";
    for (const auto& [word, value] : table.constants)
        out += c_define(name, word, value);
    out += "\n" + c_array_head(table.words ? "unsigned short" : "unsigned char", name,
                               table.values.size());
    const std::span<const uint16_t> values(table.values);
    std::vector<uint8_t> bytes;
    for (const Line& line : table.lines) {
        const auto run = values.subspan(line.start, line.count);
        if (table.words) {
            out += c_word_line(run, line.comment);
        } else {
            bytes.assign(run.begin(), run.end());
            out += c_byte_line(bytes, line.comment);
        }
    }
    return out + "};\n";
}

// The bytes of the table as the binary formats hold them: a word low byte first.
std::vector<uint8_t> table_bytes(const Table& table) {
    std::vector<uint8_t> out;
    out.reserve(table.values.size() * (table.words ? 2 : 1));
    for (uint16_t v : table.values) {
        out.push_back(static_cast<uint8_t>(v & 0xFF));
        if (table.words)
            out.push_back(static_cast<uint8_t>(v >> 8));
    }
    return out;
}

std::vector<uint8_t> file_of(ExportFormat format, const Table& table, std::string_view label,
                             int load_address) {
    if (const auto d = asm_dialect(format)) {
        const std::string text = as_assembler(table, *d, label);
        return {text.begin(), text.end()};
    }
    switch (format) {
    case ExportFormat::C: {
        const std::string text = as_c(table, label);
        return {text.begin(), text.end()};
    }
    case ExportFormat::Bin:
        return table_bytes(table);
    case ExportFormat::Prg: {
        std::vector<uint8_t> out = {static_cast<uint8_t>(load_address & 0xFF),
                                    static_cast<uint8_t>(load_address >> 8 & 0xFF)};
        const std::vector<uint8_t> bytes = table_bytes(table);
        out.insert(out.end(), bytes.begin(), bytes.end());
        return out;
    }
    default:
        return {};
    }
}

// "1 tile", "64 tiles".
std::string tiles_text(int count) {
    return std::to_string(count) + (count == 1 ? " tile" : " tiles");
}

Table tiles_table(const Project& project) {
    const TileSet& tiles = project.tiles;
    const bool colours = exports_colours(project.map);
    const size_t cells = static_cast<size_t>(tiles.width()) * tiles.height();
    const size_t size = static_cast<size_t>(tile_bytes(project));
    Table table;
    table.comment = tiles_text(tiles.count()) + " of " + std::to_string(tiles.width()) + " x " +
                    std::to_string(tiles.height()) + " characters, " + std::to_string(size) +
                    " bytes a tile: its character codes row by row";
    if (colours)
        table.comment += ", then its cells' " + attribute_meaning(project.map) +
                         " in the same order, each on a line of its own";
    else
        table.comment += ", one tile a line";
    table.constants = {{"width", tiles.width()},
                       {"height", tiles.height()},
                       {"count", tiles.count()},
                       {"bytes", static_cast<int>(size)}};
    if (colours)
        for (const RegisterConstant& c : register_constants(project.map))
            table.constants.push_back(c);
    const std::vector<uint8_t> data = tiles_data(project);
    table.values.assign(data.begin(), data.end());
    for (int t = 0; t < tiles.count(); ++t) {
        table.lines.push_back({size * t, cells, "tile " + std::to_string(t)});
        if (colours)
            table.lines.push_back({size * t + cells, cells, "tile " + std::to_string(t) + " colours"});
    }
    return table;
}

// The level's tile numbers, without the lines of a source.
Table level_numbers(const Project& project) {
    const Level& level = project.level;
    Table table;
    table.words = level_number_bytes(project) == 2;
    table.values.reserve(static_cast<size_t>(level.cols()) * level.rows());
    for (int y = 0; y < level.rows(); ++y)
        for (int x = 0; x < level.cols(); ++x)
            table.values.push_back(level.at(x, y));
    return table;
}

Table level_table(const Project& project) {
    const int cols = project.level.cols(), rows = project.level.rows();
    const int bytes = level_number_bytes(project);
    Table table = level_numbers(project);
    const std::string what = "level of " + std::to_string(cols) + " x " + std::to_string(rows) +
                             " tile numbers, ";
    const std::string lines = cols <= kNumbersALine ? ", one row a line, row 0 first"
                                                    : ", row by row from row 0, " +
                                                          std::to_string(kNumbersALine) +
                                                          " numbers a line at most";
    table.comment =
        what + (bytes == 1 ? "a byte each" : "a 16-bit word each, low byte first") + lines;
    if (bytes == 2)
        table.c_comment = what + "an unsigned short each" + lines;
    table.constants = {{"columns", cols}, {"rows", rows}, {"number_bytes", bytes}};
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cols; x += kNumbersALine) {
            const int count = std::min(kNumbersALine, cols - x);
            std::string comment = "row " + std::to_string(y);
            if (count < cols)
                comment += ", columns " + std::to_string(x) + "-" + std::to_string(x + count - 1);
            table.lines.push_back({static_cast<size_t>(cols) * y + x, static_cast<size_t>(count),
                                   std::move(comment)});
        }
    return table;
}

// Empty when `bytes` fit in a PRG loaded at `load_address`, or the format is no PRG.
std::string prg_refusal(ExportFormat format, const char* what, size_t bytes, int load_address) {
    const size_t room = 0x10000 - static_cast<size_t>(load_address & 0xFFFF);
    if (format != ExportFormat::Prg || bytes <= room)
        return {};
    char address[8];
    std::snprintf(address, sizeof address, "$%04X", load_address & 0xFFFF);
    return std::string(what) + " " + std::to_string(bytes) + " bytes do not fit in a PRG loaded at " +
           address + ": it holds " + std::to_string(room) + (room == 1 ? " byte" : " bytes") +
           " at most";
}

} // namespace

std::optional<ExportFormat> level_export_format_named(std::string_view name, bool level) {
    const std::optional<ExportFormat> format = export_format_named(name);
    if (format && takes(*format, level))
        return format;
    return std::nullopt;
}

std::string level_export_format_names(bool level) {
    std::string out;
    for (ExportFormat format : kLevelFormats)
        if (takes(format, level))
            out += (out.empty() ? "" : ", ") + std::string(export_format_info(format).name);
    return out;
}

int tile_bytes(const Project& project) {
    const int cells = project.tiles.width() * project.tiles.height();
    return exports_colours(project.map) ? 2 * cells : cells;
}

int level_number_bytes(const Project& project) {
    return project.tiles.count() <= 256 ? 1 : 2;
}

std::vector<uint8_t> tiles_data(const Project& project) {
    const TileSet& tiles = project.tiles;
    const bool colours = exports_colours(project.map);
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(tiles.count()) * tile_bytes(project));
    for (int t = 0; t < tiles.count(); ++t) {
        for (int y = 0; y < tiles.height(); ++y)
            for (int x = 0; x < tiles.width(); ++x)
                out.push_back(tiles.cell(t, x, y).code);
        if (colours)
            for (int y = 0; y < tiles.height(); ++y)
                for (int x = 0; x < tiles.width(); ++x)
                    out.push_back(tiles.cell(t, x, y).attr);
    }
    return out;
}

std::vector<uint8_t> level_data(const Project& project) {
    return table_bytes(level_numbers(project));
}

std::string tiles_export_refusal(ExportFormat format, const Project& project, int load_address) {
    return prg_refusal(format, "the tiles'",
                       static_cast<size_t>(project.tiles.count()) * tile_bytes(project),
                       load_address);
}

std::string level_export_refusal(ExportFormat format, const Project& project, int load_address) {
    return prg_refusal(format, "the level's",
                       static_cast<size_t>(project.level.cols()) * project.level.rows() *
                           level_number_bytes(project),
                       load_address);
}

std::vector<uint8_t> export_tiles_file(ExportFormat format, const Project& project,
                                       std::string_view label, int load_address) {
    if (!takes(format, false) || !tiles_export_refusal(format, project, load_address).empty())
        return {};
    return file_of(format, tiles_table(project), label, load_address);
}

std::vector<uint8_t> export_level_file(ExportFormat format, const Project& project,
                                       std::string_view label, int load_address) {
    if (!takes(format, true) || !level_export_refusal(format, project, load_address).empty())
        return {};
    return file_of(format, level_table(project), label, load_address);
}

} // namespace fontarel
