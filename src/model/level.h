#pragma once
// A game's playfield: a tile set (blocks of character cells, each cell a code and a colour
// attribute) and a level (a grid of tile numbers) that may be far larger than a screen. The level
// is drawn with the map's machine, background and multicolour registers.
//
// Both are kept in shared, copy-on-write pieces: a level in blocks of 32 x 32 tile numbers, a tile
// set tile by tile. Copying either (an undo step, the recovery file's snapshot) copies pointers,
// and a change copies only the piece it writes, so the cost of an edit follows the edit, never the
// size of the level.

#include <array>
#include <compare>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "model/char_map.h"

namespace fontarel {

constexpr int kMaxTileSide = 8;     // characters a tile is wide or high, at most
constexpr int kMaxTiles = 4096;     // tiles in a set, at most
constexpr int kMaxLevelSide = 4096; // tiles a level is wide or high, at most
constexpr int kMaxTileName = 32;    // characters (UTF-8 code points) of a tile's name, at most

struct TileCell {
    uint8_t code = 0;
    uint8_t attr = 0;
    auto operator<=>(const TileCell&) const = default;
};

// One tile's cells: cell (x, y) is cells[kMaxTileSide * y + x], whatever the set's tile size; the
// cells outside the size are 0. The tag (a game's number for what the tile is: solid, water, ...)
// and the name (UTF-8, at most kMaxTileName characters) travel with the cells, so that undo, the
// recovery file and the moves of tiles keep them without a word of their own.
struct Tile {
    std::array<TileCell, kMaxTileSide * kMaxTileSide> cells{};
    uint8_t tag = 0;
    std::string name;
    TileCell& at(int x, int y) { return cells[kMaxTileSide * y + x]; }
    TileCell at(int x, int y) const { return cells[kMaxTileSide * y + x]; }
    auto operator<=>(const Tile&) const = default;
};

class TileSet {
  public:
    // `count` tiles (1..kMaxTiles) of width x height cells (1..kMaxTileSide each, clamped), every
    // cell code `code` with attribute `attr`.
    explicit TileSet(int width = 4, int height = 4, int count = 1, TileCell blank = {});
    // The tiles `pieces` (1..kMaxTiles of them, none null, their cells outside the size 0) of
    // width x height cells, taken as they are: a reader hands over what it made without a copy.
    TileSet(int width, int height, std::vector<std::shared_ptr<const Tile>> pieces);

    int width() const { return width_; }
    int height() const { return height_; }
    int count() const { return static_cast<int>(tiles_.size()); }
    // Tile numbers and cells are not checked: 0 <= tile < count(), x < width(), y < height().
    const Tile& tile(int t) const { return *tiles_[t]; }
    TileCell cell(int t, int x, int y) const { return tiles_[t]->at(x, y); }
    void set_cell(int t, int x, int y, TileCell value);
    // Appends a tile (its cells outside the tile size are cleared); false, changing nothing, when
    // the set holds kMaxTiles already.
    bool append(const Tile& tile);
    // Keeps the tiles whose keep[t] is true, in their order; keep has count() entries. At least
    // one tile always stays: with none kept, tile 0 stays.
    void keep_only(const std::vector<bool>& keep);

    // Same size and the same cells in every tile.
    bool operator==(const TileSet& other) const;

    // The pieces, for undo: a tile's shared cells, and a piece put back.
    using Piece = std::shared_ptr<const Tile>;
    const Piece& piece(int t) const { return tiles_[t]; }
    void set_piece(int t, Piece piece) { tiles_[t] = std::move(piece); }

  private:
    int width_, height_;
    std::vector<Piece> tiles_;
};

class Level {
  public:
    static constexpr int kBlockSide = 32; // a piece holds kBlockSide x kBlockSide tile numbers
    using Block = std::array<uint16_t, kBlockSide * kBlockSide>;
    using Piece = std::shared_ptr<const Block>;

    // cols x rows (1..kMaxLevelSide each, clamped) tile numbers, all `tile`.
    explicit Level(int cols = 16, int rows = 16, uint16_t tile = 0);
    // cols x rows (1..kMaxLevelSide each) tile numbers in `blocks`, by block_index, as many as
    // that size has and none null, taken as they are.
    Level(int cols, int rows, std::vector<std::shared_ptr<const Block>> blocks);

