#include "model/level.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace fontarel {

namespace {

int clamp_side(int n, int most) {
    return std::clamp(n, 1, most);
}

// The one block of tile 0 that every blank part of every level shares.
const Level::Piece& zero_block() {
    static const Level::Piece block = std::make_shared<const Level::Block>();
    return block;
}

// A piece that only the caller holds, ready to be written: the piece itself when no one else
// holds it, else a copy.
template <class T> T& writable(std::shared_ptr<const T>& piece) {
    if (piece.use_count() != 1)
        piece = std::make_shared<const T>(*piece);
    return const_cast<T&>(*piece);
}

} // namespace

// ---- TileSet

TileSet::TileSet(int width, int height, int count, TileCell blank)
    : width_(clamp_side(width, kMaxTileSide)), height_(clamp_side(height, kMaxTileSide)) {
    Tile tile;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            tile.at(x, y) = blank;
    const Piece shared = std::make_shared<const Tile>(tile);
    tiles_.assign(static_cast<size_t>(clamp_side(count, kMaxTiles)), shared);
}

TileSet::TileSet(int width, int height, std::vector<Piece> pieces)
    : width_(clamp_side(width, kMaxTileSide)), height_(clamp_side(height, kMaxTileSide)),
      tiles_(std::move(pieces)) {}

void TileSet::set_cell(int t, int x, int y, TileCell value) {
    writable(tiles_[t]).at(x, y) = value;
}

bool TileSet::append(const Tile& tile) {
    if (count() >= kMaxTiles)
        return false;
    Tile cut;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            cut.at(x, y) = tile.at(x, y);
    cut.tag = tile.tag;
    cut.name = tile.name;
    tiles_.push_back(std::make_shared<const Tile>(cut));
    return true;
}

void TileSet::keep_only(const std::vector<bool>& keep) {
    std::vector<Piece> kept;
    for (int t = 0; t < count(); ++t)
        if (keep[t])
            kept.push_back(tiles_[t]);
    if (kept.empty())
        kept.push_back(tiles_[0]);
    tiles_ = std::move(kept);
}

bool TileSet::operator==(const TileSet& other) const {
    if (width_ != other.width_ || height_ != other.height_ || count() != other.count())
        return false;
    for (int t = 0; t < count(); ++t)
        if (tiles_[t] != other.tiles_[t] && *tiles_[t] != *other.tiles_[t])
            return false;
    return true;
}

// ---- Level

Level::Level(int cols, int rows, uint16_t tile)
    : cols_(clamp_side(cols, kMaxLevelSide)), rows_(clamp_side(rows, kMaxLevelSide)),
      block_cols_((cols_ + kBlockSide - 1) / kBlockSide) {
    Piece fill = zero_block();
    if (tile != 0) {
        auto block = std::make_shared<Block>();
        block->fill(tile);
        fill = std::move(block);
    }
    const int block_rows = (rows_ + kBlockSide - 1) / kBlockSide;
    blocks_.assign(static_cast<size_t>(block_cols_) * block_rows, fill);
}

Level::Level(int cols, int rows, std::vector<Piece> blocks)
    : cols_(clamp_side(cols, kMaxLevelSide)), rows_(clamp_side(rows, kMaxLevelSide)),
      block_cols_((cols_ + kBlockSide - 1) / kBlockSide), blocks_(std::move(blocks)) {}

void Level::set(int x, int y, uint16_t tile) {
    Piece& piece = blocks_[block_index(x, y)];
    const int i = kBlockSide * (y % kBlockSide) + x % kBlockSide;
    if ((*piece)[i] != tile)
        writable(piece)[i] = tile;
}

void Level::set_row(int x, int y, std::span<const uint16_t> tiles) {
    const int end = std::min(cols_, x + static_cast<int>(tiles.size()));
    const uint16_t* from = tiles.data();
    while (x < end) {
        const int n = std::min(end - x, kBlockSide - x % kBlockSide);
        Block& block = writable(blocks_[block_index(x, y)]);
        std::copy_n(from, n, block.data() + kBlockSide * (y % kBlockSide) + x % kBlockSide);
        x += n;
        from += n;
    }
}

