#include "formats/pattern_merge.h"

#include <algorithm>
#include <functional>
#include <numeric>
#include <queue>

namespace fontarel {

// Every remaining pattern knows a nearest pattern and their distance, as a key (below). Patterns
// are only ever dropped, never changed, so distances stay as they are and a pattern's nearest
// distance can only grow: a nearest that has since been dropped leaves a lower bound, looked up
// again only when it comes to the front. The patterns wait in one queue for each distance 0-64,
// each lowest index first; the front of the lowest queue whose nearest still remains is the pair
// to merge (every pattern before it has no remaining partner at that distance, or it would have
// come to the front first), and the lowest non-empty distance never goes down. Finding every
// pattern's first nearest costs half of all pairs; a look-up, one pass over the remaining ones.

namespace {

// A candidate nearest pattern as one number: the distance above the index, so that the smallest
// key names the nearest pattern, the lowest index among equally near ones.
using Key = uint64_t;
constexpr Key key(int distance, int index) {
    return Key{static_cast<uint32_t>(distance)} << 32 | static_cast<uint32_t>(index);
}
constexpr int key_distance(Key k) {
    return static_cast<int>(k >> 32);
}
constexpr int key_index(Key k) {
    return static_cast<int>(k & 0xFFFFFFFFu);
}
constexpr Key kNoKey = ~Key{0};

// The two scans that cost all the time, written once for two ways of counting differing pixels:
// the CPU's population count where it has one, else differing_pixels. Both are inlined into the
// function that picks the way, so that its instruction set applies to them.
template <bool kCpuCount>
[[gnu::always_inline]] inline int distance(GlyphPattern a, GlyphPattern b) {
    if constexpr (kCpuCount)
        return __builtin_popcountll(a ^ b);
    else
        return differing_pixels(a, b);
}

// Every pattern's nearest, over the pairs (i, j > i) each once.
template <bool kCpuCount>
[[gnu::always_inline]] inline void all_nearest(std::span<const GlyphPattern> patterns,
                                               std::vector<Key>& nearest) {
    const int n = static_cast<int>(patterns.size());
    for (int i = 0; i < n; ++i) {
        const GlyphPattern pi = patterns[i];
        Key best = nearest[i];
        for (int j = i + 1; j < n; ++j) {
            const int d = distance<kCpuCount>(pi, patterns[j]);
            best = std::min(best, key(d, j));
            nearest[j] = std::min(nearest[j], key(d, i));
        }
        nearest[i] = best;
    }
}

// The remaining patterns in index order, copied together so that a look-up reads only them;
// dropped ones are marked, and packed away once they are an eighth of the array.
struct Remaining {
    std::vector<int> index;
    std::vector<GlyphPattern> pattern;
    std::vector<Key> gone; // kNoKey for a dropped pattern, else 0
    size_t dropped = 0;

    explicit Remaining(std::span<const GlyphPattern> patterns)
        : index(patterns.size()), pattern(patterns.begin(), patterns.end()),
          gone(patterns.size(), 0) {
        std::iota(index.begin(), index.end(), 0);
    }
    void drop(int p) {
        // Indices ascend, so p is found by bisection.
        const auto at = std::lower_bound(index.begin(), index.end(), p) - index.begin();
        gone[static_cast<size_t>(at)] = kNoKey;
        if (++dropped * 8 <= index.size())
            return;
        size_t to = 0;
        for (size_t m = 0; m < index.size(); ++m) {
            if (gone[m] != 0)
                continue;
            index[to] = index[m];
            pattern[to++] = pattern[m];
        }
        index.resize(to);
        pattern.resize(to);
        gone.assign(to, 0);
        dropped = 0;
    }
};

// The nearest remaining pattern to p, itself excepted; no pattern lies nearer than `floor`, so
// the search ends after the run of patterns in which one at that distance turns up. Within a run
// there is no branch: the dropped are skipped by their key.
template <bool kCpuCount>
[[gnu::always_inline]] inline Key nearest_remaining(const Remaining& r, GlyphPattern pp, int p,
                                                    int floor) {
    constexpr size_t kRun = 32;
    const size_t n = r.index.size();
    Key best = kNoKey;
    for (size_t start = 0; start < n && best >= key(floor + 1, 0); start += kRun) {
        const size_t end = std::min(n, start + kRun);
        for (size_t m = start; m < end; ++m) {
            const Key k = key(distance<kCpuCount>(pp, r.pattern[m]), r.index[m]) | r.gone[m];
            best = std::min(best, r.index[m] == p ? kNoKey : k);
        }
    }
    return best;
}

template <bool kCpuCount>
[[gnu::always_inline]] inline std::vector<int> merge(std::span<const GlyphPattern> patterns,
                                                     std::vector<int>& cells, int keep) {
    const int n = static_cast<int>(patterns.size());
    std::vector<uint8_t> remains(n, 1);
    if (n > keep && keep >= 1) {
        std::vector<Key> nearest(n, kNoKey);
        all_nearest<kCpuCount>(patterns, nearest);
        using Queue = std::priority_queue<int, std::vector<int>, std::greater<>>;
        std::vector<Queue> queues(65);
        for (int i = 0; i < n; ++i)
            queues[key_distance(nearest[i])].push(i);
        Remaining remaining(patterns);
        int left = n;
        size_t d = 0;
        while (left > keep) {
            while (queues[d].empty())
                ++d;
            const int p = queues[d].top();
            queues[d].pop();
            if (!remains[p])
                continue;
            const int q = key_index(nearest[p]);
            if (!remains[q]) {
                nearest[p] =
                    nearest_remaining<kCpuCount>(remaining, patterns[p], p, static_cast<int>(d));
                queues[key_distance(nearest[p])].push(p);
                continue;
            }
            // q comes after p (see above): on equal cells q goes.
            const bool drop_q = cells[q] <= cells[p];
            const int dropped = drop_q ? q : p;
            const int kept = drop_q ? p : q;
            remains[dropped] = 0;
            remaining.drop(dropped);
            cells[kept] += cells[dropped];
            --left;
            if (kept == p) // its nearest is gone: it comes to the front again and looks up another
                queues[d].push(p);
        }
    }
    std::vector<int> out;
    for (int i = 0; i < n; ++i)
        if (remains[i])
            out.push_back(i);
    return out;
}

#if defined(__x86_64__)
// The population count instruction is not in the baseline x86-64 set the program is built for;
// where the CPU has it, it counts differing pixels in one step.
[[gnu::target("popcnt")]] std::vector<int> merge_with_popcnt(std::span<const GlyphPattern> patterns,
                                                             std::vector<int>& cells, int keep) {
    return merge<true>(patterns, cells, keep);
}
#endif

} // namespace

std::vector<int> merge_patterns(std::span<const GlyphPattern> patterns, std::vector<int> cells,
                                int keep) {
#if defined(__x86_64__)
    if (__builtin_cpu_supports("popcnt"))
        return merge_with_popcnt(patterns, cells, keep);
#endif
    return merge<false>(patterns, cells, keep);
}

} // namespace fontarel
