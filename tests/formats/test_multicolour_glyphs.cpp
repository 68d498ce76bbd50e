// The merge of multicolour patterns against a slow model of its rule: of the remaining patterns
// drop the one whose cells then draw the fewest double-wide pixels more unlike, each cell moving
// to its nearest remaining pattern, until `keep` remain.

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "formats/multicolour_glyphs.h"

namespace fontarel {
namespace {

TEST(MulticolourGlyphs, TheMergeDropsTheCheapestPatternEachTime) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        // 40 patterns, a few bit pairs from one of three, so that near and equal costs abound;
        // 120 cells, the first 40 one of each; half of them draw every pair as it is, the others
        // not one pair in four.
        CellPatterns cells;
        const GlyphPattern base[3] = {random() * 0x100000001ull, random() * 0x100000003ull,
                                      random() * 0x100000005ull};
        while (cells.patterns.size() < 40) {
            GlyphPattern p = base[random() % 3];
            for (int k = random() % 4; k >= 0; --k)
                p ^= GlyphPattern{1 + random() % 3} << 2 * (random() % 32);
            if (std::find(cells.patterns.begin(), cells.patterns.end(), p) == cells.patterns.end())
                cells.patterns.push_back(p);
        }
        std::vector<PairFit> fits(120);
        cells.count.assign(40, 0);
        for (int c = 0; c < 120; ++c) {
            const int own = c < 40 ? c : static_cast<int>(random() % 40);
            cells.pattern.push_back(own);
            ++cells.count[static_cast<size_t>(own)];
            const bool exact = random() % 2 == 0; // those of a pattern then count as one
            for (int j = 0; j < 32; ++j)
                if (exact || random() % 4 != 0)
                    fits[c].shows[cells.patterns[own] >> 2 * j & 3] |= GlyphPattern{1} << 2 * j;
        }
        const int keep = static_cast<int>(1 + seed * 6);
        const GlyphChoice got = choose_glyphs(cells, fits, keep);

        std::vector<int> kept(40), shown = cells.pattern;
        std::iota(kept.begin(), kept.end(), 0);
        const auto unlike = [&](int c, int p) { return pairs_unlike(fits[c], cells.patterns[p]); };
        // The nearest of `kept` but `but`, the earliest on ties.
        const auto nearest = [&](int c, int but) {
            int best = -1;
            for (int q : kept)
                if (q != but && (best < 0 || unlike(c, q) < unlike(c, best)))
                    best = q;
            return best;
        };
        while (static_cast<int>(kept.size()) > keep) {
            int drop = -1, fewest = 1 << 30;
            for (int p : kept) {
                int cost = 0;
                for (int c = 0; c < 120; ++c)
                    cost += shown[c] == p ? unlike(c, nearest(c, p)) - unlike(c, p) : 0;
                if (cost <= fewest)
                    fewest = cost, drop = p;
            }
            kept.erase(std::find(kept.begin(), kept.end(), drop));
            for (int c = 0; c < 120; ++c)
                if (shown[c] == drop)
                    shown[c] = nearest(c, -1);
        }
        EXPECT_EQ(got.kept, kept);
        EXPECT_EQ(got.shown, shown);
    }
}

} // namespace
} // namespace fontarel