bool Level::operator==(const Level& other) const {
    if (cols_ != other.cols_ || rows_ != other.rows_)
        return false;
    for (size_t i = 0; i < blocks_.size(); ++i) {
        if (blocks_[i] == other.blocks_[i] || *blocks_[i] == *other.blocks_[i])
            continue;
        // Blocks on the edge may differ past it, where no cell is.
        const int x0 = kBlockSide * (static_cast<int>(i) % block_cols_);
        const int y0 = kBlockSide * (static_cast<int>(i) / block_cols_);
        for (int y = y0; y < std::min(y0 + kBlockSide, rows_); ++y)
            for (int x = x0; x < std::min(x0 + kBlockSide, cols_); ++x)
                if (at(x, y) != other.at(x, y))
                    return false;
    }
    return true;
}

size_t Level::block_bytes() const {
    size_t n = 0;
    for (const Piece& p : blocks_)
        if (p != zero_block())
            n += sizeof(Block);
    return n;
}

// ---- LevelChange

size_t LevelChange::bytes() const {
    return blocks.before.size() * sizeof(Level::Block) + tiles.before.size() * sizeof(Tile) +
           whole_bytes;
}

// ---- LevelDoc

bool LevelDoc::set_level_tile(int x, int y, int tile) {
    if (!level_.contains(x, y) || tile < 0 || tile >= tiles_.count())
        return false;
    if (level_.at(x, y) == tile)
        return true;
    if (!old_level_) {
        const int i = level_.block_index(x, y);
        old_blocks_.try_emplace(i, level_.piece(i));
    }
    level_.set(x, y, static_cast<uint16_t>(tile));
    note_block(level_.block_index(x, y));
    return true;
}

bool LevelDoc::set_tile_cell(int tile, int x, int y, TileCell value) {
    if (tile < 0 || tile >= tiles_.count() || x < 0 || y < 0 || x >= tiles_.width() ||
        y >= tiles_.height())
        return false;
    if (tiles_.cell(tile, x, y) == value)
        return true;
    if (!old_tile_set_)
        old_tiles_.try_emplace(tile, tiles_.piece(tile));
    tiles_.set_cell(tile, x, y, value);
    note_tile(tile);
    return true;
}

bool LevelDoc::set_tile_label(int tile, uint8_t tag, const std::string& name) {
    if (tile < 0 || tile >= tiles_.count() || !tile_name_fits(name))
        return false;
    const Tile& now = tiles_.tile(tile);
    if (now.tag == tag && now.name == name)
        return true;
    if (!old_tile_set_)
        old_tiles_.try_emplace(tile, tiles_.piece(tile));
    Tile changed = now;
    changed.tag = tag;
    changed.name = name;
    tiles_.set_piece(tile, std::make_shared<const Tile>(std::move(changed)));
    note_tile(tile);
    return true;
}

void LevelDoc::replace_tiles(TileSet tiles) {
    if (!old_tile_set_) {
        // The set as the step found it: the pieces it wrote since, put back. Moved, not copied:
        // the set in use is replaced next.
        old_tile_set_ = std::move(tiles_);
        for (auto& [t, piece] : old_tiles_)
            old_tile_set_->set_piece(t, piece);
        old_tiles_.clear(); // the pieces recorded before now count for nothing
    }
    tiles_ = std::move(tiles);
    written_.whole_tiles = true;
    written_.tiles.clear(); // the set keeps its indexes until take_written: none are added now
}

void LevelDoc::replace_level(Level level) {
    if (!old_level_) {
        old_level_ = std::move(level_);
        for (auto& [i, piece] : old_blocks_)
            old_level_->set_piece(i, piece);
        old_blocks_.clear();
    }
    level_ = std::move(level);
    written_.whole_level = true;
    written_.blocks.clear();
}

