#pragma once
// The recovery file: a base and a journal in one file, so that keeping it up to date costs what
// changed, not the size of the project. It begins with kRecoveryMagic; then come entries, each
// framed as a 4-byte payload length, the payload, and the zlib crc32 of the payload (numbers least
// significant byte first). The first entry is the base: the project text (project_text of the
// project without its tiles and level, which come beside it in binary, so that no whole JSON text
// of a large level is built) and the tiles and level whole. Each later entry holds what changed
// since the one before as the resulting values: runs of the edit state's bytes, the glyph colours,
// and whole tiles and level blocks, or the whole of either when its shape changed. Replaying the
// entries in order gives the state as the last one was written; a file cut short (a crash in the
// middle of an append) is read up to its last whole entry.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "formats/project.h"
#include "model/history.h"

namespace fontarel {

// The editor's one option: load the newest recovery file of an ended run, or the one given.
inline constexpr const char* kRecoverOption = "--recover";

inline constexpr char kRecoveryMagic[] = "FONTAREL-RECOVERY-1\n";
inline constexpr size_t kRecoveryMagicBytes = sizeof kRecoveryMagic - 1;
// Bytes of a frame around the payload: its length before it, its checksum after it.
inline constexpr size_t kFrameBytes = 8;

// What a recovery file holds, for the list "Recover last session" shows: the machine, the map's
// size in use, the level's size. Every entry begins with it, so the last whole one tells.
struct RecoverySummary {
    MapMachine machine = MapMachine::Mono;
    int map_cols = 0, map_rows = 0, level_cols = 0, level_rows = 0;
    bool operator==(const RecoverySummary&) const = default;
};

struct RecoveryEntry {
    RecoverySummary summary;
    std::optional<std::string> project_text; // the base entry only
    std::vector<uint8_t> state_runs;         // append_state_runs
    std::optional<std::pair<Colour, Colour>> colours;
    std::optional<TileSet> tiles; // the whole set
    std::vector<std::pair<int, TileSet::Piece>> tile_pieces;
    std::optional<Level> level; // the whole level
    std::vector<std::pair<int, Level::Piece>> blocks;

    bool empty() const {
        return !project_text && state_runs.empty() && !colours && !tiles && tile_pieces.empty() &&
               !level && blocks.empty();
    }
};

// Appends to `out` the runs that turn `from` into `to`: 2-byte offset, 2-byte length, then the
// new bytes. Nothing when the two are equal.
void append_state_runs(const EditState& from, const EditState& to, std::vector<uint8_t>& out);

// The base entry of a project: its text without the tiles and level, and those whole.
RecoveryEntry base_entry(const Project& project);

// Writes the entry's frame to `sink` in pieces of at most 64 kB, never the whole payload at once;
// false as soon as the sink returns false. `written` gets the frame's bytes.
using ByteSink = std::function<bool(std::span<const uint8_t>)>;
bool write_recovery_entry(const RecoveryEntry& entry, const ByteSink& sink, int64_t& written);

// Reads a recovery file into `out`: the base, then every whole entry after it in order, up to the
// first that is cut short or whose checksum is wrong. A file that is a plain project is read as
// one. Returns an empty text on success (`entries` then counts the entries replayed after the
// base); otherwise says what is wrong in one line, with `out` unchanged.
std::string read_recovery(std::span<const uint8_t> bytes, Project& out, int& entries);

// The summary of the last whole entry, reading only frame headers through `read` (offset,
// count -> bytes, fewer at the end); false when the file holds no whole entry.
using PartReader = std::function<std::vector<uint8_t>(int64_t offset, int64_t count)>;
bool read_recovery_summary(const PartReader& read, RecoverySummary& out);

} // namespace fontarel
