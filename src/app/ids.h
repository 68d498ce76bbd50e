#pragma once
// The program's object numbers: windows, controls, menus, images and menu item ids.

#include "toolkit/codes.h"

namespace fontarel {

constexpr int kMainWindow = 0;
constexpr int kMapWindow = 1;
constexpr int kLevelWindow = 2;
constexpr int kTilesWindow = 3;

// Controls share one number space across both windows.
constexpr int kCharsetCanvas = 0;
constexpr int kGlyphCanvas = 1;
constexpr int kMapCanvas = 2;
constexpr int kGlyphDataText = 3;
constexpr int kRangeCheckBox = 4;
constexpr int kBeginRangeBar = 5;
constexpr int kEndRangeBar = 6;
constexpr int kBeginRangeLabel = 7;
constexpr int kEndRangeLabel = 8;
constexpr int kShiftLeftButton = 9;
constexpr int kShiftRightButton = 10;
constexpr int kShiftUpButton = 11;
constexpr int kShiftDownButton = 12;
constexpr int kBrushCanvas = 13; // beside the glyph editor, shown while it shows multicolour
constexpr int kLevelCanvas = 14; // the Level window: the level in view, and its scroll bars
constexpr int kLevelScrollX = 15;
constexpr int kLevelScrollY = 16;
constexpr int kTilesCanvas = 17; // the Tiles window: the tiles in view, and its scroll bar
constexpr int kTilesScroll = 18;

constexpr int kMenuBar = 0;
constexpr int kCharsetPopup = 2;
constexpr int kMapPopup = 3;

constexpr int kCharsetImage = 0; // 256 x 256, the charset grid without cursor
constexpr int kDragImage = 1;    // 16 x 16, lives within one drag-feedback frame
constexpr int kExportImage = 2;  // 128 x 128, or the map's or the level's screen, lives within one
                                 // picture export

// Menu item ids: one id names one command wherever it is chosen (menu bar, popup or shortcut). They
// run from 0 to kMenuIdCount - 1 without a gap.
enum class MenuId : int {
    Open = 0,
    Quit = 1,
    SaveZx = 2,
    SaveAtari = 3,
    SaveIbm = 4,
    SaveMap = 5,
    SaveImage = 6,
    Invert = 7,
    MirrorLeftRight = 8,
    MirrorUpDown = 9,
    EraseCharset = 10,
    ClearChar = 11,
    ShiftLeft = 12,
    ShiftRight = 13,
    ShiftUp = 14,
    ShiftDown = 15,
    SetBeginRange = 16,
    SetEndRange = 17,
    DragSwap = 18,
    DragCopy = 19,
    CopyRange = 20,
    MapZx = 21,
    MapAtari = 22,
    MapC64 = 23,
    MapPc = 24,
    MapUssr = 25,
    FillMap = 26,
    GridOnMap = 27,
    CharsetCga = 28,
    CharsetC64 = 29,
    CharsetAtari = 30,
    Charset866 = 31,
    CharsetZxSpectrum = 32,
    CharsetZx80 = 33,
    CharsetMicrosha = 34,
    CharsetJupiterAce = 35,
    HexNumbers = 36,
    ColourBit1 = 37,
    ColourBit0 = 38,
    RotateClockwise = 39,
    RotateAnticlockwise = 40,
    InsertMapChar = 41,
    DeleteMapChar = 42,
    InsertMapLine = 43,
    DeleteMapLine = 44,
    InsertMapColumn = 45,
    DeleteMapColumn = 46,
    Undo = 47,
    Redo = 48,
    // File > Export
    ExportByte = 49,
    ExportAcme = 50,
    ExportDefb = 51,
    ExportC = 52,
    ExportBasic = 53,
    ExportPng = 54,
    ExportPsf = 55,
    ExportBdf = 56,
    ExportMapAssembler = 57,
    ExportMapC = 58,
    // File > Import
    ImportFont = 59,
    ImportCharsetPicture = 60,
    ImportPrg = 61,
    ImportScreenNew = 62,
    ImportScreenCurrent = 63,
    ExportPrg = 64, // File > Export
    // Edit: blocks of map cells
    Cut = 65,
    Copy = 66,
    Paste = 67,
    Clear = 68,
    SelectAll = 69,
    TypeText = 70,
    TypeScreenCodes = 71,
    CopyGlyph = 72, // keys of the main window only; no menu row
    PasteGlyph = 73,
    // Colour: the map's machine, the pen, the paint mode
    MachineMono = 74,
    MachineC64 = 75,
    MachineZx = 76,
    MachinePc = 77,
    PenColour = 78,
    PaperColour = 79,
    BackgroundColour = 80,
    PaintCodesAndColours = 81,
    PaintColoursOnly = 82,
    PaintCodesOnly = 83,
    SaveMapColours = 84,   // File > Save
    ImportMapColours = 85, // File > Import
    ExportScr = 86,        // File > Export
    ExportB800 = 87,
    SaveProject = 88, // File
    SaveProjectAs = 89,
    RecoverLastSession = 90,
    Multicolour = 91, // Colour
    MulticolourOne = 92,
    MulticolourTwo = 93,
    ExportMapPicture = 94, // File > Export
    // Level: tiles and the level
    ShowLevel = 95,
    ShowTiles = 96,
    NewLevel = 97,
    LevelInsertColumn = 98,
    LevelDeleteColumn = 99,
    LevelInsertRow = 100,
    LevelDeleteRow = 101,
    NewTile = 102,
    DeleteUnusedTiles = 103,
    DuplicateTile = 104,
    MakeTilesFromMap = 105,
    LevelScreenToMap = 106,
    ImportCtm = 107, // File > Import
    // Level > Export
    ExportTilesByte = 108,
    ExportTilesAcme = 109,
    ExportTilesDefb = 110,
    ExportTilesC = 111,
    ExportTilesBinary = 112,
    ExportTilesPrg = 113,
    ExportLevelByte = 114,
    ExportLevelAcme = 115,
    ExportLevelDefb = 116,
    ExportLevelC = 117,
    ExportLevelBinary = 118,
    ExportLevelPrg = 119,
    ExportLevelPicture = 120,
    ExtendedBackground = 121, // Colour
    ExtendedBackgroundOne = 122,
    ExtendedBackgroundTwo = 123,
    ExtendedBackgroundThree = 124,
    GlyphMaterial = 125, // Char
    TileLabel = 126,     // Level
    // Level > Export
    ExportMaterialsByte = 127,
    ExportMaterialsAcme = 128,
    ExportMaterialsDefb = 129,
    ExportMaterialsC = 130,
    ExportMaterialsBinary = 131,
    ExportMaterialsPrg = 132,
    ExportTileTagsByte = 133,
    ExportTileTagsAcme = 134,
    ExportTileTagsDefb = 135,
    ExportTileTagsC = 136,
    ExportTileTagsBinary = 137,
    ExportTileTagsPrg = 138,
    CompactCharset = 139, // Char
    ShowUnusedGlyphs = 140,
    ExpandTiles = 141, // Level
    ExportLevelTmx = 142,
    MachineAtari = 143, // Colour
    AtariTwoColours = 144,
    AtariFourColours = 145,
    AtariTall = 146,
    AtariColours = 147,
    ExportDecimal = 148, // Level > Export: how the data exports are shaped
    ExportSplitWords = 149,
    ExportColoursOnly = 150,
    ExportLevelPart = 151,
};

constexpr int id(MenuId m) {
    return static_cast<int>(m);
}

constexpr int kMenuIdCount = id(MenuId::ExportLevelPart) + 1;

// Shortcuts of the main window.
constexpr int kComboInvert = kComboCtrl | kKeyI;
constexpr int kComboOpen = kComboCtrl | kKeyO;
constexpr int kComboSaveProject = kComboCtrl | 'S';
// Shortcuts of both windows.
constexpr int kComboUndo = kComboCtrl | 'Z';
constexpr int kComboRedo = kComboCtrl | 'Y';
constexpr int kComboRedoShifted = kComboCtrl | kComboShift | 'Z';

} // namespace fontarel