LevelChange LevelDoc::take_change() {
    LevelChange c;
    if (old_level_) {
        if (!(*old_level_ == level_)) {
            c.whole_bytes += old_level_->block_bytes() +
                             static_cast<size_t>(old_level_->block_count()) * sizeof(Level::Piece);
            c.level_other = std::move(old_level_);
        }
    } else {
        for (auto& [i, piece] : old_blocks_) {
            if (piece == level_.piece(i) || *piece == *level_.piece(i))
                continue; // written back as it was
            c.blocks.index.push_back(i);
            c.blocks.before.push_back(piece);
            c.blocks.after.push_back(level_.piece(i));
        }
    }
    if (old_tile_set_) {
        if (!(*old_tile_set_ == tiles_)) {
            c.whole_bytes += static_cast<size_t>(old_tile_set_->count()) * sizeof(TileSet::Piece);
            c.tiles_other = std::move(old_tile_set_);
        }
    } else {
        for (auto& [t, piece] : old_tiles_) {
            if (piece == tiles_.piece(t) || *piece == *tiles_.piece(t))
                continue;
            c.tiles.index.push_back(t);
            c.tiles.before.push_back(piece);
            c.tiles.after.push_back(tiles_.piece(t));
        }
    }
    old_level_.reset();
    old_tile_set_.reset();
    old_blocks_.clear();
    old_tiles_.clear();
    return c;
}

LevelWritten LevelDoc::take_written() {
    LevelWritten out = std::move(written_);
    written_ = {};
    written_blocks_.clear();
    written_tiles_.clear();
    last_written_block_ = -1;
    return out;
}

void LevelDoc::note_change(const LevelChange& change) {
    // Once the whole of either is written, no index is noted until take_written.
    if (change.level_other) {
        written_.whole_level = true;
        written_.blocks.clear();
    }
    if (change.tiles_other) {
        written_.whole_tiles = true;
        written_.tiles.clear();
    }
    for (int i : change.blocks.index)
        note_block(i);
    for (int t : change.tiles.index)
        note_tile(t);
}

// A change holds either wholes or pieces of each, never both (take_change), so undo and redo
// differ only in the pieces they put back; a whole is swapped either way.
void LevelDoc::undo(LevelChange& change) {
    note_change(change);
    if (change.tiles_other)
        std::swap(tiles_, *change.tiles_other);
    for (size_t k = 0; k < change.tiles.index.size(); ++k)
        tiles_.set_piece(change.tiles.index[k], change.tiles.before[k]);
    if (change.level_other)
        std::swap(level_, *change.level_other);
    for (size_t k = 0; k < change.blocks.index.size(); ++k)
        level_.set_piece(change.blocks.index[k], change.blocks.before[k]);
}

void LevelDoc::redo(LevelChange& change) {
    note_change(change);
    if (change.tiles_other)
        std::swap(tiles_, *change.tiles_other);
    for (size_t k = 0; k < change.tiles.index.size(); ++k)
        tiles_.set_piece(change.tiles.index[k], change.tiles.after[k]);
    if (change.level_other)
        std::swap(level_, *change.level_other);
    for (size_t k = 0; k < change.blocks.index.size(); ++k)
        level_.set_piece(change.blocks.index[k], change.blocks.after[k]);
}

// ---- Level commands

namespace {

// Reads "A x B" from s at pos: two numbers and an x between, spaces allowed around each.
bool parse_pair(const std::string& s, size_t& pos, int& a, int& b) {
    auto skip = [&] {
        while (pos < s.size() && s[pos] == ' ')
            ++pos;
    };
    auto number = [&](int& n) {
        skip();
        const size_t start = pos;
        long v = 0;
        while (pos < s.size() && std::isdigit(static_cast<unsigned char>(s[pos])) &&
               pos - start < 6)
            v = 10 * v + (s[pos++] - '0');
        n = static_cast<int>(v);
        return pos > start &&
               (pos == s.size() || !std::isdigit(static_cast<unsigned char>(s[pos])));
    };
    if (!number(a))
        return false;
    skip();
    if (pos >= s.size() || (s[pos] != 'x' && s[pos] != 'X'))
        return false;
    ++pos;
    return number(b);
}

// Copies the level's cells for which `from` gives a source: to(x, y) := level(from(x, y)), or tile
// 0 where from gives -1.
template <class F> Level remapped(const Level& level, int cols, int rows, F from) {
    Level out(cols, rows);
    for (int y = 0; y < out.rows(); ++y)
        for (int x = 0; x < out.cols(); ++x) {
            const auto [sx, sy] = from(x, y);
            if (sx >= 0 && sy >= 0)
                out.set(x, y, level.at(sx, sy));
        }
    return out;
}

} // namespace

