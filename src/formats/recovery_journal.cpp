#include "formats/recovery_journal.h"

#include <algorithm>
#include <cstring>

#include <zlib.h>

namespace fontarel {

namespace {

constexpr size_t kChunk = size_t{64} << 10;
constexpr size_t kSummaryBytes = 9;
constexpr size_t kTileBytes = 2 * kMaxTileSide * kMaxTileSide; // code and attribute a cell
constexpr size_t kBlockBytes = 2 * Level::kBlockSide * Level::kBlockSide;
enum Flags : uint8_t { kText = 1, kColours = 2, kWholeTiles = 4, kWholeLevel = 8 };

// Counts the payload's bytes, or writes them through the sink in chunks with their crc32; the
// same code serves both, so the length written before the payload is the payload's.
class Out {
  public:
    explicit Out(const ByteSink* sink) : sink_(sink) {
        if (sink_)
            buffer_.reserve(kChunk);
    }
    void bytes(const void* data, size_t n) {
        count_ += n;
        if (!sink_ || !ok_)
            return;
        const auto* p = static_cast<const uint8_t*>(data);
        while (n > 0) {
            const size_t take = std::min(n, kChunk - buffer_.size());
            buffer_.insert(buffer_.end(), p, p + take);
            p += take;
            n -= take;
            if (buffer_.size() == kChunk)
                flush();
        }
    }
    void u8(unsigned v) {
        const uint8_t b = static_cast<uint8_t>(v);
        bytes(&b, 1);
    }
    void u16(unsigned v) {
        const uint8_t b[2] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
        bytes(b, 2);
    }
    void u32(uint32_t v) {
        const uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                              static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
        bytes(b, 4);
    }
    bool flush() {
        if (sink_ && ok_ && !buffer_.empty()) {
            crc_ = crc32(crc_, buffer_.data(), static_cast<uInt>(buffer_.size()));
            ok_ = (*sink_)(buffer_);
            buffer_.clear();
        }
        return ok_;
    }
    size_t count() const { return count_; }
    uint32_t crc() const { return static_cast<uint32_t>(crc_); }

