// The program's arguments: which lists start the editor, which print, which are refused, and what
// the two export forms take and refuse.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/command_line.h"

using namespace fontarel;

namespace {

using Args = std::vector<std::string>;

} // namespace

TEST(CommandLine, ListsThatEditPrintOrAreRefused) {
    using enum CommandAction;
    const struct {
        Args args;
        CommandAction action;
        const char* says = ""; // in the error of a refusal
    } lists[] = {
        {{}, Edit},
        {{"font.fnt"}, Edit},
        {{"-x"}, Edit},      // one dash: a file's name, as always
        {{"-h", "x"}, Edit}, // -h and -V only alone
        {{"a.fnt", "b.fnt"}, Edit},
        {{"--help"}, Help},
        {{"-h"}, Help},
        {{"--version"}, Version},
        {{"-V"}, Version},
        {{"--foo"}, Refuse, "unknown option '--foo'"},
        {{"font.fnt", "--foo"}, Refuse, "'--foo'"},
        {{"--"}, Refuse, "'--'"},
        {{"--help", "x"}, Refuse, "--help takes no other"},
        {{"--recover"}, Edit},
        {{"--recover", "s.recovery"}, Edit},
        {{"--recover", "a", "b"}, Refuse, "--recover takes one file at most"},
        {{"--recover", "--help"}, Refuse, "--recover takes one file at most"},
        {{"a.fnt", "--recover"}, Refuse, "must be the first"},
        {{"--version", "--help"}, Refuse, "--version takes no other"},
        {{"font.fnt", "--export", "byte", "a", "b"}, Refuse, "--export must be the first"},
        {{"a.fnt", "--import-screen", "p.png"}, Refuse, "--import-screen must be the first"},
        {{"a.fontarel", "--export-level", "byte", "a", "b"},
         Refuse,
         "--export-level must be the first"},
        {{"a.ctm", "--to-project", "a.ctm", "b"}, Refuse, "--to-project must be the first"},
        {{"a", "--export-tile-tags", "c", "a", "b"}, Refuse, "--export-tile-tags must be the"},
    };
    for (const auto& l : lists) {
        const std::string shown = testing::PrintToString(l.args);
        const CommandLine line = parse_command_line(l.args);
        EXPECT_EQ(line.action, l.action) << shown;
        EXPECT_NE(line.error.find(l.says), std::string::npos) << shown << ": " << line.error;
        EXPECT_EQ(line.error.empty(), l.action != Refuse) << shown << ": " << line.error;
        EXPECT_EQ(line.error.find('\n'), std::string::npos) << line.error;
        EXPECT_EQ(line.recover, l.args.size() > 0 && l.args[0] == "--recover" && l.action == Edit);
        EXPECT_EQ(line.input, l.args.size() == 2 && line.recover ? l.args[1] : "") << shown;
    }
    const std::string usage = usage_text();
    for (const char* part : {"--export FORMAT",
                             "--export-map FORMAT",
                             "--size WxH",
                             "bdf",
                             "80x50",
                             " -h",
                             " -V",
                             "--load-address HEX",
                             "prg",
                             "--machine M",
                             "--colours FILE",
                             "--charset FONT",
                             "scr",
                             "b800",
                             "--import-screen PICTURE --font OUT.fnt --map OUT.map [--charset IN]",
                             "--export-tiles FORMAT [--load-address HEX] [--decimal]",
                             "--recover [FILE]",
                             "[--split-words] [--region X,Y,W,H] INPUT OUTPUT",
                             "FORMAT  byte, acme, defb, c, bin, prg, png",
                             "--to-project INPUT OUTPUT.fontarel",
                             "--export-materials FORMAT [--load-address HEX] INPUT OUTPUT",
                             "7100 for tile tags"})
        EXPECT_NE(usage.find(part), std::string::npos) << part;
    // The lines of the data exports within 80 columns; png for the level alone.
    std::istringstream lines(usage);
    int without_png = 0;
    for (std::string line; std::getline(lines, line);) {
        without_png += line == "  FORMAT  byte, acme, defb, c, bin, prg";
        if (line.find("tile") != std::string::npos || line.find("level") != std::string::npos ||
            line.find("material") != std::string::npos || line.find("four") != std::string::npos) {
            EXPECT_LE(line.size(), 80u) << line;
        }
    }
    EXPECT_EQ(without_png, 2) << "the tiles' and the materials' and tags' formats";
}