bool tile_name_fits(const std::string& name) {
    int characters = 0;
    for (size_t i = 0; i < name.size(); ++characters) {
        const auto lead = static_cast<unsigned char>(name[i]);
        // Continuation bytes after the lead; leads that only an overlong or a code past U+10FFFF
        // would use are refused, and so are the C0 and C1 controls and DEL.
        const size_t more = lead < 0x80                   ? 0
                            : lead >= 0xC2 && lead < 0xE0 ? 1
                            : lead >= 0xE0 && lead < 0xF0 ? 2
                            : lead >= 0xF0 && lead < 0xF5 ? 3
                                                          : 4;
        if (more == 4 || lead < 0x20 || lead == 0x7F || name.size() - i <= more)
            return false;
        for (size_t k = 1; k <= more; ++k)
            if ((static_cast<unsigned char>(name[i + k]) & 0xC0) != 0x80)
                return false;
        if (lead == 0xC2 && static_cast<unsigned char>(name[i + 1]) < 0xA0)
            return false;
        i += more + 1;
    }
    return characters <= kMaxTileName;
}

bool parse_tile_label(const std::string& text, uint8_t& tag, std::string& name) {
    const auto space = [](char c) { return c == ' ' || c == '\t'; };
    size_t at = 0;
    while (at < text.size() && space(text[at]))
        ++at;
    const size_t digits = at;
    unsigned value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9' && value <= 255; ++at)
        value = 10 * value + static_cast<unsigned>(text[at] - '0');
    if (at == digits || value > 255 || (at < text.size() && !space(text[at])))
        return false;
    size_t end = text.size();
    while (end > at && space(text[end - 1]))
        --end;
    while (at < end && space(text[at]))
        ++at;
    std::string said = text.substr(at, end - at);
    if (!tile_name_fits(said))
        return false;
    tag = static_cast<uint8_t>(value);
    name = std::move(said);
    return true;
}

bool parse_level_size(const std::string& text, int& tile_width, int& tile_height, int& cols,
                      int& rows) {
    size_t pos = 0;
    int tw = 0, th = 0, c = 0, r = 0;
    if (!parse_pair(text, pos, tw, th))
        return false;
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    if (pos >= text.size() || text[pos] != ',')
        return false;
    ++pos;
    if (!parse_pair(text, pos, c, r))
        return false;
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    if (pos != text.size())
        return false;
    if (tw < 1 || th < 1 || tw > kMaxTileSide || th > kMaxTileSide || c < 1 || r < 1 ||
        c > kMaxLevelSide || r > kMaxLevelSide)
        return false;
    tile_width = tw, tile_height = th, cols = c, rows = r;
    return true;
}

bool insert_level_column(Level& level, int x) {
    if (x < 0 || x >= level.cols() || level.cols() >= kMaxLevelSide)
        return false;
    level = remapped(level, level.cols() + 1, level.rows(), [&](int cx, int cy) {
        return std::pair{cx < x ? cx : cx == x ? -1 : cx - 1, cy};
    });
    return true;
}

bool delete_level_column(Level& level, int x) {
    if (x < 0 || x >= level.cols())
        return false;
    if (level.cols() == 1) {
        level = Level(1, level.rows());
        return true;
    }
    level = remapped(level, level.cols() - 1, level.rows(), [&](int cx, int cy) {
        return std::pair{cx < x ? cx : cx + 1, cy};
    });
    return true;
}

