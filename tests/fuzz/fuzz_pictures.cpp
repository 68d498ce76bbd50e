// The fuzzer of picture imports: its input becomes a picture, either as the bytes of a BMP file
// read by decode_bmp (first byte even) or, to reach screens of thousands of cells in a few bytes,
// as cells (first byte odd: then columns, rows, a shift, and the glyph rows cycled over the cells,
// some of which stray from two colours). The picture goes through both screen imports, the
// charset-picture import and picture_bits; a broken contract aborts, so the fuzzer keeps the
// input.

#include <cstdio>
#include <cstdlib>
#include <span>

#include "model/builtin_charsets.h"
#include "formats/picture_import.h"
#include "toolkit/raster.h"

using namespace fontarel;

namespace {

[[noreturn]] void broken(const char* what, const Picture& p) {
    std::fprintf(stderr, "%s (picture %d x %d)\n", what, p.width, p.height);
    std::abort();
}

bool cells_picture(std::span<const uint8_t> in, Picture& out) {
    if (in.size() < 4)
        return false;
    const int cols = 1 + in[0] % 80, rows = 1 + in[1] % 50, shift = in[2] % 16;
    const std::span<const uint8_t> glyphs = in.subspan(3);
    out = {8 * cols, 8 * rows, std::vector<int32_t>(64 * static_cast<size_t>(cols) * rows)};
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            const size_t cell = static_cast<size_t>(y / 8 * cols + x / 8);
            const auto row =
                static_cast<uint8_t>(glyphs[(8 * cell + y % 8) % glyphs.size()] ^ (cell >> shift));
            const bool set = row >> (7 - x % 8) & 1;
            out.pixels[static_cast<size_t>(y * out.width + x)] = shift == 15 && x == y ? 0x808080
                                                                 : set                 ? 0xFFFFFF
                                                                                       : 0;
        }
    return true;
}

bool machine_size(const CharMap& map, int cols, int rows) {
    const bool named = (map.cols == 32 && map.rows == 24) || (map.cols == 40 && map.rows == 24) ||
                       (map.cols == 40 && map.rows == 25) || (map.cols == 80 && map.rows == 50) ||
                       (map.cols == 64 && map.rows == 30);
    return named && map.cols >= cols && map.rows >= rows;
}

// `fresh`: a new charset, which draws every cell exactly unless it was reduced.
void check_screen(const ScreenImport& screen, const Picture& p, const std::vector<uint8_t>& bits,
                  bool fresh) {
    const bool valid = p.width % 8 == 0 && p.height % 8 == 0 && p.width <= 640 && p.height <= 400;
    if (screen.ok() != valid)
        broken(screen.ok() ? "a screen import took a bad picture" : "a screen import refused", p);
    if (!valid)
        return;
    const int cols = p.width / 8, rows = p.height / 8;
    if (!machine_size(screen.map, cols, rows) || screen.cells != cols * rows)
        broken("the map size does not hold the picture", p);
    if (screen.glyphs < 1 || screen.glyphs > 256 || screen.distinct < screen.glyphs)
        broken("glyph counts out of range", p);
    const bool exact = fresh && screen.distinct <= 256;
    if (fresh && !exact && screen.note.find("Reduced to 256 glyphs: ") == std::string::npos)
        broken("a reduction without its note", p);
    for (int y = 0; y < screen.map.rows; ++y)
        for (int x = 0; x < screen.map.cols; ++x) {
            const int code = screen.map.at(x, y);
            if (code < 0 || code > 255)
                broken("a code outside 0-255", p);
            if (!exact || x >= cols || y >= rows)
                continue;
            const auto glyph = screen.charset.glyph(code);
            for (int r = 0; r < 8; ++r)
                for (int b = 0; b < 8; ++b)
                    if ((glyph[static_cast<size_t>(r)] >> (7 - b) & 1) !=
                        bits[static_cast<size_t>((8 * y + r) * p.width + 8 * x + b)])
                        broken("a cell does not draw its pixels", p);
        }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    Picture p;
    const std::span<const uint8_t> rest(data + 1, size - 1);
    if (!(data[0] % 2 == 0 ? decode_bmp(rest, p) : cells_picture(rest, p)))
        return 0;
    bool reduced = false;
    const std::vector<uint8_t> bits = picture_bits(p, 0, 0xFFFFFF, reduced);
    if (bits.size() != p.pixels.size())
        broken("picture_bits gave another count", p);

    const FontImport font = import_charset_picture(p, 0, 0xFFFFFF);
    if (font.ok() != (p.width == p.height && p.width % 128 == 0))
        broken("the charset picture import took a bad picture or refused a good one", p);

    const ScreenImport fresh = import_screen_new_charset(p, 0, 0xFFFFFF);
    check_screen(fresh, p, bits, true);
    CharsetStore cga;
    load_builtin_glyphs(cga, builtin_charset(Machine::Cga));
    const ScreenImport matched = import_screen_current_charset(p, cga, 0, 0xFFFFFF);
    check_screen(matched, p, bits, false);
    if (matched.ok() && matched.charset.bytes != cga.bytes)
        broken("the current charset changed", p);

    // The same picture in one machine's colours: only the counts and the codes can be checked.
    const auto machine = static_cast<MapMachine>(1 + data[0] / 2 % 3);
    for (const ScreenImport& coloured :
         {import_screen_new_charset(p, 0, 0xFFFFFF, machine),
          import_screen_current_charset(p, cga, 0, 0xFFFFFF, machine)}) {
        check_screen(coloured, p, bits, false);
        if (coloured.ok() && coloured.many_colours + coloured.clashing > coloured.cells)
            broken("more odd cells than cells", p);
    }
    return 0;
}
