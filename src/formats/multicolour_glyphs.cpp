// Multicolour glyphs chosen by what the cells draw (see multicolour_glyphs.h).

#include "formats/multicolour_glyphs.h"

#include <algorithm>
#include <functional>
#include <numeric>
#include <queue>

namespace fontarel {

namespace {

constexpr GlyphPattern kLowBits = 0x5555555555555555u; // bit 2j of every pair j
constexpr int kPairs = 32;
constexpr int kNone = -1;

// The cells of one pattern that draw alike, counted once and weighted by their cells. Each shows
// its nearest remaining pattern, `best`; `second` is the one it would show were `best` dropped:
// the nearest remaining but `best`, the earliest on ties (kNone when no other remains).
struct Group {
    PairFit fit;
    int own = 0, cells = 0;
    int best = 0, second = kNone;
    int best_unlike = 0, second_unlike = kPairs + 1; // double-wide pixels a cell, 0-32
};

// Finds the group's second over the remaining patterns in their order. None lies nearer than
// `floor` double-wide pixels (the remaining only ever shrink), so the first one at `floor` ends
// the scan.
void find_second(Group& g, std::span<const GlyphPattern> patterns,
                 const std::vector<uint8_t>& remains, int floor) {
    g.second = kNone;
    g.second_unlike = kPairs + 1;
    for (size_t p = 0; p < patterns.size() && g.second_unlike > floor; ++p) {
        if (!remains[p] || static_cast<int>(p) == g.best)
            continue;
        const int u = pairs_unlike(g.fit, patterns[p]);
        if (u < g.second_unlike)
            g.second_unlike = u, g.second = static_cast<int>(p);
    }
}

} // namespace

int pairs_unlike(const PairFit& fit, GlyphPattern glyph) {
    const GlyphPattern lo = glyph & kLowBits, hi = glyph >> 1 & kLowBits;
    const GlyphPattern drawn = (fit.shows[0] & ~(lo | hi)) | (fit.shows[1] & lo & ~hi) |
                               (fit.shows[2] & hi & ~lo) | (fit.shows[3] & lo & hi);
    return kPairs - set_pixels(drawn);
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
    const auto key = [&](int i) {
        return std::pair{cells.pattern[static_cast<size_t>(i)], fits[static_cast<size_t>(i)].shows};
    };
    std::sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
    std::vector<Group> groups;
    std::vector<int> group_of(fits.size());
    for (int i : order) {
        const auto [own, shows] = key(i);
        if (groups.empty() || groups.back().own != own || groups.back().fit.shows != shows)
            groups.push_back({{shows}, own, 0, own, kNone, 0, kPairs + 1});
        ++groups.back().cells;
        group_of[static_cast<size_t>(i)] = static_cast<int>(groups.size()) - 1;
    }

    // What dropping each pattern costs: its groups' cells, each the double-wide pixels its second
    // draws more unlike than the pattern. Costs only ever grow, so a queue entry below the cost
    // it names is stale and goes back with the cost.
    std::vector<uint8_t> remains(static_cast<size_t>(n), 1);
    std::vector<int64_t> cost(static_cast<size_t>(n), 0);
    std::vector<std::vector<int>> by_best(static_cast<size_t>(n)), by_second(by_best);
    const auto count = [&](const Group& g, int sign) {
        cost[static_cast<size_t>(g.best)] +=
            sign * int64_t{g.cells} * (g.second_unlike - g.best_unlike);
    };
    for (size_t k = 0; k < groups.size(); ++k) {
        Group& g = groups[k];
        g.best_unlike = pairs_unlike(g.fit, patterns[static_cast<size_t>(g.own)]);
        find_second(g, patterns, remains, g.best_unlike);
        by_best[static_cast<size_t>(g.best)].push_back(static_cast<int>(k));
        by_second[static_cast<size_t>(g.second)].push_back(static_cast<int>(k));
        count(g, 1);
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
        // Its groups show their seconds, and find new ones; the groups whose second it was find
        // new ones too.
        for (int k : by_best[p]) {
            Group& g = groups[static_cast<size_t>(k)];
            if (g.best != static_cast<int>(p))
                continue;
            g.best = g.second, g.best_unlike = g.second_unlike;
            find_second(g, patterns, remains, g.best_unlike);
            by_best[static_cast<size_t>(g.best)].push_back(k);
            if (g.second != kNone)
                by_second[static_cast<size_t>(g.second)].push_back(k);
            count(g, 1);
        }
        for (int k : by_second[p]) {
            Group& g = groups[static_cast<size_t>(k)];
            if (g.second != static_cast<int>(p))
                continue;
            count(g, -1);
            find_second(g, patterns, remains, g.second_unlike);
            if (g.second != kNone)
                by_second[static_cast<size_t>(g.second)].push_back(k);
            count(g, 1);
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

} // namespace fontarel