TEST(CommandLine, ExportFormsTakeTheirOptionsInAnyOrder) {
    const struct {
        Args args;
        ExportFormat format;
        int first, count;
    } glyphs[] = {
        {{"--export", "byte", "in.fnt", "out.s"}, ExportFormat::Byte, 0, 256},
        {{"--export", "psf", "--first", "32", "in", "out"}, ExportFormat::Psf, 32, 224},
        {{"--export", "c", "--count", "96", "--first", "32", "in", "out"}, ExportFormat::C, 32, 96},
        {{"--export", "png", "in", "--first", "255", "out", "--count", "1"},
         ExportFormat::Png,
         255,
         1},
        {{"--export", "bdf", "--first", "0", "--count", "1", "in", "out"}, ExportFormat::Bdf, 0, 1},
    };
    for (const auto& g : glyphs) {
        const CommandLine line = parse_command_line(g.args);
        ASSERT_EQ(line.action, CommandAction::ExportGlyphs) << line.error;
        EXPECT_EQ(line.format, g.format);
        EXPECT_EQ(line.glyphs.first, g.first);
        EXPECT_EQ(line.glyphs.count, g.count);
        EXPECT_EQ(line.input, "in" + std::string(g.format == ExportFormat::Byte ? ".fnt" : ""));
        EXPECT_EQ(line.output.substr(0, 3), "out");
    }
    for (const auto& [address, value] : {std::pair{"c000", 0xC000}, {"0", 0}, {"FFFF", 0xFFFF}}) {
        const CommandLine line =
            parse_command_line({"--export", "prg", "in", "--load-address", address, "out"});
        ASSERT_EQ(line.action, CommandAction::ExportGlyphs) << line.error;
        EXPECT_EQ(line.load_address, value) << address;
    }
    EXPECT_EQ(parse_command_line({"--export", "prg", "in", "out"}).load_address, 0x3000);
    const CommandLine project = parse_command_line({"--to-project", "a.ctm", "b.fontarel"});
    EXPECT_EQ(project.action, CommandAction::ToProject);
    EXPECT_EQ(project.input + " " + project.output, "a.ctm b.fontarel");
    EXPECT_FALSE(project.compact);
    for (const auto& args : {std::vector<std::string>{"--to-project", "--compact", "a", "b"},
                             std::vector<std::string>{"--to-project", "a", "b", "--compact"}}) {
        const CommandLine compact = parse_command_line(args);
        EXPECT_EQ(compact.action, CommandAction::ToProject);
        EXPECT_TRUE(compact.compact);
        EXPECT_EQ(compact.input + " " + compact.output, "a b");
    }
    for (const char* size : {"32x24", "40x24", "40x25", "80x50", "64x30"}) {
        const CommandLine line =
            parse_command_line({"--export-map", "basic", "map.map", "--size", size, "map.bas"});
        ASSERT_EQ(line.action, CommandAction::ExportMap) << line.error;
        EXPECT_EQ(std::to_string(line.map_cols) + "x" + std::to_string(line.map_rows), size);
        EXPECT_EQ(line.input, "map.map");
        EXPECT_EQ(line.output, "map.bas");
    }
    for (const Args& args :
         {Args{"--import-screen", "p.png", "--font", "f", "--map", "m"},
          Args{"--import-screen", "--map", "m", "--charset", "c", "--font", "f", "p.png"}}) {
        const CommandLine line = parse_command_line(args);
        ASSERT_EQ(line.action, CommandAction::ImportScreen) << line.error;
        EXPECT_EQ(line.input + line.output + line.map_output, "p.pngfm");
        EXPECT_EQ(line.charset, args.size() == 8 ? "c" : "");
    }
    // The data exports: each its own PRG address unless one is given.
    const struct {
        Args args;
        CommandAction action;
        ExportFormat format;
        int load_address;
    } levels[] = {
        {{"--export-tiles", "bin", "in", "out"},
         CommandAction::ExportTiles,
         ExportFormat::Bin,
         0x4000},
        {{"--export-level", "prg", "in", "out"},
         CommandAction::ExportLevel,
         ExportFormat::Prg,
         0x6000},
        {{"--export-level", "png", "in", "out"},
         CommandAction::ExportLevel,
         ExportFormat::Png,
         0x6000},
        {{"--export-tiles", "prg", "in", "--load-address", "c000", "out"},
         CommandAction::ExportTiles,
         ExportFormat::Prg,
         0xC000},
        {{"--export-materials", "prg", "in", "out"},
         CommandAction::ExportMaterials,
         ExportFormat::Prg,
         0x7000},
    };
    for (const auto& l : levels) {
        const CommandLine line = parse_command_line(l.args);
        ASSERT_EQ(line.action, l.action) << line.error;
        EXPECT_EQ(line.format, l.format);
        EXPECT_EQ(line.load_address, l.load_address);
        EXPECT_EQ(line.input + " " + line.output, "in out");
    }
    const CommandLine shaped = parse_command_line({"--export-level", "acme", "--decimal", "in",
                                                   "--split-words", "--region", "3,4,10,2", "out"});
    ASSERT_EQ(shaped.action, CommandAction::ExportLevel) << shaped.error;
    EXPECT_TRUE(shaped.shape.decimal && shaped.shape.split_words && !shaped.shape.colours_only);
    EXPECT_EQ(std::tuple(shaped.shape.x, shaped.shape.y, shaped.shape.w, shaped.shape.h),
              std::tuple(3, 4, 10, 2));
    EXPECT_EQ(
        parse_command_line({"--export-map", "c", "--region", "0,4096,4096,1", "in", "out"}).shape.w,
        4096)
        << "the largest level's side";
    EXPECT_TRUE(parse_command_line({"--export-tiles", "bin", "--colours-only", "in", "out"})
                    .shape.colours_only);
    const CommandLine colour =
        parse_command_line({"--import-screen", "p.png", "--font", "f", "--map", "m", "--machine",
                            "c64", "--colours", "k"});
    ASSERT_EQ(colour.action, CommandAction::ImportScreen) << colour.error;
    EXPECT_EQ(colour.machine, MapMachine::C64);
    EXPECT_EQ(colour.colours, "k");
}

