// The menu bar, the two popup menus and the shortcuts, built once at start-up.

#include "app/event_loop.h"
#include "app/history_commands.h"
#include "app/ids.h"

namespace fontarel {

namespace {

void item(Toolkit& tk, MenuId which, const char* text) {
    tk.menu_item(id(which), text);
}

void build_file_menu(Toolkit& tk) {
    tk.menu_title("File");
    item(tk, MenuId::Open, "Open...\tCtrl+O");
    tk.open_submenu("Save");
    item(tk, MenuId::SaveZx, "ZX 96 chars(768bytes)");
    item(tk, MenuId::SaveAtari, "Atari 128 chars(1024bytes)");
    item(tk, MenuId::SaveIbm, "IBM 256 chars(2048bytes)");
    tk.menu_separator();
    item(tk, MenuId::SaveMap, "Character_map");
    item(tk, MenuId::SaveImage, "Characters image");
    tk.close_submenu();
    tk.open_submenu("Export");
    item(tk, MenuId::ExportByte, "Assembler .byte...");
    item(tk, MenuId::ExportAcme, "Assembler !byte...");
    item(tk, MenuId::ExportDefb, "Assembler defb...");
    item(tk, MenuId::ExportC, "C array...");
    item(tk, MenuId::ExportBasic, "BASIC DATA...");
    item(tk, MenuId::ExportPng, "PNG picture...");
    item(tk, MenuId::ExportPsf, "Linux console font (PSF)...");
    item(tk, MenuId::ExportBdf, "X11 bitmap font (BDF)...");
    tk.menu_separator();
    item(tk, MenuId::ExportMapAssembler, "Map as assembler...");
    item(tk, MenuId::ExportMapC, "Map as C array...");
    tk.close_submenu();
    item(tk, MenuId::Quit, "Quit");
}

void build_char_menu(Toolkit& tk) {
    tk.menu_title("Char");
    tk.open_submenu("Map");
    item(tk, MenuId::MapZx, "ZX 32x24");
    item(tk, MenuId::MapAtari, "Atari 40x24");
    item(tk, MenuId::MapC64, "C64 40x25");
    item(tk, MenuId::MapPc, "PC 80x50");
    item(tk, MenuId::MapUssr, "USSR 64x30");
    tk.menu_separator();
    item(tk, MenuId::FillMap, "Fill map with current char");
    item(tk, MenuId::GridOnMap, "Grid on map");
    tk.close_submenu();
    tk.set_item_checked(kMenuBar, id(MenuId::GridOnMap), 1);

    tk.open_submenu("Charset");
    item(tk, MenuId::CharsetCga, "IBM PC CGA");
    item(tk, MenuId::Charset866, "IBM PC 866");
    tk.menu_separator();
    item(tk, MenuId::CharsetZxSpectrum, "ZX Spectrum");
    item(tk, MenuId::CharsetZx80, "ZX80");
    item(tk, MenuId::CharsetJupiterAce, "Jupiter Ace");
    tk.menu_separator();
    item(tk, MenuId::CharsetC64, "C64 CAPS");
    item(tk, MenuId::CharsetAtari, "Atari XL");
    item(tk, MenuId::CharsetMicrosha, "Microsha(USSR)");
    tk.menu_separator();
    item(tk, MenuId::HexNumbers, "Hex numbers");
    tk.close_submenu();

    tk.menu_separator();
    item(tk, MenuId::DragSwap, "Drag mode:swap");
    item(tk, MenuId::DragCopy, "Drag mode:copy");
    tk.menu_separator();
    item(tk, MenuId::RotateClockwise, "rotate clockwise");
    item(tk, MenuId::RotateAnticlockwise, "rotate anticlockwise");
    tk.menu_separator();
    item(tk, MenuId::ColourBit0, "Color for bit=0...");
    item(tk, MenuId::ColourBit1, "Color for bit=1...");
    tk.menu_separator();
    item(tk, MenuId::EraseCharset, "Erase all charset");
    item(tk, MenuId::ClearChar, "Clear character");
    item(tk, MenuId::Invert, "Invert\tCtrl+I");
    item(tk, MenuId::MirrorLeftRight, "Revert char left-right");
    item(tk, MenuId::MirrorUpDown, "Revert char up-down");
    tk.menu_separator();
    item(tk, MenuId::SetBeginRange, "Set begin range");
    item(tk, MenuId::SetEndRange, "Set end range");
    item(tk, MenuId::CopyRange, "Copy data range to current");
    tk.menu_separator();
    item(tk, MenuId::ShiftLeft, "Char shift left");
    item(tk, MenuId::ShiftRight, "Char shift right");
    item(tk, MenuId::ShiftUp, "Char shift up");
    item(tk, MenuId::ShiftDown, "Char shift down");
    tk.set_item_checked(kMenuBar, id(MenuId::DragSwap), 1);
}

void build_edit_menu(Toolkit& tk) {
    tk.menu_title("Edit");
    item(tk, MenuId::Undo, "Undo\tCtrl+Z");
    item(tk, MenuId::Redo, "Redo\tCtrl+Y");
}

void add_history_shortcuts(Toolkit& tk, int window) {
    tk.add_shortcut(window, kComboUndo, id(MenuId::Undo));
    tk.add_shortcut(window, kComboRedoShifted, id(MenuId::Redo));
    tk.add_shortcut(window, kComboRedo, id(MenuId::Redo));
}

} // namespace

void build_menus(App& app) {
    Toolkit& tk = app.tk;
    if (tk.create_menu_bar(kMenuBar, kMainWindow)) {
        build_file_menu(tk);
        build_char_menu(tk);
        build_edit_menu(tk);
        show_history_state(app);
        tk.add_shortcut(kMainWindow, kComboInvert, id(MenuId::Invert));
        tk.add_shortcut(kMainWindow, kComboOpen, id(MenuId::Open));
        add_history_shortcuts(tk, kMainWindow);
    } else {
        tk.message_box("fontarel", "create menu error!");
    }

    if (tk.create_popup_menu(kCharsetPopup)) {
        item(tk, MenuId::SetBeginRange, "Set begin range");
        item(tk, MenuId::SetEndRange, "Set end range");
        item(tk, MenuId::CopyRange, "Copy data range to current");
    } else {
        tk.message_box("fontarel", "create menu #2 error!");
    }

    if (tk.create_popup_menu(kMapPopup)) {
        item(tk, MenuId::InsertMapChar, "Insert char");
        item(tk, MenuId::DeleteMapChar, "Delete char");
        tk.menu_separator();
        item(tk, MenuId::InsertMapLine, "Insert line");
        item(tk, MenuId::DeleteMapLine, "Delete line");
        tk.menu_separator();
        item(tk, MenuId::InsertMapColumn, "Insert column");
        item(tk, MenuId::DeleteMapColumn, "Delete column");
    } else {
        tk.message_box("fontarel", "create menu #3 error!");
    }
}

void add_map_window_shortcuts(App& app) {
    // Like those of the main window, they come with the menu bar.
    if (app.tk.menu_exists(kMenuBar)) {
        add_history_shortcuts(app.tk, kMapWindow);
    }
}

} // namespace fontarel
