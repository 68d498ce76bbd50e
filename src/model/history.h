#pragma once
// The undo history of the edited data: the charset bytes, every cell of the map array, the map
// size in use, the cells' colour attributes, the machine and its background. A step keeps only the
// bytes it changed, as runs of (offset, old bytes XOR new bytes), so a pixel costs a few bytes and
// a step that changed everything stays near 10 kB. The tiles and the level, far larger, come in a
// step as the pieces the edit replaced (LevelChange), never as a copy of the whole. The XOR undoes
// and redoes alike; it needs the state a step is applied to to be exactly the one the step left,
// which undo and redo promise.

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "model/char_map.h"
#include "model/charset_store.h"
#include "model/level.h"

namespace fontarel {

// The edited data packed as bytes: the 2048 charset bytes; then the 81 x 51 map cells row by row,
// one byte a cell (every stored code is 0-255); then the columns and the rows in use, 4 bytes
// each, least significant first; then the 81 x 51 attributes row by row, the screen look
// (put_screen_look), the 256 glyphs' materials, and the Atari part of the screen look last, so
// that the offsets of a state kept before it existed still hold.
constexpr int kEditCellsOffset = kCharsetBytes;
constexpr int kEditSizeOffset = kEditCellsOffset + kMapCapacityCols * kMapCapacityRows;
constexpr int kEditSizeBytes = 8;
constexpr int kEditAttrsOffset = kEditSizeOffset + kEditSizeBytes;
constexpr int kEditMachineOffset = kEditAttrsOffset + kMapCapacityCols * kMapCapacityRows;
constexpr int kEditMaterialsOffset = kEditMachineOffset + kScreenLookBytes;
constexpr int kEditAtariOffset = kEditMaterialsOffset + kGlyphCount;
constexpr int kEditStateBytes = kEditAtariOffset + kAtariLookBytes;

struct EditState {
    std::array<uint8_t, kEditStateBytes> bytes{};

    bool operator==(const EditState&) const = default;
};

EditState capture_edit_state(const CharsetStore& store, const CharMap& map);
// Writes every byte of the state back: the charset, all cells, the size in use, the attributes,
// the machine, the background and the multicolour state.
void restore_edit_state(const EditState& state, CharsetStore& store, CharMap& map);

class History {
  public:
    // Room for far more than 1,000 small steps; the byte budget holds at least the last 1,000
    // even when every one of them changed every byte (kLargestStepBytes each).
    static constexpr size_t kDefaultMaxSteps = 10000;
    static constexpr size_t kDefaultMaxBytes = size_t{16} << 20;

    History() : History(kDefaultMaxSteps, kDefaultMaxBytes) {}
    explicit History(size_t max_steps, size_t max_bytes = kDefaultMaxBytes);

    // Makes the change from `before` to `after` the newest step and drops every step that could
    // have been redone. Then the oldest steps go while there are more than max_steps or they hold
    // more than max_bytes; the newest step always stays. Returns false, changing nothing (the
    // redo steps included), when the two states are equal.
    // `level` is what the same step changed of the tiles and the level.
    bool record(const EditState& before, const EditState& after, LevelChange level = {});
    // `state` is the state after the newest step that can be undone; it gets that step's old
    // bytes, and `doc` (when given) its old tiles and level. False, with both as they were, when
    // there is nothing to undo.
    bool undo(EditState& state, LevelDoc* doc = nullptr);
    // The same forwards: `state` gets the new bytes of the oldest step that can be redone.
    bool redo(EditState& state, LevelDoc* doc = nullptr);

    bool can_undo() const { return undoable_ > 0; }
    bool can_redo() const { return undoable_ < steps_.size(); }
    size_t undo_count() const { return undoable_; }
    size_t redo_count() const { return steps_.size() - undoable_; }
    // Bytes the steps hold: each step's record plus its runs. The allocator's own rounding and
    // bookkeeping come on top.
    size_t bytes() const { return bytes_; }
    // The same bytes summed afresh over the steps kept: what bytes() must always equal, for checks.
    size_t counted_bytes() const;

    // What one step holds besides its runs, and what a run adds before its length bytes.
    static constexpr size_t kStepRecordBytes =
        sizeof(std::vector<uint8_t>) + sizeof(std::unique_ptr<LevelChange>);
    static constexpr size_t kRunHeaderBytes = 4;
    static constexpr size_t kLargestStepBytes =
        kStepRecordBytes + kRunHeaderBytes + size_t{kEditStateBytes};

  private:
    // Runs, one after another: offset (2 bytes), length n (2 bytes), n bytes old XOR new.
    struct Step {
        std::vector<uint8_t> runs;
        std::unique_ptr<LevelChange> level; // null when the step left tiles and level alone
    };

    static size_t cost(const Step& step) {
        return kStepRecordBytes + step.runs.capacity() +
               (step.level ? sizeof(LevelChange) + step.level->bytes() : 0);
    }
    static void apply(const Step& step, EditState& state);

    std::deque<Step> steps_; // oldest first; the first undoable_ of them can be undone
    size_t undoable_ = 0;
    size_t bytes_ = 0;
    size_t max_steps_;
    size_t max_bytes_;
};

} // namespace fontarel
