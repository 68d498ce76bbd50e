// The data exports. The tiles are written tile after tile, each tile's character codes row by row
// and then, on a machine with colours, its cells' attribute bytes in the same order; the level is
// its tile numbers row by row, a byte each while the set has at most 256 tiles, else a 16-bit word
// each, low byte first; the materials and the tile tags are a byte a glyph and a byte a tile. The
// source formats are built of the same lines, constants and labels as the glyph and map exports;
// a level row longer than kNumbersALine numbers is split over several lines, so that no line grows
// with the level, and the materials and tags are kEntriesALine a line.

#include "formats/export_level.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <span>

#include "formats/export_asm.h"
#include "formats/export_c.h"

namespace fontarel {

namespace {

constexpr int kNumbersALine = 64;
constexpr size_t kEntriesALine = 16;

// What each export is called in a refusal, its label fallback and its default load address, in the
// order of DataExport.
constexpr struct {
    const char* owner;
    const char* label;
    int load_address;
} kDataExports[] = {{"the tiles'", kTilesLabelFallback, kTilesLoadAddress},
                    {"the level's", kLevelLabelFallback, kLevelLoadAddress},
                    {"the materials'", kMaterialsLabelFallback, kMaterialsLoadAddress},
                    {"the tile tags'", kTileTagsLabelFallback, kTileTagsLoadAddress}};

const auto& data_export_row(DataExport kind) {
    return kDataExports[static_cast<size_t>(kind)];
}

// The formats of the tile and level exports, in the order the usage names them; png and tmx are
// the level's alone.
constexpr ExportFormat kLevelFormats[] = {
    ExportFormat::Byte, ExportFormat::Acme, ExportFormat::Defb, ExportFormat::C,
    ExportFormat::Bin,  ExportFormat::Prg,  ExportFormat::Png,  ExportFormat::Tmx};

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
    bool decimal = false; // source numbers in decimal
    // Nonzero: the values from here on are a second table, LABEL_hi, after LABEL_lo.
    size_t split = 0;
};

// The label of the table that begins at `start`: LABEL, or LABEL_lo and LABEL_hi when split.
std::string label_at(const Table& table, std::string_view label, size_t start) {
    return std::string(label) + (table.split == 0 ? "" : start < table.split ? "_lo" : "_hi");
}

std::string as_assembler(const Table& table, AsmDialect dialect, std::string_view label) {
    std::string out = "; " + table.comment + "\n";
    for (const auto& [word, value] : table.constants)
        out += asm_constant(dialect, std::string(label) + "_" + word, value);
    const std::span<const uint16_t> values(table.values);
    std::vector<uint8_t> bytes;
    for (const Line& line : table.lines) {
        if (line.start == 0 || (table.split != 0 && line.start == table.split))
            out += label_at(table, label, line.start) + ":\n";
        const auto run = values.subspan(line.start, line.count);
        if (table.words) {
            out += asm_word_line(dialect, run, line.comment, table.decimal);
        } else {
            bytes.assign(run.begin(), run.end());
            out += asm_byte_line(dialect, bytes, line.comment, table.decimal);
        }
    }
    return out;
}

std::string as_c(const Table& table, std::string_view name) {
    std::string out = "/* " + (table.c_comment.empty() ? table.comment : table.c_comment) + " */\n";
    for (const auto& [word, value] : table.constants)
        out += c_define(name, word, value);
    const size_t first = table.split == 0 ? table.values.size() : table.split;
    const std::span<const uint16_t> values(table.values);
    std::vector<uint8_t> bytes;
    for (const Line& line : table.lines) {
        if (line.start == 0 || (table.split != 0 && line.start == table.split))
            out += (line.start == 0 ? "\n" : "};\n\n") +
                   c_array_head(table.words ? "unsigned short" : "unsigned char",
                                label_at(table, name, line.start),
                                line.start == 0 ? first : table.values.size() - first);
        const auto run = values.subspan(line.start, line.count);
        if (table.words) {
            out += c_word_line(run, line.comment, table.decimal);
        } else {
            bytes.assign(run.begin(), run.end());
            out += c_byte_line(bytes, line.comment, table.decimal);
        }
    }
    return out + "};\n";
}

// A table of 16-bit numbers as two tables of bytes, the low bytes and then the high bytes, each
// with the lines of the one table.
void split_words(Table& table) {
    const size_t n = table.values.size();
    std::vector<uint16_t> bytes(2 * n);
    for (size_t i = 0; i < n; ++i) {
        bytes[i] = table.values[i] & 0xFF;
        bytes[n + i] = table.values[i] >> 8;
    }
    table.values = std::move(bytes);
    table.words = false;
    table.split = n;
    table.comment += "; as two tables, the low bytes and then the high bytes";
    table.c_comment.clear();
    const size_t lines = table.lines.size();
    for (size_t k = 0; k < lines; ++k) {
        Line high = table.lines[k];
        high.start += n;
        table.lines.push_back(std::move(high));
    }
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
    if (colours || registers_alone(project.map))
        for (const RegisterConstant& c : register_constants(project.map))
            table.constants.push_back(c);
    const std::vector<uint8_t> data = tiles_data(project);
    table.values.assign(data.begin(), data.end());
    for (int t = 0; t < tiles.count(); ++t) {
        table.lines.push_back({size * t, cells, "tile " + std::to_string(t)});
        if (colours)
            table.lines.push_back(
                {size * t + cells, cells, "tile " + std::to_string(t) + " colours"});
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
    const std::string what =
        "level of " + std::to_string(cols) + " x " + std::to_string(rows) + " tile numbers, ";
    const std::string lines = cols <= kNumbersALine
                                  ? ", one row a line, row 0 first"
                                  : ", row by row from row 0, " + std::to_string(kNumbersALine) +
                                        " numbers a line at most";
    table.comment =
        what + (bytes == 1 ? "a byte each" : "a 16-bit word each, low byte first") + lines;
    if (bytes == 2)
        table.c_comment = what + "an unsigned short each" + lines;
    table.constants = {{"columns", cols}, {"rows", rows}, {"number_bytes", bytes}};
    if (registers_alone(project.map))
        for (const RegisterConstant& c : register_constants(project.map))
            table.constants.push_back(c);
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

// A table of one byte an entry (a glyph's material, a tile's tag), kEntriesALine entries a line,
// each line saying which `noun`s it holds; its one constant, `count`, is the number of entries.
Table byte_list_table(const std::vector<uint8_t>& data, const std::string& comment,
                      const std::string& noun) {
    Table table;
    table.comment = comment + ", " + std::to_string(kEntriesALine) + " a line";
    table.constants = {{"count", static_cast<int>(data.size())}};
    table.values.assign(data.begin(), data.end());
    for (size_t i = 0; i < data.size(); i += kEntriesALine) {
        const size_t count = std::min(kEntriesALine, data.size() - i);
        table.lines.push_back(
            {i, count,
             count == 1 ? noun + " " + std::to_string(i)
                        : noun + "s " + std::to_string(i) + "-" + std::to_string(i + count - 1)});
    }
    return table;
}

Table data_table(DataExport kind, const Project& project) {
    switch (kind) {
    case DataExport::Tiles:
        return tiles_table(project);
    case DataExport::Level:
        return level_table(project);
    case DataExport::Materials:
        return byte_list_table(materials_data(project),
                               "materials of 256 glyphs, a byte (0-15) each, glyph 0 first",
                               "glyph");
    case DataExport::TileTags:
        return byte_list_table(
            tile_tags_data(project),
            "tags of " + tiles_text(project.tiles.count()) + ", a byte each, tile 0 first", "tile");
    }
    return {};
}

// The bytes the binary formats of an export hold.
size_t data_bytes(DataExport kind, const Project& project) {
    switch (kind) {
    case DataExport::Tiles:
        return static_cast<size_t>(project.tiles.count()) * tile_bytes(project);
    case DataExport::Level:
        return static_cast<size_t>(project.level.cols()) * project.level.rows() *
               level_number_bytes(project);
    case DataExport::Materials:
        return project.charset.materials.size();
    case DataExport::TileTags:
        return static_cast<size_t>(project.tiles.count());
    }
    return 0;
}

// Empty when `bytes` fit in a PRG loaded at `load_address`, or the format is no PRG.
std::string prg_refusal(ExportFormat format, const char* what, size_t bytes, int load_address) {
    const size_t room = 0x10000 - static_cast<size_t>(load_address & 0xFFFF);
    if (format != ExportFormat::Prg || bytes <= room)
        return {};
    char address[8];
    std::snprintf(address, sizeof address, "$%04X", load_address & 0xFFFF);
    return std::string(what) + " " + std::to_string(bytes) +
           " bytes do not fit in a PRG loaded at " + address + ": it holds " +
           std::to_string(room) + (room == 1 ? " byte" : " bytes") + " at most";
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

std::vector<uint8_t> materials_data(const Project& project) {
    return {project.charset.materials.begin(), project.charset.materials.end()};
}

std::vector<uint8_t> tile_tags_data(const Project& project) {
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(project.tiles.count()));
    for (int t = 0; t < project.tiles.count(); ++t)
        out.push_back(project.tiles.tile(t).tag);
    return out;
}

const char* data_export_label_fallback(DataExport kind) {
    return data_export_row(kind).label;
}

int data_export_load_address(DataExport kind) {
    return data_export_row(kind).load_address;
}

std::string data_export_refusal(DataExport kind, ExportFormat format, const Project& project,
                                int load_address) {
    return prg_refusal(format, data_export_row(kind).owner, data_bytes(kind, project),
                       load_address);
}

std::string tiles_export_refusal(ExportFormat format, const Project& project, int load_address) {
    return data_export_refusal(DataExport::Tiles, format, project, load_address);
}

std::string level_export_refusal(ExportFormat format, const Project& project, int load_address) {
    return data_export_refusal(DataExport::Level, format, project, load_address);
}

bool read_data_region(std::string_view text, DataShape& shape) {
    int values[4];
    const char* at = text.data();
    const char* end = text.data() + text.size();
    for (int k = 0; k < 4; ++k) {
        const auto [next, error] = std::from_chars(at, end, values[k]);
        if (error != std::errc{} || values[k] < (k < 2 ? 0 : 1) || values[k] > kMaxLevelSide)
            return false;
        at = next;
        if (k < 3 && (at == end || *at++ != ','))
            return false;
    }
    if (at != end)
        return false;
    shape.x = values[0], shape.y = values[1], shape.w = values[2], shape.h = values[3];
    return true;
}

std::string data_region_text(const DataShape& shape) {
    return std::to_string(shape.x) + "," + std::to_string(shape.y) + "," + std::to_string(shape.w) +
           "," + std::to_string(shape.h);
}

std::string data_region_refusal(const DataShape& shape, int cols, int rows, std::string_view what,
                                std::string_view unit) {
    if (shape.x >= 0 && shape.y >= 0 && shape.h >= 1 && int64_t{shape.x} + shape.w <= cols &&
        int64_t{shape.y} + shape.h <= rows)
        return {};
    return "the region " + data_region_text(shape) + " is not inside the " + std::string(what) +
           " of " + std::to_string(cols) + " x " + std::to_string(rows) + " " + std::string(unit);
}

std::string data_shape_refusal(DataExport kind, const DataShape& shape, const Project& project) {
    if (!shape.part())
        return {};
    if (kind != DataExport::Level)
        return "a region is a part of the level";
    return data_region_refusal(shape, project.level.cols(), project.level.rows(), "level", "tiles");
}

Level level_part(const Level& level, const DataShape& shape) {
    Level part(shape.w, shape.h);
    std::vector<uint16_t> row(static_cast<size_t>(shape.w));
    for (int y = 0; y < shape.h; ++y) {
        for (int x = 0; x < shape.w; ++x)
            row[static_cast<size_t>(x)] = level.at(shape.x + x, shape.y + y);
        part.set_row(0, y, row);
    }
    return part;
}

Project shaped_project(const Project& project, const DataShape& shape) {
    Project out = project;
    if (shape.part())
        out.level = level_part(project.level, shape);
    if (shape.colours_only)
        for (int t = 0; t < out.tiles.count(); ++t)
            for (int y = 0; y < out.tiles.height(); ++y)
                for (int x = 0; x < out.tiles.width(); ++x) {
                    TileCell cell = out.tiles.cell(t, x, y);
                    if (cell.attr > 15) {
                        cell.attr &= 15;
                        out.tiles.set_cell(t, x, y, cell);
                    }
                }
    return out;
}

std::vector<uint8_t> export_data_file(DataExport kind, ExportFormat format, const Project& project,
                                      std::string_view label, int load_address,
                                      const DataShape& shape, std::string* note) {
    // The level's png is drawn, not written from a table: no kind takes it here.
    if (!takes(format, false) || !data_shape_refusal(kind, shape, project).empty())
        return {};
    const bool cut = shape.part() || shape.colours_only;
    const Project shaped = cut ? shaped_project(project, shape) : Project();
    const Project& p = cut ? shaped : project;
    if (!data_export_refusal(kind, format, p, load_address).empty())
        return {};
    Table table = data_table(kind, p);
    table.decimal = shape.decimal;
    if (shape.split_words && table.words)
        split_words(table);
    else if (shape.split_words && note != nullptr)
        *note = "every number fits a byte: one table written";
    return file_of(format, table, label, load_address);
}

std::vector<uint8_t> export_tiles_file(ExportFormat format, const Project& project,
                                       std::string_view label, int load_address) {
    return export_data_file(DataExport::Tiles, format, project, label, load_address);
}

std::vector<uint8_t> export_level_file(ExportFormat format, const Project& project,
                                       std::string_view label, int load_address) {
    return export_data_file(DataExport::Level, format, project, label, load_address);
}

std::vector<uint8_t> export_materials_file(ExportFormat format, const Project& project,
                                           std::string_view label, int load_address) {
    return export_data_file(DataExport::Materials, format, project, label, load_address);
}

std::vector<uint8_t> export_tile_tags_file(ExportFormat format, const Project& project,
                                           std::string_view label, int load_address) {
    return export_data_file(DataExport::TileTags, format, project, label, load_address);
}

} // namespace fontarel
