// The recovery file's base and journal: replayed in order they give back each state written, and
// a file cut anywhere (a crash in the middle of an append) gives the state of its last whole entry.

#include <gtest/gtest.h>

#include <random>

#include <zlib.h>

#include "formats/recovery_journal.h"

namespace fontarel {
namespace {

using Bytes = std::vector<uint8_t>;

bool same(const Project& a, const Project& b) {
    return a.charset.bytes == b.charset.bytes && a.map.cols == b.map.cols &&
           a.map.rows == b.map.rows && a.map.cells == b.map.cells && a.map.attrs == b.map.attrs &&
           a.map.look == b.map.look && a.colour0 == b.colour0 && a.colour1 == b.colour1 &&
           a.tiles == b.tiles && a.level == b.level;
}

RecoverySummary summary_of(const Project& p) {
    return {p.map.look.machine, p.map.cols, p.map.rows, p.level.cols(), p.level.rows()};
}

void append(Bytes& file, const RecoveryEntry& entry) {
    int64_t written = 0;
    ASSERT_TRUE(write_recovery_entry(
        entry,
        [&file](std::span<const uint8_t> b) {
            file.insert(file.end(), b.begin(), b.end());
            return true;
        },
        written));
}

// A random walk of edits, each written as an entry of what it changed; `states` gets the
// project after the base and after each entry, `ends` where each whole entry ends in the file.
struct Walk {
    Bytes file;
    std::vector<Project> states;
    std::vector<size_t> ends;