  private:
    const ByteSink* sink_;
    std::vector<uint8_t> buffer_;
    size_t count_ = 0;
    uLong crc_ = crc32(0, nullptr, 0);
    bool ok_ = true;
};

void put_tile(Out& out, const Tile& tile) {
    uint8_t cells[kTileBytes];
    for (size_t i = 0; i < tile.cells.size(); ++i) {
        cells[2 * i] = tile.cells[i].code;
        cells[2 * i + 1] = tile.cells[i].attr;
    }
    out.bytes(cells, sizeof cells);
}

void put_block(Out& out, const Level::Block& block) {
    uint8_t numbers[kBlockBytes];
    for (size_t i = 0; i < block.size(); ++i) {
        numbers[2 * i] = static_cast<uint8_t>(block[i]);
        numbers[2 * i + 1] = static_cast<uint8_t>(block[i] >> 8);
    }
    out.bytes(numbers, sizeof numbers);
}

void put_payload(Out& out, const RecoveryEntry& e) {
    const RecoverySummary& s = e.summary;
    out.u8(static_cast<unsigned>(s.machine));
    out.u16(static_cast<unsigned>(s.map_cols));
    out.u16(static_cast<unsigned>(s.map_rows));
    out.u16(static_cast<unsigned>(s.level_cols));
    out.u16(static_cast<unsigned>(s.level_rows));
    out.u8((e.project_text ? kText : 0) | (e.colours ? kColours : 0) | (e.tiles ? kWholeTiles : 0) |
           (e.level ? kWholeLevel : 0));
    if (e.project_text) {
        out.u32(static_cast<uint32_t>(e.project_text->size()));
        out.bytes(e.project_text->data(), e.project_text->size());
    }
    out.u32(static_cast<uint32_t>(e.state_runs.size()));
    out.bytes(e.state_runs.data(), e.state_runs.size());
    if (e.colours) {
        out.u32(static_cast<uint32_t>(e.colours->first));
        out.u32(static_cast<uint32_t>(e.colours->second));
    }
    if (e.tiles) {
        out.u16(static_cast<unsigned>(e.tiles->width()));
        out.u16(static_cast<unsigned>(e.tiles->height()));
        out.u16(static_cast<unsigned>(e.tiles->count()));
        for (int t = 0; t < e.tiles->count(); ++t)
            put_tile(out, e.tiles->tile(t));
    }
    out.u32(static_cast<uint32_t>(e.tile_pieces.size()));
    for (const auto& [t, piece] : e.tile_pieces) {
        out.u16(static_cast<unsigned>(t));
        put_tile(out, *piece);
    }
    if (e.level) {
        out.u16(static_cast<unsigned>(e.level->cols()));
        out.u16(static_cast<unsigned>(e.level->rows()));
        // A block of tile 0 alone (most of a new level) is one byte. Blocks of one value share
        // one piece, so a piece like the one before is not looked at again.
        const Level::Block* last = nullptr;
        bool blank = false;
        for (int i = 0; i < e.level->block_count(); ++i) {
            const Level::Block& block = *e.level->piece(i);
            if (&block != last)
                blank = std::all_of(block.begin(), block.end(), [](uint16_t v) { return v == 0; });
            last = &block;
            out.u8(blank ? 0 : 1);
            if (!blank)
                put_block(out, block);
        }
    }
    out.u32(static_cast<uint32_t>(e.blocks.size()));
    for (const auto& [i, piece] : e.blocks) {
        out.u32(static_cast<uint32_t>(i));
        put_block(out, *piece);
    }
    // Last, the tags and names of the tiles written above that have one, each as its tile number,
    // tag, name length and name. Tiles read above start unlabelled; a payload of an older writer
    // ends before this and reads as having none.
    std::vector<std::pair<int, const Tile*>> labelled;
    const auto note = [&](int t, const Tile& tile) {
        if (tile.tag != 0 || !tile.name.empty())
            labelled.emplace_back(t, &tile);
    };
    if (e.tiles)
        for (int t = 0; t < e.tiles->count(); ++t)
            note(t, e.tiles->tile(t));
    for (const auto& [t, piece] : e.tile_pieces)
        note(t, *piece);
    if (labelled.empty())
        return;
    out.u32(static_cast<uint32_t>(labelled.size()));
    for (const auto& [t, tile] : labelled) {
        out.u16(static_cast<unsigned>(t));
        out.u8(tile->tag);
        out.u8(static_cast<unsigned>(tile->name.size()));
        out.bytes(tile->name.data(), tile->name.size());
    }
}

// Reads the numbers of a payload; any read past its end marks it bad and reads zeros.
class In {
  public:
    explicit In(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    const uint8_t* take(size_t n) {
        if (bad_ || bytes_.size() - at_ < n) {
            bad_ = true;
            return nullptr;
        }
        const uint8_t* p = bytes_.data() + at_;
        at_ += n;
        return p;
    }
    unsigned u8() {
        const uint8_t* p = take(1);
        return p ? p[0] : 0;
    }
    unsigned u16() {
        const uint8_t* p = take(2);
        return p ? p[0] | p[1] << 8 : 0;
    }
    uint32_t u32() {
        const uint8_t* p = take(4);
        return p ? p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24 : 0;
    }
    bool bad() const { return bad_; }
    bool done() const { return !bad_ && at_ == bytes_.size(); }

  private:
    std::span<const uint8_t> bytes_;
    size_t at_ = 0;
    bool bad_ = false;
};

uint32_t get32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

Tile get_tile(const uint8_t* p) {
    Tile tile;
    for (size_t i = 0; i < tile.cells.size(); ++i)
        tile.cells[i] = {p[2 * i], p[2 * i + 1]};
    return tile;
}

Level::Piece get_block(const uint8_t* p) {
    auto block = std::make_shared<Level::Block>();
    for (size_t i = 0; i < block->size(); ++i)
        (*block)[i] = static_cast<uint16_t>(p[2 * i] | p[2 * i + 1] << 8);
    return block;
}

// Applies one payload to the project; false, leaving the project partly changed, when it does
// not read as one.
bool apply_payload(std::span<const uint8_t> payload, Project& p, std::string& why) {
    In in(payload);
    in.take(kSummaryBytes);
    const unsigned flags = in.u8();
    if (flags & kText) {
        const uint32_t n = in.u32();
        const uint8_t* text = in.take(n);
        if (!text)
            return false;
        Project base;
        why = read_project({text, n}, base);
        if (!why.empty())
            return false;
        p = std::move(base);
    }
    const uint32_t runs = in.u32();
    if (const uint8_t* r = in.take(runs); r && runs > 0) {
        EditState state = capture_edit_state(p.charset, p.map);
        for (size_t at = 0; at + 4 <= runs;) {
            const size_t offset = r[at] | r[at + 1] << 8, length = r[at + 2] | r[at + 3] << 8;
            if (at + 4 + length > runs || offset + length > state.bytes.size())
                return false;
            std::memcpy(state.bytes.data() + offset, r + at + 4, length);
            at += 4 + length;
        }
        restore_edit_state(state, p.charset, p.map);
    }
    if (flags & kColours) {
        p.colour0 = static_cast<Colour>(in.u32());
        p.colour1 = static_cast<Colour>(in.u32());
    }
    if (flags & kWholeTiles) {
        const int w = static_cast<int>(in.u16()), h = static_cast<int>(in.u16());
        const int count = static_cast<int>(in.u16());
        if (count < 1 || count > kMaxTiles)
            return false;
        TileSet tiles(w, h, 1);
        for (int t = 0; t < count; ++t) {
            const uint8_t* cells = in.take(kTileBytes);
            if (!cells)
                return false;
            if (t == 0)
                tiles.set_piece(0, std::make_shared<const Tile>(get_tile(cells)));
            else
                tiles.append(get_tile(cells));
        }
        p.tiles = std::move(tiles);
    }
    const uint32_t tile_pieces = in.u32();
    for (uint32_t k = 0; k < tile_pieces; ++k) {
        const int t = static_cast<int>(in.u16());
        const uint8_t* cells = in.take(kTileBytes);
        if (!cells || t >= p.tiles.count())
            return false;
        p.tiles.set_piece(t, std::make_shared<const Tile>(get_tile(cells)));
    }
    if (flags & kWholeLevel) {
        const int cols = static_cast<int>(in.u16()), rows = static_cast<int>(in.u16());
        if (cols < 1 || rows < 1 || cols > kMaxLevelSide || rows > kMaxLevelSide)
            return false;
        Level level(cols, rows);
        for (int i = 0; i < level.block_count(); ++i) {
            if (in.u8() == 0)
                continue; // tile 0 throughout, as the new level holds it
            const uint8_t* numbers = in.take(kBlockBytes);
            if (!numbers)
                return false;
            level.set_piece(i, get_block(numbers));
        }
        p.level = std::move(level);
    }
    const uint32_t blocks = in.u32();
    for (uint32_t k = 0; k < blocks; ++k) {
        const int i = static_cast<int>(in.u32());
        const uint8_t* numbers = in.take(kBlockBytes);
        if (!numbers || i < 0 || i >= p.level.block_count())
            return false;
        p.level.set_piece(i, get_block(numbers));
    }
    if (in.done())
        return true;
    const uint32_t labelled = in.u32();
    for (uint32_t k = 0; k < labelled; ++k) {
        const int t = static_cast<int>(in.u16());
        const auto tag = static_cast<uint8_t>(in.u8());
        const size_t length = in.u8();
        const uint8_t* name = in.take(length);
        if (!name || t >= p.tiles.count())
            return false;
        Tile tile = p.tiles.tile(t);
        tile.tag = tag;
        tile.name.assign(reinterpret_cast<const char*>(name), length);
        if (!tile_name_fits(tile.name))
            return false;
        p.tiles.set_piece(t, std::make_shared<const Tile>(std::move(tile)));
    }
    return !in.bad();
}

} // namespace

void append_state_runs(const EditState& from, const EditState& to, std::vector<uint8_t>& out) {
    const uint8_t* a = from.bytes.data();
    const uint8_t* b = to.bytes.data();
    const size_t n = from.bytes.size();
    for (size_t i = 0; i < n;) {
        if (a[i] == b[i]) {
            ++i;
            continue;
        }
        // A run goes on over gaps of up to 4 equal bytes, which cost less than a new header.
        size_t end = i + 1;
        for (size_t j = end; j < n && j <= end + 4; ++j)
            if (a[j] != b[j])
                end = j + 1;
        const size_t length = end - i;
        out.insert(out.end(), {static_cast<uint8_t>(i), static_cast<uint8_t>(i >> 8),
                               static_cast<uint8_t>(length), static_cast<uint8_t>(length >> 8)});
        out.insert(out.end(), b + i, b + end);
        i = end;
    }
}

RecoveryEntry base_entry(const Project& project) {
    RecoveryEntry e;
    e.summary = {project.map.look.machine, project.map.cols, project.map.rows, project.level.cols(),
                 project.level.rows()};
    Project rest;
    rest.charset = project.charset;
    rest.map = project.map;
    rest.colour0 = project.colour0;
    rest.colour1 = project.colour1;
    rest.kept = project.kept;
    e.project_text = project_text(rest); // a new program's tiles and level: left out of the text
    // The text holds the map's cells in use; the edit state, every byte, so that the entries
    // after it apply to exactly the state they were made against.
    const EditState state = capture_edit_state(project.charset, project.map);
    e.state_runs = {0, 0, static_cast<uint8_t>(kEditStateBytes),
                    static_cast<uint8_t>(kEditStateBytes >> 8)};
    e.state_runs.insert(e.state_runs.end(), state.bytes.begin(), state.bytes.end());
    e.tiles = project.tiles;
    e.level = project.level;
    return e;
}

bool write_recovery_entry(const RecoveryEntry& entry, const ByteSink& sink, int64_t& written) {
    Out counter(nullptr);
    put_payload(counter, entry);
    const uint32_t length = static_cast<uint32_t>(counter.count());
    const uint8_t head[4] = {static_cast<uint8_t>(length), static_cast<uint8_t>(length >> 8),
                             static_cast<uint8_t>(length >> 16),
                             static_cast<uint8_t>(length >> 24)};
    if (!sink(head))
        return false;
    Out out(&sink);
    put_payload(out, entry);
    if (!out.flush())
        return false;
    const uint32_t crc = out.crc();
    const uint8_t tail[4] = {static_cast<uint8_t>(crc), static_cast<uint8_t>(crc >> 8),
                             static_cast<uint8_t>(crc >> 16), static_cast<uint8_t>(crc >> 24)};
    if (!sink(tail))
        return false;
    written = static_cast<int64_t>(length) + static_cast<int64_t>(kFrameBytes);
    return true;
}

std::string read_recovery(std::span<const uint8_t> bytes, Project& out, int& entries) {
    entries = 0;
    if (bytes.size() < kRecoveryMagicBytes ||
        std::memcmp(bytes.data(), kRecoveryMagic, kRecoveryMagicBytes) != 0)
        return read_project(bytes, out); // a recovery file of a run that wrote whole projects
    Project p;
    bool based = false;
    for (size_t at = kRecoveryMagicBytes; bytes.size() - at >= kFrameBytes;) {
        const size_t length = get32(bytes.data() + at);
        if (bytes.size() - at - kFrameBytes < length)
            break; // cut short
        const std::span<const uint8_t> payload = bytes.subspan(at + 4, length);
        const auto crc = static_cast<uint32_t>(
            crc32(crc32(0, nullptr, 0), payload.data(), static_cast<uInt>(payload.size())));
        if (crc != get32(bytes.data() + at + 4 + length))
            break;
        std::string why;
        if (!based && (payload.size() <= kSummaryBytes || !(payload[kSummaryBytes] & kText)))
            return "the recovery file does not begin with its base";
        if (!apply_payload(payload, p, why))
            return why.empty() ? "the recovery file has a broken entry" : why;
        entries += based ? 1 : 0;
        based = true;
        at += kFrameBytes + length;
    }
    if (!based)
        return "the recovery file holds no whole base";
    out = std::move(p);
    return {};
}

bool read_recovery_summary(const PartReader& read, RecoverySummary& out) {
    bool found = false;
    for (int64_t at = static_cast<int64_t>(kRecoveryMagicBytes);;) {
        const std::vector<uint8_t> head = read(at, 4 + static_cast<int64_t>(kSummaryBytes));
        if (head.size() < 4 + kSummaryBytes)
            return found;
        const int64_t length = get32(head.data());
        // Whole when its checksum's last byte is there.
        if (read(at + 4 + length + 3, 1).size() != 1)
            return found;
        // The numbers as put_payload writes them, read as the payload's reader reads numbers.
        In in(std::span<const uint8_t>(head).subspan(4));
        out.machine = static_cast<MapMachine>(in.u8() % kMapMachineCount);
        out.map_cols = static_cast<int>(in.u16());
        out.map_rows = static_cast<int>(in.u16());
        out.level_cols = static_cast<int>(in.u16());
        out.level_rows = static_cast<int>(in.u16());
        found = true;
        at += length + static_cast<int64_t>(kFrameBytes);
    }
}

} // namespace fontarel