    int cols() const { return cols_; }
    int rows() const { return rows_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < cols_ && y < rows_; }
    // (x, y) must lie in the level.
    uint16_t at(int x, int y) const {
        return (*blocks_[block_index(x, y)])[kBlockSide * (y % kBlockSide) + x % kBlockSide];
    }
    void set(int x, int y, uint16_t tile);
    // Tiles from (x, y) rightwards, as far as the level goes: one write to each block it crosses.
    void set_row(int x, int y, std::span<const uint16_t> tiles);

    // Same size and the same tile numbers.
    bool operator==(const Level& other) const;

    // The pieces, for undo: the block holding (x, y), by index, and a block put back.
    int block_index(int x, int y) const { return block_cols_ * (y / kBlockSide) + x / kBlockSide; }
    int block_count() const { return static_cast<int>(blocks_.size()); }
    const Piece& piece(int i) const { return blocks_[i]; }
    void set_piece(int i, Piece piece) { blocks_[i] = std::move(piece); }
    // Bytes of the blocks that hold something other than tile 0 everywhere: a blank level shares
    // one block, whatever its size.
    size_t block_bytes() const;

  private:
    int cols_, rows_, block_cols_;
    std::vector<Piece> blocks_;
};

// What one edit step changed of the tiles and the level: the pieces it replaced, old and new, or
// the whole of either when it was replaced. Empty when nothing changed.
struct LevelChange {
    template <class Piece> struct Pieces {
        std::vector<int> index;
        std::vector<Piece> before, after;
    };
    Pieces<Level::Piece> blocks;
    Pieces<TileSet::Piece> tiles;
    // A whole replaced: the one not in use, moved here rather than copied. While the step can be
    // undone it is the whole as the step found it; once undone, the whole the step left. Undo and
    // redo swap it with the one in use, which they promise is exactly the other.
    std::optional<Level> level_other;
    std::optional<TileSet> tiles_other;
    // What the wholes held when the step was recorded cost (blocks other than the blank one, and
    // the pointers): bytes() counts that whichever side they hold, so a history's sum of its
    // steps stays what it added.
    size_t whole_bytes = 0;

    bool empty() const {
        return blocks.index.empty() && tiles.index.empty() && !level_other && !tiles_other;
    }
    // Bytes the change keeps alive that the data in use may not share: the old pieces.
    size_t bytes() const;
};

// What was written of the tiles and the level since a record beside the history (the recovery
// file) last took it: block and tile indexes, in no order, or the whole of either. Steps, strokes
// still open, undo and redo all count.
struct LevelWritten {
    std::vector<int> blocks, tiles;
    bool whole_level = false, whole_tiles = false;
    bool empty() const { return blocks.empty() && tiles.empty() && !whole_level && !whole_tiles; }
};

// The tiles and the level being edited, with the record of what changed since the last step
// closed. Every change goes through it, so that take_change can hand over exactly the pieces an
// edit touched.
class LevelDoc {
  public:
    LevelDoc() = default;

    const TileSet& tiles() const { return tiles_; }
    const Level& level() const { return level_; }

    // (x, y) in the level and a tile number below the set's count; false, changing nothing,
    // otherwise. True also when the cell held that tile already.
    bool set_level_tile(int x, int y, int tile);
    // A cell of a tile; false, changing nothing, outside the set or the tile size.
    bool set_tile_cell(int tile, int x, int y, TileCell value);
    // A tile's tag and name; false, changing nothing, outside the set or for a name that is not
    // a tile name (tile_name_fits).
    bool set_tile_label(int tile, uint8_t tag, const std::string& name);
    // Replaces the whole tile set, or the level, or both.
    void replace_tiles(TileSet tiles);
    void replace_level(Level level);