TEST(CommandLine, MistakesAreOneLineThatNamesThem) {
    const struct {
        Args args;
        const char* says;
    } mistakes[] = {
        {{"--export"}, "FORMAT"},
        {{"--export", "html", "a", "b"}, "'html'"},
        {{"--export", "byte", "a"}, "INPUT and an OUTPUT"},
        {{"--export", "byte", "a", "b", "c"}, "INPUT and an OUTPUT"},
        {{"--export", "byte", "--first", "256", "a", "b"}, "--first '256'"},
        {{"--export", "byte", "--first", "-1", "a", "b"}, "--first '-1'"},
        {{"--export", "byte", "--first", "x1", "a", "b"}, "--first 'x1'"},
        {{"--export", "byte", "--count", "0", "a", "b"}, "--count '0'"},
        {{"--export", "byte", "--first", "200", "--count", "57", "a", "b"}, "not 1-56"},
        {{"--export", "byte", "a", "b", "--count"}, "--count needs a value"},
        {{"--export", "byte", "--size", "32x24", "a", "b"}, "'--size'"},
        {{"--export", "byte", "--frist", "3", "a", "b"}, "'--frist'"},
        {{"--export", "byte", "--load-address", "3000", "a", "b"}, "only for the format prg"},
        {{"--export", "prg", "--load-address", "10000", "a", "b"}, "'10000'"},
        {{"--export", "prg", "--load-address", "$300", "a", "b"}, "'$300'"},
        {{"--export", "prg", "--load-address", "-1", "a", "b"}, "'-1'"},
        {{"--export-map", "prg", "--size", "32x24", "a", "b"}, "map format 'prg'"},
        {{"--export-map", "psf", "--size", "32x24", "a", "b"}, "map format 'psf'"},
        {{"--export-map", "byte", "--size", "40x40", "a", "b"}, "'40x40'"},
        {{"--export-map", "byte", "--size", "40", "a", "b"}, "'40'"},
        {{"--export-map", "c", "--region", "0,0,0,1", "a", "b"},
         "--region '0,0,0,1' is not X,Y,W,H in cells"},
        {{"--export-map", "c", "--size", "40x24", "--first", "1", "a", "b"}, "'--first'"},
        {{"--export", "scr", "a", "b"}, "format 'scr'"},
        {{"--export-map", "scr", "--size", "40x25", "--charset", "f", "a", "b"}, "not 40x25"},
        {{"--export-map", "scr", "--size", "32x24", "--machine", "pc", "--charset", "f", "a", "b"},
         "--machine zx or none"},
        {{"--export-map", "byte", "--size", "32x24", "--colours", "c", "a", "b"},
         "needs --machine"},
        {{"--export-level"},
         "--export-level needs a FORMAT: byte, acme, defb, c, bin, prg, png, tmx"},
        {{"--export-tiles", "png", "a", "b"},
         "unknown tiles format 'png': use one of byte, acme, defb, c, bin, prg"},
        {{"--export-level", "basic", "a", "b"}, "unknown level format 'basic'"},
        {{"--export-tiles", "byte", "a"}, "--export-tiles needs an INPUT and an OUTPUT"},
        {{"--export-tiles", "byte"}, "--export-tiles needs an INPUT and an OUTPUT"},
        {{"--export-level", "c", "a", "b", "c"}, "--export-level needs an INPUT and an OUTPUT"},
        {{"--export-level", "bin", "--load-address", "3000", "a", "b"}, "only for the format prg"},
        {{"--export-tiles", "prg", "a", "b", "--load-address"}, "--load-address needs a value"},
        {{"--export-tiles", "prg", "--load-address", "10000", "a", "b"}, "'10000'"},
        {{"--export-level", "byte", "--size", "40x25", "a", "b"}, "'--size' for --export-level"},
        {{"--export-materials", "png", "a", "b"},
         "unknown materials format 'png': use one of byte"},
        {{"--export-tile-tags"},
         "--export-tile-tags needs a FORMAT: byte, acme, defb, c, bin, prg"},
        {{"--to-project", "a"}, "--to-project needs an INPUT and an OUTPUT"},
        {{"--to-project", "a", "b", "c"}, "--to-project needs an INPUT and an OUTPUT"},
        {{"--export-level", "bin", "--decimal", "a", "b"}, "--decimal is only for the source"},
        {{"--export-tiles", "c", "--split-words", "a", "b"},
         "--split-words is only for --export-level"},
        {{"--export-materials", "c", "--region", "0,0,1,1", "a", "b"}, "--region is only for"},
        {{"--export-level", "c", "--colours-only", "a", "b"},
         "--colours-only is only for --export-tiles"},
        {{"--export-level", "c", "a", "b", "--region"}, "--region needs a value"},
        {{"--export-level", "c", "--region", "1,2,0,4", "a", "b"}, "'1,2,0,4' is not X,Y,W,H"},
        {{"--export-level", "c", "--region", "1,2,3", "a", "b"}, "'1,2,3' is not X,Y,W,H"},
        {{"--export-level", "c", "--region", "1,2,3,4,", "a", "b"}, "'1,2,3,4,' is not X,Y,W,H"},
        {{"--export-level", "c", "--region", "-1,2,3,4", "a", "b"}, "'-1,2,3,4' is not X,Y,W,H"},
        {{"--to-project", "a", "--first", "1", "b"}, "unknown option '--first' for --to-project"},
        {{"--import-screen"}, "one PICTURE"},
        {{"--import-screen", "p", "q", "--font", "a", "--map", "b"}, "one PICTURE"},
        {{"--import-screen", "p", "--font", "a"}, "needs --font OUT.fnt and --map OUT.map"},
        {{"--import-screen", "p", "--font", "--map", "b"}, "--font needs a file"},
        {{"--import-screen", "p", "--map", "a", "--map", "b", "--font", "c"},
         "--map is given twice"},
        {{"--import-screen", "p", "--size", "32x24", "--font", "a", "--map", "b"}, "'--size'"},
        {{"--import-screen", "p", "--font", "a", "--map", "b", "--machine", "zx"}, "go together"},
        {{"--import-screen", "p", "--font", "a", "--map", "b", "--machine", "vic"}, "'vic'"},
        {{"--import-screen", "p", "--project", "a", "--multicolour", "--font"}, "needs a value"},
        {{"--import-screen", "p", "--project", "a", "--multicolour", "1,2", "--charset", "c"},
         "does not go with --charset"},
        {{"--import-screen", "p", "--project", "a", "--multicolour", "1,2", "--machine", "pc"},
         "not PC text"},
        {{"--export-map", "byte", "--size", "40x25", "--multicolour", "1,2", "--machine", "zx", "a",
          "b"},
         "not ZX Spectrum"},
        {{"--export-map", "scr", "--size", "32x24", "--multicolour", "1,2", "--charset", "f", "a",
          "b"},
         "not ZX Spectrum"},
        {{"--export-map", "c", "--size", "40x25", "--multicolour", "1,2", "--machine", "vic", "a",
          "b"},
         "'vic'"},
    };
    for (const auto& m : mistakes) {
        const CommandLine line = parse_command_line(m.args);
        EXPECT_EQ(line.action, CommandAction::Fail) << m.says;
        EXPECT_NE(line.error.find(m.says), std::string::npos) << line.error;
        EXPECT_EQ(line.error.find('\n'), std::string::npos) << line.error;
    }
}

