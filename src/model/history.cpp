#include "model/history.h"

#include <algorithm>
#include <cstring>

namespace fontarel {

namespace {

void put32(uint8_t* at, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<uint8_t>(v >> (8 * i));
    }
}

int32_t get32(const uint8_t* at) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        v |= static_cast<uint32_t>(at[i]) << (8 * i);
    }
    return static_cast<int32_t>(v);
}

// Unchanged bytes between two changes that are cheaper kept in one run (a zero byte each) than
// paid for with the header of a new run.
constexpr size_t kMergeGap = History::kRunHeaderBytes;

void put16(std::vector<uint8_t>& out, size_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

size_t get16(const uint8_t* at) {
    return static_cast<size_t>(at[0]) | static_cast<size_t>(at[1]) << 8;
}

static_assert(kEditStateBytes <= 0xFFFF, "run offsets and lengths are 16 bits");

} // namespace

EditState capture_edit_state(const CharsetStore& store, const CharMap& map) {
    EditState state;
    uint8_t* out = state.bytes.data();
    std::memcpy(out, store.bytes.data(), kCharsetBytes);
    out += kEditCellsOffset;
    // Every stored code is 0-255. The first 80 cells of a row, a multiple of 16, narrow as whole
    // vectors; the spare column follows on its own. This runs twice for every event.
    constexpr int kWhole = kMapCapacityCols / 16 * 16;
    for (const auto& row : map.cells) {
        const int32_t* codes = row.data();
        for (int c = 0; c < kWhole; ++c) {
            out[c] = static_cast<uint8_t>(codes[c]);
        }
        for (int c = kWhole; c < kMapCapacityCols; ++c) {
            out[c] = static_cast<uint8_t>(codes[c]);
        }
        out += kMapCapacityCols;
    }
    put32(state.bytes.data() + kEditSizeOffset, map.cols);
    put32(state.bytes.data() + kEditSizeOffset + 4, map.rows);
    std::memcpy(state.bytes.data() + kEditAttrsOffset, map.attrs.data(), sizeof map.attrs);
    put_screen_look(map.look, state.bytes.data() + kEditMachineOffset,
                    state.bytes.data() + kEditAtariOffset);
    std::memcpy(state.bytes.data() + kEditMaterialsOffset, store.materials.data(), kGlyphCount);
    return state;
}

void restore_edit_state(const EditState& state, CharsetStore& store, CharMap& map) {
    const uint8_t* in = state.bytes.data();
    std::memcpy(store.bytes.data(), in, kCharsetBytes);
    in += kEditCellsOffset;
    for (auto& row : map.cells) {
        for (int32_t& code : row) {
            code = *in++;
        }
    }
    map.cols = get32(state.bytes.data() + kEditSizeOffset);
    map.rows = get32(state.bytes.data() + kEditSizeOffset + 4);
    std::memcpy(map.attrs.data(), state.bytes.data() + kEditAttrsOffset, sizeof map.attrs);
    map.look = get_screen_look(state.bytes.data() + kEditMachineOffset,
                              state.bytes.data() + kEditAtariOffset);
    std::memcpy(store.materials.data(), state.bytes.data() + kEditMaterialsOffset, kGlyphCount);
}

History::History(size_t max_steps, size_t max_bytes)
    : max_steps_(std::max<size_t>(max_steps, 1)), max_bytes_(max_bytes) {}

bool History::record(const EditState& before, const EditState& after, LevelChange level) {
    // Most events change nothing: one comparison of the whole state settles them.
    if (before == after && level.empty()) {
        return false;
    }
    const uint8_t* old_bytes = before.bytes.data();
    const uint8_t* new_bytes = after.bytes.data();
    const size_t n = before.bytes.size();

    std::vector<uint8_t> runs;
    size_t i = 0;
    for (;;) {
        // Unchanged stretches, most of the state, are passed eight bytes at a time.
        while (i + 8 <= n && std::memcmp(old_bytes + i, new_bytes + i, 8) == 0) {
            i += 8;
        }
        while (i < n && old_bytes[i] == new_bytes[i]) {
            ++i;
        }
        if (i == n) {
            break;
        }
        // The run ends at the first stretch of more than kMergeGap unchanged bytes.
        const size_t start = i;
        size_t end = i + 1; // one past the last changed byte
        for (size_t j = end; j < n && j <= end + kMergeGap; ++j) {
            if (old_bytes[j] != new_bytes[j]) {
                end = j + 1;
            }
        }
        put16(runs, start);
        put16(runs, end - start);
        for (size_t k = start; k < end; ++k) {
            runs.push_back(static_cast<uint8_t>(old_bytes[k] ^ new_bytes[k]));
        }
        i = end;
    }
    if (runs.empty() && level.empty()) {
        return false;
    }

    while (steps_.size() > undoable_) {
        bytes_ -= cost(steps_.back());
        steps_.pop_back();
    }
    Step step;
    step.runs.assign(runs.begin(), runs.end()); // exactly as long as its runs
    if (!level.empty())
        step.level = std::make_unique<LevelChange>(std::move(level));
    steps_.push_back(std::move(step));
    bytes_ += cost(steps_.back());
    ++undoable_;
    while (steps_.size() > 1 && (steps_.size() > max_steps_ || bytes_ > max_bytes_)) {
        bytes_ -= cost(steps_.front());
        steps_.pop_front();
        --undoable_;
    }
    return true;
}

size_t History::counted_bytes() const {
    size_t sum = 0;
    for (const Step& step : steps_) {
        sum += cost(step);
    }
    return sum;
}

void History::apply(const Step& step, EditState& state) {
    const uint8_t* at = step.runs.data();
    const uint8_t* end = at + step.runs.size();
    while (at < end) {
        const size_t offset = get16(at);
        const size_t length = get16(at + 2);
        const uint8_t* change = at + kRunHeaderBytes;
        uint8_t* bytes = state.bytes.data() + offset;
        for (size_t k = 0; k < length; ++k) {
            bytes[k] ^= change[k];
        }
        at += kRunHeaderBytes + length;
    }
}

bool History::undo(EditState& state, LevelDoc* doc) {
    if (!can_undo()) {
        return false;
    }
    --undoable_;
    Step& step = steps_[undoable_]; // its level change swaps a whole it holds
    apply(step, state);
    if (doc != nullptr && step.level)
        doc->undo(*step.level);
    return true;
}

bool History::redo(EditState& state, LevelDoc* doc) {
    if (!can_redo()) {
        return false;
    }
    Step& step = steps_[undoable_]; // its level change swaps a whole it holds
    apply(step, state);
    if (doc != nullptr && step.level)
        doc->redo(*step.level);
    ++undoable_;
    return true;
}

} // namespace fontarel