    // The changes since the last call (or since the document was made), which then count as
    // recorded.
    LevelChange take_change();
    // Puts the data as it was before `change` (undo) or after it (redo). Neither is recorded. A
    // whole in `change` is swapped with the one in use, so the change then holds the other side.
    void undo(LevelChange& change);
    void redo(LevelChange& change);
    // What was written since the last call, which then counts as taken. Its size follows what was
    // written, at most one entry a block or tile.
    LevelWritten take_written();

  private:
    void note_change(const LevelChange& change);
    void note_block(int i) {
        if (i != last_written_block_ && !written_.whole_level && written_blocks_.insert(i).second)
            written_.blocks.push_back(i);
        last_written_block_ = i;
    }
    void note_tile(int t) {
        if (!written_.whole_tiles && written_tiles_.insert(t).second)
            written_.tiles.push_back(t);
    }

    TileSet tiles_;
    Level level_;
    // The pieces as the open step found them, by index, before it first wrote them.
    std::unordered_map<int, Level::Piece> old_blocks_;
    std::unordered_map<int, TileSet::Piece> old_tiles_;
    // The whole of either as the open step found it, once its shape changed.
    std::optional<Level> old_level_;
    std::optional<TileSet> old_tile_set_;
    // What take_written hands over next, and sets of its indexes to keep each one once.
    LevelWritten written_;
    std::unordered_set<int> written_blocks_, written_tiles_;
    int last_written_block_ = -1;
};

// ---- Level commands: pure, on the model alone

// True when `name` can name a tile: valid UTF-8 of at most kMaxTileName characters, none of them
// a control character.
bool tile_name_fits(const std::string& name);
// A tile's tag and name as one line: the tag 0-255, then, after spaces, the name to the end of the
// line, its outer spaces dropped ("3 deep water", "12"). False when the line does not begin with a
// tag or the name does not fit.
bool parse_tile_label(const std::string& text, uint8_t& tag, std::string& name);

// The tile size and level size "W x H, C x R" of New level...: "4x4, 64x32", spaces allowed
// around the numbers and separators, 'x' or 'X'. False when the text does not parse or a number
// lies outside its range.
bool parse_level_size(const std::string& text, int& tile_width, int& tile_height, int& cols,
                      int& rows);

// Inserts a column of tile 0 before column x (the level grows by one), or deletes column x (the
// level shrinks by one, but never below 1: a one-column level's column becomes tile 0). The same
// for rows. False, changing nothing, when x (y) lies outside the level, or on an insert into a
// level kMaxLevelSide wide (high): no tile is ever pushed out of it.
bool insert_level_column(Level& level, int x);
bool delete_level_column(Level& level, int x);
bool insert_level_row(Level& level, int y);
bool delete_level_row(Level& level, int y);

// The level cut or grown to cols x rows (1..kMaxLevelSide): what lies in both keeps its place,
// new cells hold tile 0.
Level resized_level(const Level& level, int cols, int rows);

// Tiles no level cell uses are removed, the others keep their order and the level is renumbered.
// Tile 0 stays when no cell uses any tile. Returns the number removed.
int delete_unused_tiles(TileSet& tiles, Level& level);

// The map's cells in use cut into tiles of the set's size (a part beyond the map's edge reads code
// 0 with the machine's blank attribute); identical tiles (codes and attributes) become one, in the
// order first met. The tile set becomes those tiles and the level their ceil(cols / width) x
// ceil(rows / height) numbers. Returns the number of tiles.
int make_tiles_from_map(const CharMap& map, TileSet& tiles, Level& level);

// The map's size in use filled from the level's characters, with the top-left character at
// (char_x, char_y) of the level (characters, not tiles); characters beyond the level's edge read
// code 0 with the machine's blank attribute.
void level_screen_to_map(const TileSet& tiles, const Level& level, int char_x, int char_y,
                         CharMap& map);

// The character at (char_x, char_y) of the level, counted in characters; inside the level. A
// tile number past the set (which no edit leaves) reads as an empty cell.
inline TileCell level_char(const TileSet& tiles, const Level& level, int char_x, int char_y) {
    const int w = tiles.width(), h = tiles.height();
    const int t = level.at(char_x / w, char_y / h);
    return t < tiles.count() ? tiles.cell(t, char_x % w, char_y % h) : TileCell{};
}

} // namespace fontarel
