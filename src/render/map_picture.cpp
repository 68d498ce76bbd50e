#include "render/map_picture.h"

#include <algorithm>
#include <cstring>

#include "model/atari_palette.h"
#include "render/geometry.h"

namespace fontarel {

void MapRenderer::changed_by_code(const ScreenLook& look, std::array<bool, kGlyphCount>& changed) {
    for (int code = 0; code < kGlyphCount; ++code)
        changed[code] = changed[shown_glyph(look, code)];
}

ScreenLook MapRenderer::shown_look(const CharMap& map) {
    ScreenLook look = map.look;
    if (!look.c64_multicolour())
        look.multicolour_1 = look.multicolour_2 = 0;
    if (!look.c64_extended())
        look.background_1 = look.background_2 = look.background_3 = 0;
    if (look.machine != MapMachine::C64)
        look.mode = TextMode::Standard;
    if (look.machine != MapMachine::Atari) {
        const ScreenLook start;
        look.atari_mode = start.atari_mode;
        look.colbk = start.colbk;
        look.colpf = start.colpf;
    }
    return look;
}

void MapRenderer::invalidate_cell(MapCell cell) {
    if (cell.column >= 0 && cell.row >= 0 && cell.column < kMapCapacityCols &&
        cell.row < kMapCapacityRows) {
        drawn_[cell.row * kMapCapacityCols + cell.column] = kStale;
    }
}

CellColours MapRenderer::key_colours(uint8_t key) const {
    if (look_.c64_extended())
        return cell_colours(look_.machine, key & 15, look_.background_register(key >> 4 & 3));
    return cell_colours(look_.machine, key, look_.background);
}

void MapRenderer::build_attribute_pixels() {
    runs_ready_.fill(false);
    for (int a = 0; a < 256; ++a) {
        const CellColours c = key_colours(static_cast<uint8_t>(a));
        attribute_pixels_[a] = {to_pixel(c.ink), to_pixel(c.paper), c.marker};
    }
}

const DoubledRowPixels& MapRenderer::make_attribute_runs(uint8_t attr) {
    std::unique_ptr<DoubledRowPixels>& runs = attribute_runs_[attr];
    if (!runs) {
        runs = std::make_unique<DoubledRowPixels>();
    }
    if (look_.machine == MapMachine::Atari) {
        // The key is the code's bit 7.
        if (look_.atari_four()) {
            const auto c = atari_pair_colours(look_, attr != 0);
            runs->use_multicolours({c[0], c[1], c[2], c[3]});
        } else {
            const auto c = atari_two_colours(look_, attr != 0);
            runs->use_colours(c[0], c[1]);
        }
    } else if (look_.c64_multicolour() && (attr & 8)) {
        const auto c = multicolour_colours(look_, attr);
        runs->use_multicolours({c[0], c[1], c[2], c[3]});
    } else {
        const CellColours c = key_colours(attr);
        runs->use_colours(c.paper, c.ink);
    }
    runs_ready_[attr] = true;
    return *runs;
}

namespace {

// The marker of a FLASH or blink bit: the cell's top-right triangle with ink and paper swapped.
void draw_marker(Raster& target, int left, int top, uint32_t ink, uint32_t paper) {
    constexpr int kSize = 4;
    for (int y = 0; y < kSize; ++y) {
        uint32_t* row = target.row(top + y) + left;
        for (int x = kCellPixels - kSize + y; x < kCellPixels; ++x) {
            row[x] = row[x] == ink ? paper : ink;
        }
    }
}

} // namespace

void MapRenderer::render_cell(Raster& target, int column, int row, const CharsetStore& store,
                              uint8_t code, uint8_t attr) {
    const int left = kCellPixels * column;
    const int top = kCellPixels * row;
    auto glyph = store.glyph(shown_glyph(look_, code));
    attr = key(code, attr);
    const DoubledRowPixels& runs =
        look_.machine == MapMachine::Mono ? pixels_ : attribute_runs(attr);
    for (int y = 0; y < kGlyphRows; ++y) {
        const uint32_t* run = runs.row(glyph[y]);
        std::memcpy(target.row(top + 2 * y) + left, run, DoubledRowPixels::kBytes);
        std::memcpy(target.row(top + 2 * y + 1) + left, run, DoubledRowPixels::kBytes);
    }
    if (grid_) {
        const uint32_t p0 = to_pixel(colour0_);
        const uint32_t p1 = to_pixel(colour1_);
        uint32_t* edge = target.row(top) + left;
        for (int s = 0; s < kCellPixels; ++s) {
            edge[s] = (s & 1) ? p0 : p1;
        }
        for (int s = 0; s < kCellPixels; ++s) {
            target.row(top + s)[left] = (s & 1) ? p1 : p0;
        }
    }
    if (look_.machine != MapMachine::Mono && attribute_pixels_[attr].marker) {
        draw_marker(target, left, top, attribute_pixels_[attr].ink, attribute_pixels_[attr].paper);
    }
    target.mark_dirty(left, top, kCellPixels, kCellPixels);
}

void MapRenderer::render_row(Raster& target, int row, int cols, const int32_t* codes,
                             const uint8_t* attrs, const CharsetStore& store) {
    // Whole pixel rows at once: each doubled glyph row is built once, with the grid's left-edge dot
    // of even pixel rows, and copied below itself with the dot of odd rows. The top edge replaces
    // the cell's first pixel row.
    const int top = kCellPixels * row;
    const size_t line_bytes = sizeof(uint32_t) * kCellPixels * static_cast<size_t>(cols);
    const uint32_t p0 = to_pixel(colour0_);
    const uint32_t p1 = to_pixel(colour1_);
    // Each cell's pixel runs, looked up once for its eight glyph rows.
    std::array<const DoubledRowPixels*, kMapCapacityCols> runs{};
    bool markers = false;
    if (look_.machine != MapMachine::Mono) {
        for (int c = 0; c < cols; ++c) {
            const uint8_t k = key(codes[c], attrs[c]);
            runs[c] = &attribute_runs(k);
            markers = markers || attribute_pixels_[k].marker;
        }
    }
    for (int y = 0; y < kGlyphRows; ++y) {
        uint32_t* even = target.row(top + 2 * y);
        uint32_t* odd = target.row(top + 2 * y + 1);
        if (look_.machine == MapMachine::Mono) {
            for (int c = 0; c < cols; ++c) {
                const uint8_t bits = store.glyph(shown_glyph(look_, codes[c]))[y];
                std::memcpy(odd + kCellPixels * c, pixels_.row(bits), DoubledRowPixels::kBytes);
            }
        } else {
            for (int c = 0; c < cols; ++c) {
                const uint8_t bits = store.glyph(shown_glyph(look_, codes[c]))[y];
                std::memcpy(odd + kCellPixels * c, runs[c]->row(bits), DoubledRowPixels::kBytes);
            }
        }
        if (grid_ && y == 0) {
            std::memcpy(even, top_edge_.data(), line_bytes);
        } else {
            std::memcpy(even, odd, line_bytes);
        }
        if (grid_) {
            for (int c = 0; c < cols; ++c) {
                even[kCellPixels * c] = p0;
                odd[kCellPixels * c] = p1;
            }
        }
    }
    if (markers) {
        for (int c = 0; c < cols; ++c) {
            const AttributePixels& a = attribute_pixels_[key(codes[c], attrs[c])];
            if (a.marker) {
                draw_marker(target, kCellPixels * c, top, a.ink, a.paper);
            }
        }
    }
    target.mark_dirty(0, top, kCellPixels * cols, kCellPixels);
}

int MapRenderer::columns_shown(const Raster& target, const CharMap& map) {
    return std::clamp(std::min<int>(map.cols, target.width() / kCellPixels), 0, kMapCapacityCols);
}

int MapRenderer::rows_shown(const Raster& target, const CharMap& map) {
    return std::clamp(std::min<int>(map.rows, target.height() / kCellPixels), 0, kMapCapacityRows);
}

CellRect MapRenderer::within(CellRect s, int cols, int rows) {
    const int left = std::max(s.left, 0), top = std::max(s.top, 0);
    const int right = std::min(s.left + s.width, cols), bottom = std::min(s.top + s.height, rows);
    if (s.empty() || right <= left || bottom <= top) {
        return {};
    }
    return {left, top, right - left, bottom - top};
}

void MapRenderer::invalidate_outline(const CellRect& s) {
    for (int c = s.left; c < s.left + s.width; ++c) {
        invalidate_cell({c, s.top});
        invalidate_cell({c, s.top + s.height - 1});
    }
    for (int r = s.top; r < s.top + s.height; ++r) {
        invalidate_cell({s.left, r});
        invalidate_cell({s.left + s.width - 1, r});
    }
}

MapCell MapRenderer::within(MapCell hover, int cols, int rows) {
    if (hover.column < 0 || hover.row < 0 || hover.column >= cols || hover.row >= rows) {
        return {};
    }
    return hover;
}

bool MapRenderer::up_to_date(const Raster& target, const CharMap& map, const CharsetStore& store,
                             int colour0, int colour1, bool grid, MapCell hover, CellRect selection,
                             Colour hover_colour) const {
    const int cols = columns_shown(target, map);
    const int rows = rows_shown(target, map);
    if (target_ != target.identity() || colour0 != colour0_ || colour1 != colour1_ ||
        shown_look(map) != look_ || grid != grid_ || cols != cols_ || rows != rows_ ||
        within(hover, cols, rows) != outlined_ || within(selection, cols, rows) != selected_ ||
        (outlined_.row >= 0 && hover_colour != outline_colour_)) {
        return false;
    }
    std::array<bool, kGlyphCount> changed{};
    for (int g = 0; g < kGlyphCount; ++g) {
        changed[g] =
            std::memcmp(glyphs_.data() + kGlyphRows * g, store.glyph(g).data(), kGlyphRows) != 0;
    }
    changed_by_code(shown_look(map), changed);
    for (int r = 0; r < rows; ++r) {
        const int32_t* drawn = drawn_.data() + r * kMapCapacityCols;
        for (int c = 0; c < cols; ++c) {
            const int32_t code = map.cells[r][c] & 0xFF;
            if (drawn[c] != shown(code, map.attrs[r][c]) || changed[code]) {
                return false;
            }
        }
    }
    return true;
}

void MapRenderer::render(Raster& target, const CharMap& map, const CharsetStore& store, int colour0,
                         int colour1, bool grid, MapCell hover, CellRect selection,
                         Colour hover_colour) {
    const int cols = columns_shown(target, map);
    const int rows = rows_shown(target, map);
    if (target_ != target.identity() || colour0 != colour0_ || colour1 != colour1_ ||
        shown_look(map) != look_ || grid != grid_ || cols != cols_ || rows != rows_) {
        drawn_.fill(kStale);
        look_ = shown_look(map);
        build_attribute_pixels();
        target_ = target.identity();
        colour0_ = colour0;
        colour1_ = colour1;
        grid_ = grid;
        cols_ = cols;
        rows_ = rows;
        outlined_ = {};
        selected_ = {};
    }
    hover = within(hover, cols, rows);
    // The cell the outline leaves is drawn again without it.
    selection = within(selection, cols, rows);
    const bool hover_moved =
        hover != outlined_ || (hover.row >= 0 && hover_colour != outline_colour_);
    bool outline_due = hover_moved || selection != selected_;
    if (hover_moved) {
        invalidate_cell(outlined_);
    }
    if (selection != selected_) {
        invalidate_outline(selected_);
    }
    const int s_right = selection.left + selection.width - 1;
    const int s_bottom = selection.top + selection.height - 1;
    const auto under_outline = [&](int c, int r) {
        return !selection.empty() && r >= selection.top && r <= s_bottom && c >= selection.left &&
               c <= s_right &&
               (r == selection.top || r == s_bottom || c == selection.left || c == s_right);
    };
    pixels_.use_colours(colour0, colour1);
    if (grid) {
        // The dotted top edge of a whole row of cells: colour1 at even offsets, colour0 at odd.
        const uint32_t p0 = to_pixel(colour0), p1 = to_pixel(colour1);
        for (int x = 0; x < kCellPixels * kMapCapacityCols; ++x) {
            top_edge_[x] = (x & 1) ? p0 : p1;
        }
    }

    // Glyphs whose bytes differ from the ones last drawn: every cell showing one is redrawn.
    std::array<bool, kGlyphCount> changed{};
    for (int g = 0; g < kGlyphCount; ++g) {
        changed[g] =
            std::memcmp(glyphs_.data() + kGlyphRows * g, store.glyph(g).data(), kGlyphRows) != 0;
    }
    changed_by_code(shown_look(map), changed);
    glyphs_ = store.bytes;

    for (int r = 0; r < rows; ++r) {
        const auto& codes = map.cells[r];
        const auto& attrs = map.attrs[r];
        int32_t* drawn = drawn_.data() + r * kMapCapacityCols;
        int stale = 0;
        for (int c = 0; c < cols; ++c) {
            const int32_t code = codes[c] & 0xFF;
            stale += drawn[c] != shown(code, attrs[c]) || changed[code];
        }
        if (stale == cols) {
            render_row(target, r, cols, codes.data(), attrs.data(), store);
            for (int c = 0; c < cols; ++c) {
                drawn[c] = shown(codes[c], attrs[c]);
            }
            outline_due = outline_due || r == hover.row ||
                          (!selection.empty() && r >= selection.top && r <= s_bottom);
            continue;
        }
        for (int c = 0; c < cols && stale > 0; ++c) {
            const auto code = static_cast<uint8_t>(codes[c] & 0xFF);
            const int32_t now = shown(code, attrs[c]);
            if (drawn[c] == now && !changed[code]) {
                continue;
            }
            render_cell(target, c, r, store, code, attrs[c]);
            drawn[c] = now;
            outline_due =
                outline_due || (r == hover.row && c == hover.column) || under_outline(c, r);
        }
    }
    if (outline_due && !selection.empty()) {
        target.outline_rect(kCellPixels * selection.left, kCellPixels * selection.top,
                            kCellPixels * selection.width, kCellPixels * selection.height,
                            kMapSelectionColour);
    }
    if (outline_due && hover.row >= 0) {
        target.outline_rect(kCellPixels * hover.column, kCellPixels * hover.row, kCellPixels,
                            kCellPixels, hover_colour);
    }
    outlined_ = hover;
    outline_colour_ = hover_colour;
    selected_ = selection;
}

} // namespace fontarel