bool insert_level_row(Level& level, int y) {
    if (y < 0 || y >= level.rows() || level.rows() >= kMaxLevelSide)
        return false;
    level = remapped(level, level.cols(), level.rows() + 1, [&](int cx, int cy) {
        return std::pair{cx, cy < y ? cy : cy == y ? -1 : cy - 1};
    });
    return true;
}

bool delete_level_row(Level& level, int y) {
    if (y < 0 || y >= level.rows())
        return false;
    if (level.rows() == 1) {
        level = Level(level.cols(), 1);
        return true;
    }
    level = remapped(level, level.cols(), level.rows() - 1, [&](int cx, int cy) {
        return std::pair{cx, cy < y ? cy : cy + 1};
    });
    return true;
}

Level resized_level(const Level& level, int cols, int rows) {
    return remapped(level, std::clamp(cols, 1, kMaxLevelSide), std::clamp(rows, 1, kMaxLevelSide),
                    [&](int x, int y) {
                        return level.contains(x, y) ? std::pair{x, y} : std::pair{-1, -1};
                    });
}

int delete_unused_tiles(TileSet& tiles, Level& level) {
    std::vector<bool> used(static_cast<size_t>(tiles.count()), false);
    for (int y = 0; y < level.rows(); ++y)
        for (int x = 0; x < level.cols(); ++x)
            if (level.at(x, y) < tiles.count())
                used[level.at(x, y)] = true;
    if (std::find(used.begin(), used.end(), true) == used.end())
        used[0] = true;
    std::vector<uint16_t> number(used.size(), 0);
    int next = 0;
    for (size_t t = 0; t < used.size(); ++t)
        if (used[t])
            number[t] = static_cast<uint16_t>(next++);
    const int removed = tiles.count() - next;
    if (removed == 0)
        return 0;
    tiles.keep_only(used);
    for (int y = 0; y < level.rows(); ++y)
        for (int x = 0; x < level.cols(); ++x)
            if (level.at(x, y) < number.size())
                level.set(x, y, number[level.at(x, y)]);
    return removed;
}

int make_tiles_from_map(const CharMap& map, TileSet& tiles, Level& level) {
    const int w = tiles.width(), h = tiles.height();
    const int cols = (map.cols + w - 1) / w, rows = (map.rows + h - 1) / h;
    const TileCell outside{0, blank_attribute(map.look.machine)};
    TileSet made(w, h, 1);
    Level numbers(cols, rows);
    std::map<Tile, int> seen;
    int count = 0;
    for (int ty = 0; ty < rows; ++ty)
        for (int tx = 0; tx < cols; ++tx) {
            Tile tile;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const int c = tx * w + x, r = ty * h + y;
                    tile.at(x, y) =
                        map.in_use(c, r)
                            ? TileCell{static_cast<uint8_t>(map.at(c, r) & 0xFF), map.attr(c, r)}
                            : outside;
                }
            auto [it, added] = seen.try_emplace(tile, count);
            if (added) {
                if (count == 0) {
                    for (int y = 0; y < h; ++y)
                        for (int x = 0; x < w; ++x)
                            made.set_cell(0, x, y, tile.at(x, y));
                } else {
                    made.append(tile);
                }
                ++count;
            }
            numbers.set(tx, ty, static_cast<uint16_t>(it->second));
        }
    tiles = std::move(made);
    level = std::move(numbers);
    return count;
}

void level_screen_to_map(const TileSet& tiles, const Level& level, int char_x, int char_y,
                         CharMap& map) {
    const int level_w = level.cols() * tiles.width(), level_h = level.rows() * tiles.height();
    for (int r = 0; r < map.rows; ++r)
        for (int c = 0; c < map.cols; ++c) {
            const int x = char_x + c, y = char_y + r;
            TileCell cell{0, blank_attribute(map.look.machine)};
            if (x >= 0 && y >= 0 && x < level_w && y < level_h)
                cell = level_char(tiles, level, x, y);
            map.at(c, r) = cell.code;
            map.attr(c, r) = cell.attr;
        }
}

} // namespace fontarel
