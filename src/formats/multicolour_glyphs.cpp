// Multicolour glyphs chosen by what the cells draw (see multicolour_glyphs.h).

#include "formats/multicolour_glyphs.h"

#include <algorithm>
#include <functional>
#include <numeric>
#include <queue>
#include <string>
#include <vector>

namespace fontarel {

namespace {

constexpr GlyphPattern kLowBits = 0x5555555555555555u; // bit 2j of every pair j
constexpr int kPairs = 32;

// A pattern as a candidate for some cells, in one number: the double-wide pixels it draws unlike
// a cell above its index, so that the smallest key names the nearest pattern, the earliest of
// equally near ones.
using Key = uint32_t;
constexpr int kIndexBits = 16; // more than the most cells, 80 x 50
constexpr Key kNoKey = ~Key{0};
constexpr Key key(int unlike, int index) {
    return static_cast<Key>(unlike) << kIndexBits | static_cast<Key>(index);
}
constexpr int key_unlike(Key k) {
    return static_cast<int>(k >> kIndexBits);
}
constexpr int key_index(Key k) {
    return static_cast<int>(k & ((Key{1} << kIndexBits) - 1));
}

// The nearest patterns a group keeps at hand, so that it scans all patterns again only after
// this many of them have been dropped.
constexpr int kListed = 8;

// The cells of one pattern that draw alike, counted once and weighted by their cells. They show
// `best`, at first their own pattern. `near` holds, nearest first, the kListed nearest patterns
// but `best` of those that remained when it was filled (kNoKey past the last); since patterns are
// only ever dropped, its first one that remains is the nearest remaining but `best`: the one the
// cells show when `best` is dropped.
struct Group {
    PairFit fit;
    int own = 0, cells = 0;
    int best = 0, best_unlike = 0;
    std::array<Key, kListed> near{};
    int next = 0; // the entries before it are dropped
};

// The scan that costs the time, written once for two ways of counting pixels: the CPU's
// population count where it has one, else set_pixels.
template <bool kCpuCount>
[[gnu::always_inline]] inline int unlike(const PairFit& fit, GlyphPattern glyph) {
    const GlyphPattern lo = glyph & kLowBits, hi = glyph >> 1 & kLowBits;
    const GlyphPattern drawn = (fit.shows[0] & ~(lo | hi)) | (fit.shows[1] & lo & ~hi) |
                               (fit.shows[2] & hi & ~lo) | (fit.shows[3] & lo & hi);
    if constexpr (kCpuCount)
        return kPairs - __builtin_popcountll(drawn);
    else
        return kPairs - set_pixels(drawn);
}

template <bool kCpuCount>
[[gnu::always_inline]] inline void fill(Group& g, std::span<const GlyphPattern> patterns,
                                        const std::vector<uint8_t>& remains) {
    g.near.fill(kNoKey);
    g.next = 0;
    for (size_t p = 0; p < patterns.size(); ++p) {
        Key k = key(unlike<kCpuCount>(g.fit, patterns[p]), static_cast<int>(p));
        if (k >= g.near[kListed - 1] || !remains[p] || static_cast<int>(p) == g.best)
            continue;
        for (size_t j = 0; j < kListed; ++j)
            if (k < g.near[j])
                std::swap(k, g.near[j]);
    }
}

using Fill = void (*)(Group&, std::span<const GlyphPattern>, const std::vector<uint8_t>&);
void fill_by_bits(Group& g, std::span<const GlyphPattern> patterns,
                  const std::vector<uint8_t>& remains) {
    fill<false>(g, patterns, remains);
}
#if defined(__x86_64__)
// The population count instruction is not in the baseline x86-64 set the program is built for.
[[gnu::target("popcnt")]] void fill_by_popcnt(Group& g, std::span<const GlyphPattern> patterns,
                                              const std::vector<uint8_t>& remains) {
    fill<true>(g, patterns, remains);
}
#endif

// The group's nearest remaining pattern but `best`, refilling the list when all of it is
// dropped; kNoKey when no other remains.
Key second(Group& g, std::span<const GlyphPattern> patterns, const std::vector<uint8_t>& remains,
           Fill refill) {
    for (;;) {
        while (g.next < kListed && g.near[static_cast<size_t>(g.next)] != kNoKey &&
               !remains[static_cast<size_t>(key_index(g.near[static_cast<size_t>(g.next)]))])
            ++g.next;
        if (g.next < kListed)
            return g.near[static_cast<size_t>(g.next)];
        refill(g, patterns, remains);
    }
}

} // namespace

int pairs_unlike(const PairFit& fit, GlyphPattern glyph) {
    return unlike<false>(fit, glyph);
}

GlyphChoice choose_glyphs(const CellPatterns& cells, std::span<const PairFit> fits, int keep) {
    const std::span<const GlyphPattern> patterns = cells.patterns;
    const int n = static_cast<int>(patterns.size());
    GlyphChoice out;
    out.shown = cells.pattern;
    if (n <= keep) {
        out.kept.resize(static_cast<size_t>(n));
        std::iota(out.kept.begin(), out.kept.end(), 0);
        return out;
    }

    // The groups: the cells in order of pattern and fit, each run of equal ones one group.
    std::vector<int> order(fits.size());
    std::iota(order.begin(), order.end(), 0);
    const auto cell_key = [&](int i) {
        return std::pair{cells.pattern[static_cast<size_t>(i)], fits[static_cast<size_t>(i)].shows};
    };
    std::sort(order.begin(), order.end(), [&](int a, int b) { return cell_key(a) < cell_key(b); });
    std::vector<Group> groups;
    std::vector<int> group_of(fits.size());
    for (int i : order) {
        const auto [own, shows] = cell_key(i);
        if (groups.empty() || groups.back().own != own || groups.back().fit.shows != shows)
            groups.push_back({{shows}, own, 0, own, 0, {}, 0});
        ++groups.back().cells;
        group_of[static_cast<size_t>(i)] = static_cast<int>(groups.size()) - 1;
    }

    Fill refill = fill_by_bits;
#if defined(__x86_64__)
    if (__builtin_cpu_supports("popcnt"))
        refill = fill_by_popcnt;
#endif
    // What dropping each pattern costs: its groups' cells, each the double-wide pixels its
    // second draws more unlike than the pattern. Costs only ever grow, so a queue entry below the
    // cost it names is stale and goes back with the cost.
    std::vector<uint8_t> remains(static_cast<size_t>(n), 1);
    std::vector<int64_t> cost(static_cast<size_t>(n), 0);
    std::vector<std::vector<int>> by_best(static_cast<size_t>(n)), by_second(by_best);
    // Counts the group's second into its best's cost, and lists the group under its second.
    const auto count = [&](int k) {
        Group& g = groups[static_cast<size_t>(k)];
        const Key s = second(g, patterns, remains, refill);
        if (s == kNoKey)
            return;
        cost[static_cast<size_t>(g.best)] += int64_t{g.cells} * (key_unlike(s) - g.best_unlike);
        by_second[static_cast<size_t>(key_index(s))].push_back(k);
    };
    for (size_t k = 0; k < groups.size(); ++k) {
        Group& g = groups[k];
        g.best_unlike = pairs_unlike(g.fit, patterns[static_cast<size_t>(g.own)]);
        refill(g, patterns, remains);
        by_best[static_cast<size_t>(g.best)].push_back(static_cast<int>(k));
        count(static_cast<int>(k));
    }
    // The cheapest first, of equal costs the latest pattern.
    using Entry = std::pair<int64_t, int>; // cost, minus the pattern
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
    for (int p = 0; p < n; ++p)
        queue.push({cost[static_cast<size_t>(p)], -p});

    for (int left = n; left > keep;) {
        const auto [c, minus_p] = queue.top();
        queue.pop();
        const size_t p = static_cast<size_t>(-minus_p);
        if (!remains[p])
            continue;
        if (c != cost[p]) {
            queue.push({cost[p], minus_p});
            continue;
        }
        remains[p] = 0;
        --left;
        // The groups whose second it was count their next one instead; its own groups show their
        // seconds.
        for (int k : by_second[p]) {
            const Group& g = groups[static_cast<size_t>(k)];
            const Key s = g.next < kListed ? g.near[static_cast<size_t>(g.next)] : kNoKey;
            if (key_index(s) != static_cast<int>(p))
                continue; // its second has changed since
            cost[static_cast<size_t>(g.best)] -= int64_t{g.cells} * (key_unlike(s) - g.best_unlike);
            count(k);
        }
        for (int k : by_best[p]) {
            Group& g = groups[static_cast<size_t>(k)];
            const Key s = second(g, patterns, remains, refill);
            g.best = key_index(s), g.best_unlike = key_unlike(s);
            ++g.next;
            by_best[static_cast<size_t>(g.best)].push_back(k);
            count(k);
        }
        by_best[p] = {};
        by_second[p] = {};
    }

    for (int p = 0; p < n; ++p)
        if (remains[static_cast<size_t>(p)])
            out.kept.push_back(p);
    for (size_t i = 0; i < fits.size(); ++i)
        out.shown[i] = groups[static_cast<size_t>(group_of[i])].best;
    return out;
}

namespace {

// "1 cell", "12 cells".
std::string cells_word(int n, const char* one, const char* many) {
    return std::to_string(n) + (n == 1 ? one : many);
}

} // namespace

std::string pair_import_note(int uneven_pairs, int beyond_mode, int near_glyph, int glyphs) {
    std::vector<std::string> sentences;
    if (uneven_pairs > 0)
        sentences.push_back(cells_word(uneven_pairs, " cell", " cells") +
                            " had pixel pairs that differ: each pair read as its left pixel");
    if (beyond_mode > 0)
        sentences.push_back(cells_word(beyond_mode, " cell", " cells") +
                            " had colours the mode cannot show");
    if (near_glyph > 0)
        sentences.push_back("Reduced to " + std::to_string(glyphs) + " glyphs: " +
                            cells_word(near_glyph, " cell shows", " cells show") + " a near glyph");
    std::string note;
    for (const std::string& s : sentences)
        note += (note.empty() ? "" : ". ") + s;
    return note;
}

} // namespace fontarel
