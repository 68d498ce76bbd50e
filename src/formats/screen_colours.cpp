// Screen pictures in a machine's colours (see screen_colours.h).

#include "formats/screen_colours.h"

#include <algorithm>
#include <array>
#include <bit>
#include <span>

#include "model/colour.h"
#include "model/map_colours.h"

namespace fontarel {

namespace {

constexpr int kColours = 16; // palette entries of every colour machine

// The palette entry nearest a colour (the lowest index on ties, so that the Spectrum's black is
// entry 0), remembered in a direct-mapped table: a screen picture holds few colours.
class PaletteMatch {
  public:
    explicit PaletteMatch(std::span<const Colour> palette) : palette_(palette) { keys_.fill(-1); }

    uint8_t nearest(int32_t colour) {
        colour &= 0xFFFFFF;
        const size_t slot = static_cast<uint32_t>(colour) * 0x9E3779B1u >> (32 - kBits);
        if (keys_[slot] != colour) {
            keys_[slot] = colour;
            values_[slot] = search(colour);
        }
        return values_[slot];
    }

  private:
    static constexpr int kBits = 10;

    uint8_t search(Colour colour) const {
        int best = 0;
        for (int i = 1; i < static_cast<int>(palette_.size()); ++i)
            if (colour_distance(colour, palette_[static_cast<size_t>(i)]) <
                colour_distance(colour, palette_[static_cast<size_t>(best)]))
                best = i;
        return static_cast<uint8_t>(best);
    }