    explicit Walk(unsigned seed, int steps) {
        std::mt19937 rng(seed);
        Project p;
        p.map.cols = 40;
        p.map.rows = 25;
        p.level = Level(100, 300); // sizes past 255 take both bytes of the summary
        p.tiles = TileSet(4, 4, 3);
        p.kept = R"({"later":{"x":1}})";
        file.assign(kRecoveryMagic, kRecoveryMagic + kRecoveryMagicBytes);
        append(file, base_entry(p));
        states.push_back(p);
        ends.push_back(file.size());
        for (int n = 0; n < steps; ++n) {
            const EditState before = capture_edit_state(p.charset, p.map);
            RecoveryEntry e;
            switch (rng() % 5) {
            case 0: // glyph bytes and map cells
                for (int k = 0; k < 5; ++k) {
                    p.charset.bytes[rng() % kCharsetBytes] = static_cast<uint8_t>(rng());
                    p.map.cells[rng() % 25][rng() % 40] = static_cast<int32_t>(rng() % 256);
                }
                p.map.look.machine = static_cast<MapMachine>(rng() % kMapMachineCount);
                p.map.look.atari_mode = rng() % 2 ? kAtariTwoColours : kAtariTall;
                p.map.look.colpf[rng() % 4] = static_cast<uint8_t>(rng() & 0xFE);
                break;
            case 1: { // level cells, as the blocks they touch
                std::vector<int> touched;
                for (int k = 0; k < 20; ++k) {
                    const int x = static_cast<int>(rng() % p.level.cols());
                    const int y = static_cast<int>(rng() % p.level.rows());
                    p.level.set(x, y, static_cast<uint16_t>(rng() % p.tiles.count()));
                    touched.push_back(p.level.block_index(x, y));
                }
                std::sort(touched.begin(), touched.end());
                touched.erase(std::unique(touched.begin(), touched.end()), touched.end());
                for (int i : touched)
                    e.blocks.emplace_back(i, p.level.piece(i));
                break;
            }
            case 2: { // a tile's cell, and its tag and name set or cleared
                p.tiles.set_cell(1, static_cast<int>(rng() % 4), 2,
                                 {static_cast<uint8_t>(rng()), 3});
                Tile tile = p.tiles.tile(1);
                tile.tag = rng() % 3 ? static_cast<uint8_t>(rng()) : 0;
                tile.name = std::string(rng() % 2 ? rng() % 33 : 0, 'n');
                p.tiles.set_piece(1, std::make_shared<const Tile>(tile));
                e.tile_pieces.emplace_back(1, p.tiles.piece(1));
                break;
            }
            case 3: // a new shape of either
                p.level = Level(static_cast<int>(1 + rng() % 90), static_cast<int>(1 + rng() % 600),
                                static_cast<uint16_t>(rng() % 3));
                p.tiles = TileSet(static_cast<int>(1 + rng() % 8), 2, 3);
                if (rng() % 2) {
                    Tile tile = p.tiles.tile(2);
                    tile.tag = 9;
                    tile.name = "\xC3\xBC whole";
                    p.tiles.set_piece(2, std::make_shared<const Tile>(tile));
                }
                e.level = p.level;
                e.tiles = p.tiles;
                break;
            default:
                p.colour0 = static_cast<Colour>(rng() & 0xFFFFFF);
                e.colours = {p.colour0, p.colour1};
            }
            append_state_runs(before, capture_edit_state(p.charset, p.map), e.state_runs);
            e.summary = summary_of(p);
            append(file, e);
            states.push_back(p);
            ends.push_back(file.size());
        }
    }
};

// A journal written before the Atari's registers: its base's state run stops where they begin
// and a later run writes the glyphs' materials at their old offsets.
TEST(RecoveryJournal, AJournalOfTheLayoutBeforeTheAtariRegistersStillReplays) {
    Project p;
    p.charset.bytes[5] = 0x5A;
    Bytes file(kRecoveryMagic, kRecoveryMagic + kRecoveryMagicBytes);
    RecoveryEntry base = base_entry(p);
    // The old layout's numbers, as that program wrote them: the materials at 10326, 10582 bytes.
    constexpr size_t kOldMaterials = 10326, kOldStateBytes = 10582;
    base.state_runs.resize(4 + kOldStateBytes);
    base.state_runs[2] = static_cast<uint8_t>(kOldStateBytes);
    base.state_runs[3] = static_cast<uint8_t>(kOldStateBytes >> 8);
    append(file, base);
    RecoveryEntry later;
    later.summary = summary_of(p);
    const size_t at = kOldMaterials + 7;
    later.state_runs = {static_cast<uint8_t>(at), static_cast<uint8_t>(at >> 8), 1, 0, 9};
    append(file, later);
    Project out;
    int entries = 0;
    ASSERT_EQ(read_recovery(file, out, entries), "");
    EXPECT_EQ(entries, 1);
    EXPECT_EQ(out.charset.bytes[5], 0x5A);
    EXPECT_EQ(out.charset.materials[7], 9);
    EXPECT_EQ(out.map.look, ScreenLook{}); // the registers' start values
}

TEST(RecoveryJournal, EveryCutGivesTheStateOfTheLastWholeEntry) {
    const Walk walk(7, 60);
    // Cuts at every entry's end, just before it and in its middle, and past the base only.
    for (size_t k = 0; k < walk.ends.size(); ++k) {
        const size_t start = k == 0 ? kRecoveryMagicBytes : walk.ends[k - 1];
        for (const size_t cut : {walk.ends[k], walk.ends[k] - 1, (start + walk.ends[k]) / 2}) {
            Project got;
            int entries = -1;
            const std::string why = read_recovery({walk.file.data(), cut}, got, entries);
            if (k == 0 && cut < walk.ends[0]) {
                EXPECT_FALSE(why.empty()) << "a base cut short is no recovery at " << cut;
                continue;
            }
            ASSERT_EQ(why, "") << cut;
            const size_t whole = cut == walk.ends[k] ? k : k - 1;
            EXPECT_EQ(entries, static_cast<int>(whole)) << cut;
            EXPECT_TRUE(same(got, walk.states[whole])) << "cut at " << cut << " of entry " << k;
        }
    }
    Project got;
    int entries = 0;
    ASSERT_EQ(read_recovery(walk.file, got, entries), "");
    EXPECT_EQ(got.kept, walk.states[0].kept) << "keys a later version wrote survive";
}

TEST(RecoveryJournal, AnEntryWithABadChecksumEndsTheReplayAndTheSummaryIsTheLastWholeOnes) {
    Walk walk(11, 6);
    Bytes broken = walk.file;
    broken[walk.ends[3] + 20] ^= 0x40; // inside entry 4
    Project got;
    int entries = 0;
    ASSERT_EQ(read_recovery(broken, got, entries), "");
    EXPECT_EQ(entries, 3);
    EXPECT_TRUE(same(got, walk.states[3]));

    // The summary reads frame headers alone, and stops at a frame cut short.
    const Bytes cut(walk.file.begin(), walk.file.begin() + static_cast<long>(walk.ends[5] - 2));
    RecoverySummary summary;
    ASSERT_TRUE(read_recovery_summary(
        [&cut](int64_t offset, int64_t count) {
            const auto from = std::min<size_t>(static_cast<size_t>(offset), cut.size());
            const auto to = std::min<size_t>(from + static_cast<size_t>(count), cut.size());
            return Bytes(cut.begin() + static_cast<long>(from),
                         cut.begin() + static_cast<long>(to));
        },
        summary));
    EXPECT_EQ(summary, summary_of(walk.states[4]));
    EXPECT_NE(read_recovery(Bytes(walk.file.begin(), walk.file.begin() + 30), got, entries), "");
}

TEST(RecoveryJournal, AFileOfItsMagicAloneHoldsNoBaseAndABaseOver16MBComesBack) {
    Bytes file(kRecoveryMagic, kRecoveryMagic + kRecoveryMagicBytes);
    const auto reader = [&file](int64_t offset, int64_t count) {
        const auto from = std::min<size_t>(static_cast<size_t>(offset), file.size());
        const auto to = std::min<size_t>(from + static_cast<size_t>(count), file.size());
        return Bytes(file.begin() + static_cast<long>(from), file.begin() + static_cast<long>(to));
    };
    Project got;
    int entries = 0;
    EXPECT_EQ(read_recovery(file, got, entries), "the recovery file holds no whole base");
    RecoverySummary summary;
    EXPECT_FALSE(read_recovery_summary(reader, summary));

    // A first entry that is not a base, or too short to say what it is: the summary's 9 bytes
    // (the machine and four 16-bit sizes) and no more, or a flag byte of no base; and a base
    // whose text runs past its payload, though its checksum is right.
    Bytes past(9, 0);
    past.insert(past.end(), {1, 200, 0, 0, 0, '{'}); // the text flag, 200 bytes of it, 1 there
    const std::string no_base = "the recovery file does not begin with its base";
    for (const auto& [payload, says] :
         {std::pair{Bytes(9, 0), no_base},
          {Bytes(10, 0), no_base},
          {past, std::string("the recovery file has a broken entry")}}) {
        Bytes odd = file;
        const auto length = static_cast<uint32_t>(payload.size());
        const auto crc = static_cast<uint32_t>(crc32(0, payload.data(), length));
        for (const uint32_t word : {length, crc}) {
            if (word == crc)
                odd.insert(odd.end(), payload.begin(), payload.end());
            for (int b = 0; b < 4; ++b)
                odd.push_back(static_cast<uint8_t>(word >> 8 * b));
        }
        EXPECT_EQ(read_recovery(odd, got, entries), says) << length;
    }

    // A level whose cells alone weigh 17 MB: the frame's length takes its fourth byte.
    Project big;
    big.tiles = TileSet(1, 1, 256);
    big.level = Level(4096, 2100);
    std::mt19937 rng(3);
    for (int y = 0; y < big.level.rows(); ++y)
        for (int x = 0; x < big.level.cols(); ++x)
            big.level.set(x, y, static_cast<uint16_t>(rng() % 256));
    append(file, base_entry(big));
    ASSERT_GT(file.size(), size_t{1} << 24);
    ASSERT_EQ(read_recovery(file, got, entries), "");
    EXPECT_TRUE(got.level == big.level);
    ASSERT_TRUE(read_recovery_summary(reader, summary));
    EXPECT_EQ(summary, summary_of(big));
}

} // namespace
} // namespace fontarel
