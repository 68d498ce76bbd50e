// The command table and the control table, in the order the commands appear in the menus.

#include "app/commands.h"

#include <array>

#include "app/commands/block_commands.h"
#include "app/commands/builtin_commands.h"
#include "app/commands/colour_commands.h"
#include "app/commands/ctm_commands.h"
#include "app/commands/export_commands.h"
#include "app/commands/file_commands.h"
#include "app/commands/glyph_commands.h"
#include "app/commands/history_commands.h"
#include "app/commands/import_commands.h"
#include "app/commands/level_commands.h"
#include "app/commands/level_export_commands.h"
#include "app/commands/project_commands.h"
#include "app/commands/range_commands.h"
#include "app/commands/tmx_export_commands.h"
#include "app/commands/view_options.h"
#include "app/recovery.h"
#include "app/views/charset_canvas.h"
#include "app/views/glyph_canvas.h"
#include "app/views/level_view.h"
#include "app/views/map_canvas.h"
#include "app/views/map_typing.h"

namespace fontarel {

namespace {

template <GlyphOp which> void op(App& app) {
    apply_glyph_op(app, which);
}
template <int bytes> void font(App& app) {
    save_font(app, bytes);
}
template <int columns, int rows> void map_size(App& app) {
    set_map_size(app, columns, rows);
}
template <Machine machine> void builtin(App& app) {
    load_builtin_charset(app, machine);
}
template <ExportFormat format> void glyphs_export(App& app) {
    export_glyphs_as(app, format);
}
template <ExportFormat format> void map_export(App& app) {
    export_map_as(app, format);
}
template <ExportFormat format> void tiles_export(App& app) {
    export_tiles(app, format);
}
template <ExportFormat format> void level_export(App& app) {
    export_level(app, format);
}
template <ExportFormat format> void materials_export(App& app) {
    export_data(app, DataExport::Materials, format);
}
template <ExportFormat format> void tile_tags_export(App& app) {
    export_data(app, DataExport::TileTags, format);
}
template <MapMachine which> void machine(App& app) {
    set_machine(app, which);
}
template <uint8_t mode> void atari_mode(App& app) {
    set_atari_mode(app, mode);
}
template <PaintMode mode> void paint(App& app) {
    set_paint_mode(app, mode);
}

constexpr Shortcut kHistoryUndo{kComboUndo, 0, ShortcutWindows::Both};
constexpr Shortcut kHistoryRedo{kComboRedo, kComboRedoShifted, ShortcutWindows::Both};

constexpr CommandRow kCommands[] = {
    // File
    {MenuId::Open, "Open...", {kComboOpen}, open_file},
    {MenuId::SaveZx, "ZX 96 chars(768bytes)", {}, font<768>},
    {MenuId::SaveAtari, "Atari 128 chars(1024bytes)", {}, font<1024>},
    {MenuId::SaveIbm, "IBM 256 chars(2048bytes)", {}, font<2048>},
    {MenuId::SaveMap, "Character_map", {}, save_map},
    {MenuId::SaveMapColours, "Map colours", {}, save_map_colours},
    {MenuId::SaveImage, "Characters image", {}, export_charset_image},
    {MenuId::SaveProject, "Save project", {kComboSaveProject}, save_project},
    {MenuId::SaveProjectAs, "Save project as...", {}, save_project_as},
    {MenuId::RecoverLastSession, "Recover last session", {}, recover_last_session},
    {MenuId::ExportByte, "Assembler .byte...", {}, glyphs_export<ExportFormat::Byte>},
    {MenuId::ExportAcme, "Assembler !byte...", {}, glyphs_export<ExportFormat::Acme>},
    {MenuId::ExportDefb, "Assembler defb...", {}, glyphs_export<ExportFormat::Defb>},
    {MenuId::ExportC, "C array...", {}, glyphs_export<ExportFormat::C>},
    {MenuId::ExportBasic, "BASIC DATA...", {}, glyphs_export<ExportFormat::Basic>},
    {MenuId::ExportPng, "PNG picture...", {}, glyphs_export<ExportFormat::Png>},
    {MenuId::ExportPsf, "Linux console font (PSF)...", {}, glyphs_export<ExportFormat::Psf>},
    {MenuId::ExportBdf, "X11 bitmap font (BDF)...", {}, glyphs_export<ExportFormat::Bdf>},
    {MenuId::ExportPrg, "PRG with load address...", {}, export_prg},
    {MenuId::ExportMapAssembler, "Map as assembler...", {}, map_export<ExportFormat::Byte>},
    {MenuId::ExportMapC, "Map as C array...", {}, map_export<ExportFormat::C>},
    {MenuId::ExportScr, "Spectrum screen (.scr)...", {}, map_export<ExportFormat::Scr>},
    {MenuId::ExportB800, "PC text screen (B800)...", {}, map_export<ExportFormat::B800>},
    {MenuId::ExportMapPicture, "Map picture (PNG)...", {}, export_map_picture},
    {MenuId::ImportFont, "Font (PSF, BDF)...", {}, import_font},
    {MenuId::ImportCharsetPicture,
     "Charset picture (PNG, BMP, GIF)...",
     {},
     import_charset_picture},
    {MenuId::ImportPrg, "PRG with load address...", {}, import_prg},
    {MenuId::ImportScreenNew, "Screen picture, new charset...", {}, import_screen_new},
    {MenuId::ImportScreenCurrent, "Screen picture, current charset...", {}, import_screen_current},
    {MenuId::ImportMapColours, "Map colours...", {}, import_map_colours},
    {MenuId::ImportCtm, "CTM project...", {}, import_ctm},
    {MenuId::Quit, "Quit", {}, kEndProgram},
    // Char > Map
    {MenuId::MapZx, "ZX 32x24", {}, map_size<32, 24>},
    {MenuId::MapAtari, "Atari 40x24", {}, map_size<40, 24>},
    {MenuId::MapC64, "C64 40x25", {}, map_size<40, 25>},
    {MenuId::MapPc, "PC 80x50", {}, map_size<80, 50>},
    {MenuId::MapUssr, "USSR 64x30", {}, map_size<64, 30>},
    {MenuId::FillMap, "Fill map with current char", {}, fill_map},
    {MenuId::GridOnMap, "Grid on map", {}, toggle_grid},
    // Char > Charset
    {MenuId::CharsetCga, "IBM PC CGA", {}, builtin<Machine::Cga>},
    {MenuId::Charset866, "IBM PC 866", {}, builtin<Machine::Cp866>},
    {MenuId::CharsetZxSpectrum, "ZX Spectrum", {}, builtin<Machine::ZxSpectrum>},
    {MenuId::CharsetZx80, "ZX80", {}, builtin<Machine::Zx80>},
    {MenuId::CharsetJupiterAce, "Jupiter Ace", {}, builtin<Machine::JupiterAce>},
    {MenuId::CharsetC64, "C64 CAPS", {}, builtin<Machine::C64Caps>},
    {MenuId::CharsetAtari, "Atari XL", {}, builtin<Machine::AtariXl>},
    {MenuId::CharsetMicrosha, "Microsha(USSR)", {}, builtin<Machine::Microsha>},
    {MenuId::HexNumbers, "Hex numbers", {}, build_hex_charset},
    // Char
    {MenuId::DragSwap, "Drag mode:swap", {}, [](App& app) { set_drag_mode(app, true); }},
    {MenuId::DragCopy, "Drag mode:copy", {}, [](App& app) { set_drag_mode(app, false); }},
    {MenuId::RotateClockwise, "rotate clockwise", {}, op<GlyphOp::RotateClockwise>},
    {MenuId::RotateAnticlockwise, "rotate anticlockwise", {}, op<GlyphOp::RotateAnticlockwise>},
    {MenuId::ColourBit0,
     "Color for bit=0...",
     {},
     [](App& app) { choose_pixel_colour(app, &AppState::color_bit0); }},
    {MenuId::ColourBit1,
     "Color for bit=1...",
     {},
     [](App& app) { choose_pixel_colour(app, &AppState::color_bit1); }},
    {MenuId::EraseCharset, "Erase all charset", {}, erase_charset},
    {MenuId::ClearChar, "Clear character", {}, op<GlyphOp::Clear>},
    {MenuId::Invert, "Invert", {kComboInvert}, op<GlyphOp::Invert>},
    {MenuId::MirrorLeftRight, "Revert char left-right", {}, op<GlyphOp::MirrorLeftRight>},
    {MenuId::MirrorUpDown, "Revert char up-down", {}, op<GlyphOp::MirrorUpDown>},
    {MenuId::SetBeginRange, "Set begin range", {}, set_range_begin},
    {MenuId::SetEndRange, "Set end range", {}, set_range_end},
    {MenuId::CopyRange, "Copy data range to current", {}, copy_range_to_current},
    {MenuId::ShiftLeft, "Char shift left", {}, op<GlyphOp::ShiftLeft>},
    {MenuId::ShiftRight, "Char shift right", {}, op<GlyphOp::ShiftRight>},
    {MenuId::ShiftUp, "Char shift up", {}, op<GlyphOp::ShiftUp>},
    {MenuId::ShiftDown, "Char shift down", {}, op<GlyphOp::ShiftDown>},
    {MenuId::GlyphMaterial, "Material...", {}, set_glyph_material},
    {MenuId::CompactCharset, "Compact charset", {}, compact_glyphs},
    {MenuId::ShowUnusedGlyphs, "Show unused glyphs", {}, toggle_unused_glyphs},
    // Edit
    {MenuId::Undo, "Undo", kHistoryUndo, undo_step},
    {MenuId::Redo, "Redo", kHistoryRedo, redo_step},
    {MenuId::Cut, "Cut", {kComboCtrl | 'X', 0, ShortcutWindows::Map}, cut_block},
    {MenuId::Copy, "Copy", {kComboCtrl | 'C', 0, ShortcutWindows::Map}, copy_block},
    {MenuId::Paste, "Paste", {kComboCtrl | 'V', 0, ShortcutWindows::Map}, paste_block},
    {MenuId::Clear, "Clear", {kKeyDelete, 0, ShortcutWindows::Map}, clear_block},
    {MenuId::SelectAll, "Select all", {kComboCtrl | 'A', 0, ShortcutWindows::Map}, select_all},
    {MenuId::TypeText, "Type text", {'T', 0, ShortcutWindows::MapCanvas}, type_text},
    {MenuId::TypeScreenCodes, "Type with screen codes", {}, toggle_screen_codes},
    // The main window's keys for the current glyph; no menu shows them.
    {MenuId::CopyGlyph, "Copy glyph", {kComboCtrl | 'C'}, copy_glyph},
    {MenuId::PasteGlyph, "Paste glyph", {kComboCtrl | 'V'}, paste_glyph},
    // Colour
    {MenuId::MachineMono, "Mono", {}, machine<MapMachine::Mono>},
    {MenuId::MachineC64, "C64", {}, machine<MapMachine::C64>},
    {MenuId::MachineZx, "ZX Spectrum", {}, machine<MapMachine::ZxSpectrum>},
    {MenuId::MachinePc, "PC text", {}, machine<MapMachine::PcText>},
    {MenuId::PenColour, "Pen colour...", {}, choose_pen_colour},
    {MenuId::PaperColour, "Paper colour...", {}, choose_paper_colour},
    {MenuId::BackgroundColour, "Background / border colour...", {}, choose_background_colour},
    {MenuId::PaintCodesAndColours,
     "Paint codes and colours",
     {},
     paint<PaintMode::CodesAndColours>},
    {MenuId::PaintColoursOnly, "Paint colours only", {}, paint<PaintMode::ColoursOnly>},
    {MenuId::PaintCodesOnly, "Paint codes only", {}, paint<PaintMode::CodesOnly>},
    {MenuId::Multicolour, "Multicolour", {}, toggle_multicolour},
    {MenuId::MulticolourOne, "Multicolour 1...", {}, choose_multicolour<1>},
    {MenuId::MulticolourTwo, "Multicolour 2...", {}, choose_multicolour<2>},
    {MenuId::ExtendedBackground, "Extended background colour", {}, toggle_extended_background},
    {MenuId::ExtendedBackgroundOne, "Background 1...", {}, choose_extended_background<1>},
    {MenuId::ExtendedBackgroundTwo, "Background 2...", {}, choose_extended_background<2>},
    {MenuId::ExtendedBackgroundThree, "Background 3...", {}, choose_extended_background<3>},
    {MenuId::MachineAtari, "Atari", {}, machine<MapMachine::Atari>},
    {MenuId::AtariTwoColours, "Text 2 colours", {}, atari_mode<kAtariTwoColours>},
    {MenuId::AtariFourColours, "Text 4 colours", {}, atari_mode<kAtariFourColours>},
    {MenuId::AtariTall, "Text 4 colours tall", {}, atari_mode<kAtariTall>},
    {MenuId::AtariColours, "Atari colours...", {}, choose_atari_colours},
    // Level
    {MenuId::ShowLevel, "Show level", {}, show_level_window},
    {MenuId::ShowTiles, "Show tiles", {}, show_tiles_window},
    {MenuId::NewLevel, "New level...", {}, new_level},
    {MenuId::LevelInsertColumn, "Insert column", {}, level_insert_column},
    {MenuId::LevelDeleteColumn, "Delete column", {}, level_delete_column},
    {MenuId::LevelInsertRow, "Insert row", {}, level_insert_row},
    {MenuId::LevelDeleteRow, "Delete row", {}, level_delete_row},
    {MenuId::NewTile, "New tile", {}, new_tile},
    {MenuId::DeleteUnusedTiles, "Delete unused tiles", {}, delete_unused_tiles},
    {MenuId::DuplicateTile, "Duplicate tile", {}, duplicate_tile},
    {MenuId::MakeTilesFromMap, "Make tiles from map", {}, make_tiles_from_map},
    {MenuId::LevelScreenToMap, "Level screen to map", {}, level_screen_to_map},
    {MenuId::ExportTilesByte, "Tiles as assembler .byte...", {}, tiles_export<ExportFormat::Byte>},
    {MenuId::ExportTilesAcme, "Tiles as assembler !byte...", {}, tiles_export<ExportFormat::Acme>},
    {MenuId::ExportTilesDefb, "Tiles as assembler defb...", {}, tiles_export<ExportFormat::Defb>},
    {MenuId::ExportTilesC, "Tiles as C array...", {}, tiles_export<ExportFormat::C>},
    {MenuId::ExportTilesBinary, "Tiles as binary...", {}, tiles_export<ExportFormat::Bin>},
    {MenuId::ExportTilesPrg, "Tiles as PRG...", {}, tiles_export<ExportFormat::Prg>},
    {MenuId::ExportLevelByte, "Level as assembler .byte...", {}, level_export<ExportFormat::Byte>},
    {MenuId::ExportLevelAcme, "Level as assembler !byte...", {}, level_export<ExportFormat::Acme>},
    {MenuId::ExportLevelDefb, "Level as assembler defb...", {}, level_export<ExportFormat::Defb>},
    {MenuId::ExportLevelC, "Level as C array...", {}, level_export<ExportFormat::C>},
    {MenuId::ExportLevelBinary, "Level as binary...", {}, level_export<ExportFormat::Bin>},
    {MenuId::ExportLevelPrg, "Level as PRG...", {}, level_export<ExportFormat::Prg>},
    {MenuId::ExportLevelPicture, "Level picture (PNG)...", {}, export_level_picture},
    {MenuId::ExportMaterialsByte,
     "Materials as assembler .byte...",
     {},
     materials_export<ExportFormat::Byte>},
    {MenuId::ExportMaterialsAcme,
     "Materials as assembler !byte...",
     {},
     materials_export<ExportFormat::Acme>},
    {MenuId::ExportMaterialsDefb,
     "Materials as assembler defb...",
     {},
     materials_export<ExportFormat::Defb>},
    {MenuId::ExportMaterialsC, "Materials as C array...", {}, materials_export<ExportFormat::C>},
    {MenuId::ExportMaterialsBinary,
     "Materials as binary...",
     {},
     materials_export<ExportFormat::Bin>},
    {MenuId::ExportMaterialsPrg, "Materials as PRG...", {}, materials_export<ExportFormat::Prg>},
    {MenuId::ExportTileTagsByte,
     "Tile tags as assembler .byte...",
     {},
     tile_tags_export<ExportFormat::Byte>},
    {MenuId::ExportTileTagsAcme,
     "Tile tags as assembler !byte...",
     {},
     tile_tags_export<ExportFormat::Acme>},
    {MenuId::ExportTileTagsDefb,
     "Tile tags as assembler defb...",
     {},
     tile_tags_export<ExportFormat::Defb>},
    {MenuId::ExportTileTagsC, "Tile tags as C array...", {}, tile_tags_export<ExportFormat::C>},
    {MenuId::ExportTileTagsBinary,
     "Tile tags as binary...",
     {},
     tile_tags_export<ExportFormat::Bin>},
    {MenuId::ExportTileTagsPrg, "Tile tags as PRG...", {}, tile_tags_export<ExportFormat::Prg>},
    {MenuId::ExportLevelTmx, "Tiled map (TMX)...", {}, export_level_tmx},
    {MenuId::ExportDecimal, "Numbers in decimal", {}, toggle_export_decimal},
    {MenuId::ExportSplitWords, "Tile numbers as low and high bytes", {}, toggle_export_split_words},
    {MenuId::ExportColoursOnly, "Tile attributes as colours only", {}, toggle_export_colours_only},
    {MenuId::ExportLevelPart, "Part of the level...", {}, ask_export_part},
    {MenuId::TileLabel, "Tile name and tag...", {}, set_tile_label},
    {MenuId::ExpandTiles, "Expand tiles", {}, expand_level_tiles},
    // The map popup
    {MenuId::InsertMapChar, "Insert char", {}, insert_map_char},
    {MenuId::DeleteMapChar, "Delete char", {}, delete_map_char},
    {MenuId::InsertMapLine, "Insert line", {}, insert_map_line},
    {MenuId::DeleteMapLine, "Delete line", {}, delete_map_line},
    {MenuId::InsertMapColumn, "Insert column", {}, insert_map_column},
    {MenuId::DeleteMapColumn, "Delete column", {}, delete_map_column},
};

// Every id from 0 to kMenuIdCount - 1 has exactly one row, so no row hides another.
constexpr bool each_id_once() {
    std::array<int, kMenuIdCount> rows{};
    for (const CommandRow& row : kCommands) {
        if (id(row.id) < 0 || id(row.id) >= kMenuIdCount)
            return false;
        ++rows[static_cast<std::size_t>(id(row.id))];
    }
    for (int count : rows) {
        if (count != 1)
            return false;
    }
    return true;
}
static_assert(each_id_once(), "every menu id needs exactly one command row");

using ControlHandler = void (*)(App&, const Event&);

// A command that needs nothing of the event but that it came.
template <Command command> void on_event(App& app, const Event&) {
    command(app);
}

struct ControlRow {
    int control;
    ControlHandler run;
};

// The text field, the check box and the labels have no effect of their own and no row.
constexpr ControlRow kControls[] = {
    {kCharsetCanvas, charset_canvas_event},
    {kGlyphCanvas, glyph_canvas_event},
    {kBrushCanvas, brush_canvas_event},
    {kMapCanvas, map_canvas_event},
    {kLevelCanvas, level_canvas_event},
    {kLevelScrollX, level_scroll_event},
    {kLevelScrollY, level_scroll_event},
    {kTilesCanvas, tiles_canvas_event},
    {kTilesScroll, tiles_scroll_event},
    {kShiftLeftButton, on_event<op<GlyphOp::ShiftLeft>>},
    {kShiftRightButton, on_event<op<GlyphOp::ShiftRight>>},
    {kShiftUpButton, on_event<op<GlyphOp::ShiftUp>>},
    {kShiftDownButton, on_event<op<GlyphOp::ShiftDown>>},
    {kBeginRangeBar, on_event<update_range_labels>},
    {kEndRangeBar, on_event<update_range_labels>},
};

} // namespace

std::span<const CommandRow> command_table() {
    return kCommands;
}

const CommandRow* find_command(int item) {
    for (const CommandRow& row : kCommands) {
        if (id(row.id) == item)
            return &row;
    }
    return nullptr;
}

bool dispatch_menu(App& app, int item) {
    const CommandRow* row = find_command(item);
    if (row == nullptr)
        return true;
    if (row->run == kEndProgram)
        return false;
    row->run(app);
    return true;
}

void dispatch_control(App& app, const Event& event) {
    for (const ControlRow& row : kControls) {
        if (row.control == event.source) {
            row.run(app, event);
            return;
        }
    }
}

} // namespace fontarel
