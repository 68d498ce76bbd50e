#include "formats/opened_project.h"

#include <algorithm>

#include "formats/ctm.h"
#include "formats/font_bytes.h"
#include "formats/font_import.h"
#include "formats/koala.h"
#include "formats/picture_import.h"
#include "model/colour.h"

namespace fontarel {

namespace {

bool font_kind(std::span<const uint8_t> start) {
    const FontFileKind kind = detect_font_kind(start);
    return kind == FontFileKind::Psf1 || kind == FontFileKind::Psf2 || kind == FontFileKind::Gzip ||
           kind == FontFileKind::Bdf;
}

// A Koala painting by its content, or by its name when it is no other picture; the order in which
// Open... asks, after a CTM project.
bool names_painting(const std::string& path, std::span<const uint8_t> start) {
    return is_koala(start) || (has_koala_name(path) && !is_picture(start));
}

// The program's data as it starts: a blank charset, the start map, the first glyph colours, one
// blank tile and a blank level.
Project start_project() {
    Project p;
    p.colour0 = kStartClearColour;
    p.colour1 = kStartSetColour;
    fill_start_map(p.map);
    return p;
}

} // namespace

void fill_start_map(CharMap& map) {
    for (auto& row : map.cells)
        for (int x = 0; x < kMapCapacityCols; ++x)
            row[x] = x + 32;
    map.cols = 40;
    map.rows = 24;
}

OpenedRead opened_read(const std::string& path, std::span<const uint8_t> start) {
    if (is_ctm(start))
        return {static_cast<int64_t>(kLargestCtm), true};
    if (names_painting(path, start) || font_kind(start))
        return {kLargestImport, true};
    if (is_project(start))
        return {kLargestProject, true};
    return {font_load_count(kCharsetBytes, 0), false};
}

std::string open_as_project(const std::string& path, std::span<const uint8_t> bytes, Project& out,
                            std::vector<std::string>& remarks) {
    Project p = start_project();
    std::vector<std::string> said;
    if (is_ctm(bytes)) {
        Project ctm;
        if (std::string why = read_ctm(bytes, ctm, said); !why.empty())
            return why;
        p.charset = ctm.charset;
        take_ctm_registers(p.map, ctm.map);
        p.tiles = std::move(ctm.tiles);
        p.level = std::move(ctm.level);
    } else if (names_painting(path,
                              bytes.first(std::min<size_t>(bytes.size(), kOpenedSniffBytes)))) {
        const ScreenImport screen = import_koala(bytes);
        if (!screen.ok())
            return screen.error;
        p.charset = screen.charset;
        place_screen(p.map, screen);
        if (!screen.note.empty())
            said.push_back(screen.note);
    } else if (font_kind(bytes)) {
        const FontImport font = import_font_file(bytes);
        if (!font.ok())
            return font.error;
        place_imported_glyphs(p.charset, font);
        if (!font.note.empty())
            said.push_back(font.note);
    } else if (is_project(bytes)) {
        if (std::string why = read_project(bytes, p); !why.empty())
            return why;
    } else {
        place_font_bytes(p.charset, 0, bytes);
    }
    out = std::move(p);
    remarks.insert(remarks.end(), said.begin(), said.end());
    return {};
}

} // namespace fontarel
