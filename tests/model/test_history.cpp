// The undo history against a plain list of every state it passed through: random edits, undos and
// redos, the step limit and the byte budget, and no step for an edit that changed nothing.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "model/history.h"

namespace fontarel {
namespace {

// One random edit of the kinds the commands make: a pixel, a whole glyph, a stretch of map cells,
// a map size, every byte at once, or nothing at all.
void random_edit(EditState& s, std::mt19937& rng) {
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    switch (pick(6)) {
    case 0:
        s.bytes[pick(kCharsetBytes)] ^= static_cast<uint8_t>(1u << pick(8));
        break;
    case 1:
        for (int r = 0, g = pick(256); r < 8; ++r)
            s.bytes[8 * g + r] = static_cast<uint8_t>(rng());
        break;
    case 2: // codes or colour attributes, a run of cells
        for (int i = 0, at = (pick(2) ? kEditCellsOffset : kEditAttrsOffset) + pick(4000),
                 n = pick(120);
             i < n; ++i)
            s.bytes[at + i] = static_cast<uint8_t>(pick(3));
        break;
    case 3:
        s.bytes[kEditSizeOffset] = static_cast<uint8_t>(32 + pick(49));
        s.bytes[kEditSizeOffset + 4] = static_cast<uint8_t>(24 + pick(27));
        s.bytes[kEditMachineOffset] = static_cast<uint8_t>(pick(4)); // and the machine
        break;
    case 4:
        if (pick(8) == 0)
            for (uint8_t& b : s.bytes)
                b = static_cast<uint8_t>(~b);
        break;
    default:
        break; // a command that changed nothing
    }
}

struct Limits {
    size_t steps;
    size_t bytes;
};

void PrintTo(const Limits& limits, std::ostream* out) {
    *out << limits.steps << " steps, " << limits.bytes << " bytes";
}

// Names the test cases by their limits rather than by the raw bytes of the struct.
std::string limits_name(const ::testing::TestParamInfo<Limits>& info) {
    return std::to_string(info.param.steps) + "Steps" + std::to_string(info.param.bytes) + "Bytes";
}

class HistoryAgainstModel : public ::testing::TestWithParam<Limits> {};

// The model: every state reached by an edit, in order, and the place of the current one. An undo
// moves back one place, a redo forward; an edit drops what lay ahead.
TEST_P(HistoryAgainstModel, UndoAndRedoReturnTheStatesOfTheirPlaces) {
    const Limits limits = GetParam();
    History history(limits.steps, limits.bytes);
    std::mt19937 rng(1234);
    std::vector<EditState> states(1);
    size_t at = 0;
    size_t oldest = 0; // the oldest place an undo can still reach
    EditState state;

    for (int round = 0; round < 4000; ++round) {
        const unsigned action = rng() % 10;
        if (action < 5) {
            EditState after = state;
            random_edit(after, rng);
            const bool changed = after != state;
            EXPECT_EQ(history.record(state, after), changed);
            if (changed) {
                states.resize(at + 1);
                states.push_back(after);
                ++at;
                oldest = std::max(oldest, at > limits.steps ? at - limits.steps : 0);
                state = after;
            }
        } else if (action < 8) {
            const bool expected = history.can_undo();
            ASSERT_EQ(history.undo(state), expected);
            if (expected)
                --at;
        } else {
            const bool expected = history.can_redo();
            ASSERT_EQ(history.redo(state), expected);
            if (expected)
                ++at;
        }
        ASSERT_EQ(state, states[at]) << "round " << round;
        // Everything after the current place can be redone; the oldest steps go past the step
        // limit, or past the budget unless the newest step alone exceeds it.
        ASSERT_EQ(history.redo_count(), states.size() - 1 - at);
        if (limits.bytes == History::kDefaultMaxBytes) {
            ASSERT_EQ(history.undo_count(), at - oldest);
        } else {
            ASSERT_LE(history.undo_count(), at - oldest);
            oldest = at - history.undo_count();
        }
        // The running count stays the sum over the steps kept, also after an edit dropped the
        // steps that could have been redone.
        ASSERT_EQ(history.bytes(), history.counted_bytes()) << "round " << round;
        ASSERT_TRUE(history.bytes() <= limits.bytes ||
                    history.undo_count() + history.redo_count() == 1);
    }

    // Every step kept can be walked back and forth in full.
    while (history.undo(state))
        ASSERT_EQ(state, states[--at]);
    while (history.redo(state))
        ASSERT_EQ(state, states[++at]);
    EXPECT_EQ(at, states.size() - 1);
}

INSTANTIATE_TEST_SUITE_P(Limits, HistoryAgainstModel,
                         ::testing::Values(Limits{History::kDefaultMaxSteps,
                                                  History::kDefaultMaxBytes},
                                           Limits{5, History::kDefaultMaxBytes},
                                           Limits{History::kDefaultMaxSteps, 40000}),
                         limits_name);

// With the default limits, 1,000 steps that each change every byte all stay, within 16 MiB; the
// budget then drops the oldest of further steps like them.
TEST(History, AThousandLargestStepsFitTheBudget) {
    History history;
    EditState zeros;
    EditState ones;
    ones.bytes.fill(0xFF);
    for (int i = 0; i < 1000; ++i)
        ASSERT_TRUE(i % 2 ? history.record(ones, zeros) : history.record(zeros, ones));
    EXPECT_EQ(history.undo_count(), 1000u);
    EXPECT_EQ(history.bytes(), 1000 * History::kLargestStepBytes);
    EXPECT_LE(history.bytes(), size_t{16} << 20);
    for (int i = 0; i < 1000; ++i)
        ASSERT_TRUE(history.record(zeros, ones));
    EXPECT_GE(history.undo_count(), 1000u);
    EXPECT_LT(history.undo_count(), 2000u);
    EXPECT_LE(history.bytes(), History::kDefaultMaxBytes);
}

TEST(EditState, CaptureAndRestoreCoverTheStoreEveryCellAndTheSize) {
    auto store = std::make_unique<CharsetStore>();
    auto map = std::make_unique<CharMap>();
    for (int i = 0; i < kCharsetBytes; ++i)
        store->bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    for (int r = 0; r < kMapCapacityRows; ++r)
        for (int c = 0; c < kMapCapacityCols; ++c)
            map->at(c, r) = (c * 5 + r * 11) & 0xFF;
    for (int r = 0; r < kMapCapacityRows; ++r)
        for (int c = 0; c < kMapCapacityCols; ++c)
            map->attr(c, r) = static_cast<uint8_t>(c * 3 + r * 7);
    map->cols = 80;
    map->rows = 50;
    map->look.machine = MapMachine::ZxSpectrum;
    map->look.background = 5;
    const EditState state = capture_edit_state(*store, *map);

    auto store2 = std::make_unique<CharsetStore>();
    auto map2 = std::make_unique<CharMap>();
    restore_edit_state(state, *store2, *map2);
    EXPECT_EQ(store2->bytes, store->bytes);
    EXPECT_EQ(map2->cells, map->cells);
    EXPECT_EQ(map2->attrs, map->attrs);
    EXPECT_EQ(map2->cols, 80);
    EXPECT_EQ(map2->rows, 50);
    EXPECT_EQ(map2->look.machine, MapMachine::ZxSpectrum);
    EXPECT_EQ(map2->look.background, 5);
    // The spare column and row are part of the state.
    map->at(80, 50) = 255;
    EXPECT_NE(capture_edit_state(*store, *map), state);
}

} // namespace
} // namespace fontarel