// --multicolour D022,D023 takes two colours 0-15, decimal or $ hex, and implies the C64 for both
// forms; with a map export it also makes a project's own machine yield.
TEST(CommandLine, MulticolourTakesTwoColoursAndImpliesTheC64) {
    const struct {
        const char* value;
        int colour_1, colour_2; // -1: refused
    } values[] = {{"9,$a", 9, 10},   {"$0F,15", 15, 15}, {"0,$0", 0, 0},     {"1,16", -1, -1},
                  {"$10,1", -1, -1}, {"1;2", -1, -1},    {"1,", -1, -1},     {",1", -1, -1},
                  {"$,1", -1, -1},   {"1,2,3", -1, -1},  {"$f,$100", -1, -1}};
    for (const auto& v : values)
        for (const Args& args :
             {Args{"--import-screen", "p", "--project", "o", "--multicolour", v.value},
              Args{"--export-map", "byte", "--size", "40x25", "--multicolour", v.value, "a",
                   "b"}}) {
            SCOPED_TRACE(args[0] + " " + v.value);
            const CommandLine line = parse_command_line(args);
            if (v.colour_1 < 0) {
                EXPECT_EQ(line.error, "--multicolour '" + std::string(v.value) +
                                          "' is not two colours 0-15 for $d022,$d023, as 9,$a");
                continue;
            }
            ASSERT_NE(line.action, CommandAction::Fail) << line.error;
            EXPECT_TRUE(line.multicolour && line.machine == MapMachine::C64);
            EXPECT_EQ(line.multicolour_1 * 100 + line.multicolour_2, v.colour_1 * 100 + v.colour_2);
            EXPECT_EQ(line.machine_given, args[0] == "--export-map");
        }
    EXPECT_FALSE(parse_command_line({"--import-screen", "p", "--project", "o"}).multicolour);
}

