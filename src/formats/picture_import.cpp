#include "formats/picture_import.h"

#include <algorithm>

#include "formats/pixel_rule.h"
#include "model/map_colours.h"

namespace fontarel {

namespace {

int component(int32_t colour, int shift) {
    return colour >> shift & 0xFF;
}

// Sum over red, green and blue of (a - b) * (c - d).
int64_t dot(int32_t a, int32_t b, int32_t c, int32_t d) {
    int64_t sum = 0;
    for (int shift = 0; shift < 24; shift += 8)
        sum += int64_t{component(a, shift) - component(b, shift)} *
               (component(c, shift) - component(d, shift));
    return sum;
}

// Whether any pixel is neither a nor b. Runs of 64 pixels are tested without a branch: in a
// picture of two colours mixed at random, a branch at each pixel would be mispredicted at every
// other one.
bool any_other(const std::vector<int32_t>& pixels, int32_t a, int32_t b) {
    constexpr size_t kRun = 64;
    const size_t n = pixels.size();
    size_t i = 0;
    for (; i + kRun <= n; i += kRun) {
        unsigned other = 0;
        for (size_t k = 0; k < kRun; ++k)
            other |= static_cast<unsigned>(pixels[i + k] != a) &
                     static_cast<unsigned>(pixels[i + k] != b);
        if (other != 0)
            return true;
    }
    for (; i < n; ++i)
        if (pixels[i] != a && pixels[i] != b)
            return true;
    return false;
}

std::string size_text(const Picture& picture) {
    return std::to_string(picture.width) + " x " + std::to_string(picture.height);
}

} // namespace

PixelRule::PixelRule(const Picture& picture, int32_t clear_colour, int32_t set_colour) {
    const std::vector<int32_t>& pixels = picture.pixels;
    if (pixels.empty())
        return;
    lighter_set_ = lightness(set_colour) >= lightness(clear_colour);
    // The first two colours, and whether a third one appears.
    const int32_t first = pixels[0];
    const auto second_at =
        std::find_if(pixels.begin(), pixels.end(), [first](int32_t p) { return p != first; });
    const bool two = second_at != pixels.end();
    const int32_t second = two ? *second_at : first;
    if (any_other(pixels, first, second)) {
        by_lightness_ = true;
        int64_t darkest = lightness(first), lightest = darkest;
        for (const int32_t p : pixels) {
            const int64_t l = lightness(p);
            darkest = std::min(darkest, l);
            lightest = std::max(lightest, l);
        }
        midpoint_twice_ = darkest + lightest;
        return;
    }
    set_value_ = first;
    if (!two) {
        any_set_ = dot(first, set_colour, first, set_colour) <
                   dot(first, clear_colour, first, clear_colour);
        return;
    }
    any_set_ = true;
    // Pairing first with clear and second with set costs 2 (first - second) . (set - clear) more
    // squared distance than the other way round: so the sign of this product decides.
    const int64_t along = dot(second, first, set_colour, clear_colour);
    const int64_t lighter = lightness(second) - lightness(first);
    if (along != 0)
        set_value_ = along > 0 ? second : first;
    else if (lighter == 0 || (lighter > 0) == lighter_set_)
        set_value_ = second;
}

bool whole_picture(const Picture& picture) {
    const int64_t count = int64_t{picture.width} * picture.height;
    return picture.width > 0 && picture.height > 0 && count <= kPictureMostPixels &&
           picture.pixels.size() == static_cast<size_t>(count);
}

std::vector<uint8_t> picture_bits(const Picture& picture, int32_t clear_colour, int32_t set_colour,
                                  bool& reduced) {
    const PixelRule rule(picture, clear_colour, set_colour);
    reduced = rule.reduced();
    std::vector<uint8_t> bits(picture.pixels.size());
    rule.visit([&](auto set) {
        std::transform(picture.pixels.begin(), picture.pixels.end(), bits.begin(),
                       [set](int32_t p) { return static_cast<uint8_t>(set(p)); });
    });
    return bits;
}

FontImport import_charset_picture(const Picture& picture, int32_t clear_colour,
                                  int32_t set_colour) {
    constexpr int kGridPixels = 16 * 8; // glyph pixels across the grid
    FontImport out;
    if (!whole_picture(picture) || picture.width != picture.height ||
        picture.width % kGridPixels != 0) {
        out.error =
            "is " + size_text(picture) + ": a charset picture is square, 128, 256, ... pixels wide";
        return out;
    }
    const PixelRule rule(picture, clear_colour, set_colour);
    const int k = picture.width / kGridPixels; // picture pixels a glyph pixel, each way
    for (int code = 0; code < kGlyphCount; ++code) {
        const auto rows = out.glyphs.glyph(code);
        for (int r = 0; r < kGlyphRows; ++r) {
            const int y = (8 * (code / 16) + r) * k + k / 2;
            const int32_t* line = picture.pixels.data() + static_cast<size_t>(y) * picture.width;
            uint8_t byte = 0;
            for (int bit = 0; bit < 8; ++bit)
                byte |= static_cast<uint8_t>(rule.set(line[(8 * (code % 16) + bit) * k + k / 2])
                                             << (7 - bit));
            rows[static_cast<size_t>(r)] = byte;
        }
    }
    out.present.fill(true);
    if (rule.reduced())
        out.note = kColoursReducedNote;
    return out;
}

void place_screen(CharMap& map, const ScreenImport& screen) {
    if (screen.map.look.multicolour() && map.look.machine != MapMachine::C64)
        set_map_machine(map, MapMachine::C64);
    const bool colour = map.look.machine != MapMachine::Mono;
    for (int r = 0; r < screen.map.rows; ++r)
        for (int c = 0; c < screen.map.cols; ++c) {
            map.at(c, r) = screen.map.at(c, r);
            if (colour)
                map.attr(c, r) = screen.map.attr(c, r);
        }
    // A C64 screen takes the picture's look; registers the picture did not use stay as they were.
    if (map.look.machine == MapMachine::C64) {
        const ScreenLook was = map.look;
        map.look = screen.map.look;
        map.look.machine = MapMachine::C64;
        if (!map.look.multicolour()) {
            map.look.multicolour_1 = was.multicolour_1;
            map.look.multicolour_2 = was.multicolour_2;
        }
    }
    // An Atari screen brings its mode and registers, and makes the map an Atari map.
    if (screen.map.look.machine == MapMachine::Atari) {
        set_map_machine(map, MapMachine::Atari);
        map.look.atari_mode = screen.map.look.atari_mode;
        map.look.colbk = screen.map.look.colbk;
        map.look.colpf = screen.map.look.colpf;
    }
    map.cols = screen.map.cols;
    map.rows = screen.map.rows;
}

} // namespace fontarel