    std::span<const Colour> palette_;
    std::array<int32_t, 1 << kBits> keys_;
    std::array<uint8_t, 1 << kBits> values_{};
};

using Counts = std::array<int, kColours>; // pixels of each palette entry

// The most frequent entry with pixels other than `except` (the lowest index on ties); -1 if none.
int most_frequent(const Counts& counts, int except = -1) {
    int best = -1;
    for (int i = 0; i < kColours; ++i)
        if (i != except && counts[static_cast<size_t>(i)] > 0 &&
            (best < 0 || counts[static_cast<size_t>(i)] > counts[static_cast<size_t>(best)]))
            best = i;
    return best;
}

// The pixels of each entry in the 8 x 8 cell at `cell`, picture rows `width` entries apart. Most
// cells have one or two entries; theirs are counted by comparisons, which unlike a table of counts
// raised pixel by pixel do not wait on each other.
Counts cell_counts(const uint8_t* cell, int width) {
    unsigned present = 0;
    for (int r = 0; r < 8; ++r)
        for (int b = 0; b < 8; ++b)
            present |= 1u << cell[r * width + b];
    Counts counts{};
    const unsigned others = present & (present - 1); // but the lowest entry
    if ((others & (others - 1)) == 0) {
        const int first = std::countr_zero(present);
        int n = 0;
        for (int r = 0; r < 8; ++r)
            for (int b = 0; b < 8; ++b)
                n += cell[r * width + b] == first;
        counts[static_cast<size_t>(first)] = n;
        if (others != 0)
            counts[static_cast<size_t>(std::countr_zero(others))] = 64 - n;
        return counts;
    }
    for (int r = 0; r < 8; ++r)
        for (int b = 0; b < 8; ++b)
            ++counts[cell[r * width + b]];
    return counts;
}

// A cell's attribute and the colours it draws set and clear pixels in.
struct Choice {
    uint8_t attr = 0;
    Colour ink = 0, paper = 0;
};

// C64: the most frequent colour but the background is the ink.
Choice choose_c64(const Counts& counts, uint8_t background, std::span<const Colour> palette) {
    const int ink = most_frequent(counts, background);
    const uint8_t attr = ink < 0 ? blank_attribute(MapMachine::C64) : static_cast<uint8_t>(ink);
    return {attr, palette[attr], palette[background]};
}

// Spectrum: the more frequent colour is the paper, the other the ink, both at the BRIGHT level
// that draws the cell's pixels nearest; the lower level on ties. One colour: that paper with black
// ink, or white ink on black.
Choice choose_spectrum(const Counts& counts, std::span<const Colour> palette) {
    const int first = most_frequent(counts);
    const int second = most_frequent(counts, first);
    const int paper = first & 7;
    if (second < 0) {
        const int ink = paper == 0 ? 7 : 0;
        const int bright = first >= 8 ? 1 : 0;
        return {static_cast<uint8_t>(ink | paper << 3 | bright << 6),
                palette[static_cast<size_t>(8 * bright + ink)],
                palette[static_cast<size_t>(8 * bright + paper)]};
    }
    const int ink = second & 7;
    int64_t error[2] = {0, 0};
    for (int level = 0; level < 2; ++level)
        for (int i = 0; i < kColours; ++i)
            if (counts[static_cast<size_t>(i)] > 0)
                error[level] +=
                    int64_t{counts[static_cast<size_t>(i)]} *
                    std::min(colour_distance(palette[static_cast<size_t>(i)],
                                             palette[static_cast<size_t>(8 * level + ink)]),
                             colour_distance(palette[static_cast<size_t>(i)],
                                             palette[static_cast<size_t>(8 * level + paper)]));
    const int bright = error[1] < error[0] ? 1 : 0;
    return {static_cast<uint8_t>(ink | paper << 3 | bright << 6),
            palette[static_cast<size_t>(8 * bright + ink)],
            palette[static_cast<size_t>(8 * bright + paper)]};
}

// PC text: the more frequent colour is the background when it is one of the first 8, else the
// other one when that is; two bright colours: the nearest of the first 8 to the more frequent one
// is the background. One colour: that background with a light grey foreground (black on light
// grey), or a bright colour as the foreground on black.
Choice choose_pc(const Counts& counts, std::span<const Colour> palette) {
    const int first = most_frequent(counts);
    const int second = most_frequent(counts, first);
    int ink = second, paper = first;
    if (second < 0) {
        if (first < 8)
            ink = first == 7 ? 0 : 7;
        else
            ink = first, paper = 0;
    } else if (first >= 8 && second < 8) {
        ink = first, paper = second;
    } else if (first >= 8) {
        paper = 0;
        for (int i = 1; i < 8; ++i)
            if (colour_distance(palette[static_cast<size_t>(first)],
                                palette[static_cast<size_t>(i)]) <
                colour_distance(palette[static_cast<size_t>(first)],
                                palette[static_cast<size_t>(paper)]))
                paper = i;
    }
    return {static_cast<uint8_t>(ink | paper << 4), palette[static_cast<size_t>(ink)],
            palette[static_cast<size_t>(paper)]};
}

} // namespace

std::vector<uint8_t> palette_entries(const Picture& picture, MapMachine machine) {
    PaletteMatch match(machine_palette(machine).colours);
    std::vector<uint8_t> entry(picture.pixels.size());
    for (size_t i = 0; i < entry.size(); ++i)
        entry[i] = match.nearest(picture.pixels[i]);
    return entry;
}

ColourCells read_colour_cells(const Picture& picture, MapMachine machine) {
    ColourCells out;
    const std::span<const Colour> palette = machine_palette(machine).colours;
    if (palette.size() != kColours)
        return out;
    const int width = picture.width, cols = picture.width / 8, rows = picture.height / 8;

    // Every pixel as its palette entry, then each cell's counts of them, which add up to the
    // picture's.
    const std::vector<uint8_t> entry = palette_entries(picture, machine);
    std::vector<Counts> counts_of(static_cast<size_t>(cols) * rows);
    Counts whole{};
    for (size_t i = 0; i < counts_of.size(); ++i) {
        const int cx = static_cast<int>(i) % cols, cy = static_cast<int>(i) / cols;
        counts_of[i] =
            cell_counts(entry.data() + static_cast<size_t>(8 * cy) * width + 8 * cx, width);
        for (int k = 0; k < kColours; ++k)
            whole[static_cast<size_t>(k)] += counts_of[i][static_cast<size_t>(k)];
    }
    out.background = static_cast<uint8_t>(machine == MapMachine::C64 ? most_frequent(whole) : 0);

    out.patterns.reserve(counts_of.size());
    out.attrs.reserve(counts_of.size());
    for (int cy = 0; cy < rows; ++cy) {
        for (int cx = 0; cx < cols; ++cx) {
            const uint8_t* cell = entry.data() + static_cast<size_t>(8 * cy) * width + 8 * cx;
            const Counts& counts = counts_of[static_cast<size_t>(cy * cols + cx)];
            const Choice choice =
                machine == MapMachine::C64          ? choose_c64(counts, out.background, palette)
                : machine == MapMachine::ZxSpectrum ? choose_spectrum(counts, palette)
                                                    : choose_pc(counts, palette);
            // Each entry is set when it lies nearer the ink than the paper; the cell is drawn
            // exactly when every entry it has is one of the two.
            unsigned set = 0, colours = 0;
            bool exact = true;
            for (int i = 0; i < kColours; ++i) {
                if (counts[static_cast<size_t>(i)] == 0)
                    continue;
                const int to_ink = colour_distance(palette[static_cast<size_t>(i)], choice.ink);
                const int to_paper = colour_distance(palette[static_cast<size_t>(i)], choice.paper);
                set |= static_cast<unsigned>(to_ink < to_paper) << i;
                exact = exact && (to_ink == 0 || to_paper == 0);
                ++colours;
            }
            out.many_colours += colours > 2;
            out.clashing += colours <= 2 && !exact;
            GlyphPattern pattern = 0;
            for (int r = 0; r < 8; ++r) {
                unsigned byte = 0;
                for (int b = 0; b < 8; ++b)
                    byte = byte << 1 | (set >> cell[r * width + b] & 1);
                pattern |= GlyphPattern{byte} << (8 * r);
            }
            out.patterns.push_back(pattern);
            out.attrs.push_back(choice.attr);
        }
    }
    return out;
}

bool swapped_attribute(MapMachine machine, uint8_t attr, uint8_t& swapped) {
    switch (machine) {
    case MapMachine::ZxSpectrum:
        swapped = static_cast<uint8_t>((attr & 0xC0) | (attr >> 3 & 7) | (attr & 7) << 3);
        return true;
    case MapMachine::PcText:
        if (attr & 8)
            return false;
        swapped = static_cast<uint8_t>((attr & 0x80) | (attr >> 4 & 7) | (attr & 7) << 4);
        return true;
    default:
        return false;
    }
}

} // namespace fontarel