// --machine atari, atari4 and atari5 name the Atari's modes; --atari-colours takes its five
// registers, even values 0-254, and only for those machines.
TEST(CommandLine, AtariMachinesTakeTheirModeAndFiveRegisters) {
    const struct {
        const char* machine;
        const char* colours; // null: none given
        int mode;            // 0: refused, with `says`
        const char* says;
    } cases[] = {
        {"atari", nullptr, 2, ""},
        {"atari4", "0,40,202,148,70", 4, ""},
        {"atari5", "254,0,2,4,6", 5, ""},
        {"atari4", "0,41,202,148,70", 0, "--atari-colours '0,41,202,148,70' is not five even"},
        {"atari4", "0,40,202,148,256", 0, "is not five even colour values 0-254"},
        {"atari4", "0,40,202,148", 0, "is not five even"},
        {"atari4", "0,40,202,148,70,2", 0, "is not five even"},
        {"atari4", "0,40,,148,70", 0, "is not five even"},
        {"atari3", nullptr, 0, "--machine 'atari3' is none of"},
        {"c64", "0,40,202,148,70", 0, "--atari-colours needs --machine atari, atari4 or atari5"},
        {"atari4", "--colours", 0, "--colours is not for the Atari"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.machine) + " " + (c.colours ? c.colours : "-"));
        Args args{"--export-map", "png", "--size", "40x24", "--machine", c.machine};
        if (c.colours && std::string(c.colours) == "--colours")
            args.insert(args.end(), {"--colours", "c"});
        else if (c.colours)
            args.insert(args.end(), {"--atari-colours", c.colours});
        args.insert(args.end(), {"a", "b"});
        const CommandLine line = parse_command_line(args);
        if (c.mode == 0) {
            EXPECT_EQ(line.action, CommandAction::Fail);
            EXPECT_NE(line.error.find(c.says), std::string::npos) << line.error;
            EXPECT_EQ(line.error.find('\n'), std::string::npos) << line.error;
            continue;
        }
        ASSERT_NE(line.action, CommandAction::Fail) << line.error;
        EXPECT_EQ(line.machine, MapMachine::Atari);
        EXPECT_EQ(line.atari_mode, c.mode);
        EXPECT_EQ(line.atari_colours_given, c.colours != nullptr);
        if (c.colours && std::string(c.colours) == "254,0,2,4,6")
            EXPECT_EQ(line.atari_colours, (std::array<uint8_t, 5>{254, 0, 2, 4, 6}));
    }
}
