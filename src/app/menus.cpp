// The menu bar, the two popup menus and the shortcuts, built once at start-up. The layouts name
// menu ids only; texts and key combinations come from the command table.

#include "app/menus.h"

#include <span>
#include <string>

#include "app/commands.h"
#include "app/commands/history_commands.h"
#include "app/ids.h"

namespace fontarel {

namespace {

struct MenuEntry {
    enum class Kind { Title, Submenu, SubmenuEnd, Separator, Item, CheckedItem };
    Kind kind;
    const char* text = nullptr; // of a title or a submenu
    MenuId item{};              // of an item
};

constexpr MenuEntry title(const char* text) {
    return {MenuEntry::Kind::Title, text};
}
constexpr MenuEntry submenu(const char* text) {
    return {MenuEntry::Kind::Submenu, text};
}
constexpr MenuEntry end_submenu() {
    return {MenuEntry::Kind::SubmenuEnd};
}
constexpr MenuEntry separator() {
    return {MenuEntry::Kind::Separator};
}
constexpr MenuEntry item(MenuId which) {
    return {MenuEntry::Kind::Item, nullptr, which};
}
// An item whose check mark is on from the start.
constexpr MenuEntry checked(MenuId which) {
    return {MenuEntry::Kind::CheckedItem, nullptr, which};
}

constexpr MenuEntry kMenuBarLayout[] = {
    title("File"),
    item(MenuId::Open),
    submenu("Save"),
    item(MenuId::SaveZx),
    item(MenuId::SaveAtari),
    item(MenuId::SaveIbm),
    separator(),
    item(MenuId::SaveMap),
    item(MenuId::SaveMapColours),
    item(MenuId::SaveImage),
    end_submenu(),
    item(MenuId::SaveProject),
    item(MenuId::SaveProjectAs),
    item(MenuId::RecoverLastSession),
    submenu("Export"),
    item(MenuId::ExportByte),
    item(MenuId::ExportAcme),
    item(MenuId::ExportDefb),
    item(MenuId::ExportC),
    item(MenuId::ExportBasic),
    item(MenuId::ExportPng),
    item(MenuId::ExportPsf),
    item(MenuId::ExportBdf),
    item(MenuId::ExportPrg),
    separator(),
    item(MenuId::ExportMapAssembler),
    item(MenuId::ExportMapC),
    item(MenuId::ExportScr),
    item(MenuId::ExportB800),
    item(MenuId::ExportMapPicture),
    end_submenu(),
    submenu("Import"),
    item(MenuId::ImportFont),
    item(MenuId::ImportCharsetPicture),
    item(MenuId::ImportPrg),
    separator(),
    item(MenuId::ImportScreenNew),
    item(MenuId::ImportScreenCurrent),
    item(MenuId::ImportMapColours),
    separator(),
    item(MenuId::ImportCtm),
    end_submenu(),
    item(MenuId::Quit),

    title("Char"),
    submenu("Map"),
    item(MenuId::MapZx),
    item(MenuId::MapAtari),
    item(MenuId::MapC64),
    item(MenuId::MapPc),
    item(MenuId::MapUssr),
    separator(),
    item(MenuId::FillMap),
    checked(MenuId::GridOnMap), // as AppState::grid_on starts
    end_submenu(),
    submenu("Charset"),
    item(MenuId::CharsetCga),
    item(MenuId::Charset866),
    separator(),
    item(MenuId::CharsetZxSpectrum),
    item(MenuId::CharsetZx80),
    item(MenuId::CharsetJupiterAce),
    separator(),
    item(MenuId::CharsetC64),
    item(MenuId::CharsetAtari),
    item(MenuId::CharsetMicrosha),
    separator(),
    item(MenuId::HexNumbers),
    end_submenu(),
    separator(),
    checked(MenuId::DragSwap),
    item(MenuId::DragCopy),
    separator(),
    item(MenuId::RotateClockwise),
    item(MenuId::RotateAnticlockwise),
    separator(),
    item(MenuId::ColourBit0),
    item(MenuId::ColourBit1),
    separator(),
    item(MenuId::EraseCharset),
    item(MenuId::ClearChar),
    item(MenuId::Invert),
    item(MenuId::MirrorLeftRight),
    item(MenuId::MirrorUpDown),
    separator(),
    item(MenuId::SetBeginRange),
    item(MenuId::SetEndRange),
    item(MenuId::CopyRange),
    separator(),
    item(MenuId::ShiftLeft),
    item(MenuId::ShiftRight),
    item(MenuId::ShiftUp),
    item(MenuId::ShiftDown),
    separator(),
    item(MenuId::GlyphMaterial),
    separator(),
    item(MenuId::CompactCharset),
    item(MenuId::ShowUnusedGlyphs), // a check mark while it is on

    title("Edit"),
    item(MenuId::Undo),
    item(MenuId::Redo),
    separator(),
    item(MenuId::Cut),
    item(MenuId::Copy),
    item(MenuId::Paste),
    item(MenuId::Clear),
    item(MenuId::SelectAll),
    separator(),
    item(MenuId::TypeText),
    item(MenuId::TypeScreenCodes),

    title("Colour"),
    checked(MenuId::MachineMono), // as the map starts
    item(MenuId::MachineC64),
    item(MenuId::MachineZx),
    item(MenuId::MachinePc),
    separator(),
    item(MenuId::PenColour),
    item(MenuId::PaperColour),
    item(MenuId::BackgroundColour),
    separator(),
    checked(MenuId::PaintCodesAndColours),
    item(MenuId::PaintColoursOnly),
    item(MenuId::PaintCodesOnly),
    separator(),
    item(MenuId::Multicolour), // a check mark while it is on
    item(MenuId::MulticolourOne),
    item(MenuId::MulticolourTwo),
    separator(),
    item(MenuId::ExtendedBackground), // a check mark while it is on
    item(MenuId::ExtendedBackgroundOne),
    item(MenuId::ExtendedBackgroundTwo),
    item(MenuId::ExtendedBackgroundThree),
    separator(),
    item(MenuId::MachineAtari),
    item(MenuId::AtariTwoColours), // the mode in use has a check mark on an Atari map
    item(MenuId::AtariFourColours),
    item(MenuId::AtariTall),
    item(MenuId::AtariColours),

    title("Level"),
    item(MenuId::ShowLevel),
    item(MenuId::ShowTiles),
    separator(),
    item(MenuId::NewLevel),
    separator(),
    item(MenuId::LevelInsertColumn),
    item(MenuId::LevelDeleteColumn),
    item(MenuId::LevelInsertRow),
    item(MenuId::LevelDeleteRow),
    separator(),
    item(MenuId::NewTile),
    item(MenuId::DuplicateTile),
    item(MenuId::DeleteUnusedTiles),
    separator(),
    item(MenuId::MakeTilesFromMap),
    item(MenuId::LevelScreenToMap),
    separator(),
    submenu("Export"),
    item(MenuId::ExportTilesByte),
    item(MenuId::ExportTilesAcme),
    item(MenuId::ExportTilesDefb),
    item(MenuId::ExportTilesC),
    item(MenuId::ExportTilesBinary),
    item(MenuId::ExportTilesPrg),
    separator(),
    item(MenuId::ExportLevelByte),
    item(MenuId::ExportLevelAcme),
    item(MenuId::ExportLevelDefb),
    item(MenuId::ExportLevelC),
    item(MenuId::ExportLevelBinary),
    item(MenuId::ExportLevelPrg),
    item(MenuId::ExportLevelPicture),
    separator(),
    item(MenuId::ExportMaterialsByte),
    item(MenuId::ExportMaterialsAcme),
    item(MenuId::ExportMaterialsDefb),
    item(MenuId::ExportMaterialsC),
    item(MenuId::ExportMaterialsBinary),
    item(MenuId::ExportMaterialsPrg),
    separator(),
    item(MenuId::ExportTileTagsByte),
    item(MenuId::ExportTileTagsAcme),
    item(MenuId::ExportTileTagsDefb),
    item(MenuId::ExportTileTagsC),
    item(MenuId::ExportTileTagsBinary),
    item(MenuId::ExportTileTagsPrg),
    separator(),
    item(MenuId::ExportLevelTmx),
    separator(),
    item(MenuId::ExportDecimal), // check marks while they are on
    item(MenuId::ExportSplitWords),
    item(MenuId::ExportColoursOnly),
    item(MenuId::ExportLevelPart),
    end_submenu(),
    separator(),
    item(MenuId::TileLabel),
    item(MenuId::ExpandTiles),
};

constexpr MenuEntry kCharsetPopupLayout[] = {
    item(MenuId::SetBeginRange),
    item(MenuId::SetEndRange),
    item(MenuId::CopyRange),
};

constexpr MenuEntry kMapPopupLayout[] = {
    item(MenuId::InsertMapChar),   item(MenuId::DeleteMapChar),   separator(),
    item(MenuId::InsertMapLine),   item(MenuId::DeleteMapLine),   separator(),
    item(MenuId::InsertMapColumn), item(MenuId::DeleteMapColumn),
};

// The text a menu shows for a combination, "Ctrl+O". Named combinations are letter keys, whose
// key codes are their upper-case characters, and Delete.
std::string combination_text(int combination) {
    if (combination == kKeyDelete)
        return "Delete";
    std::string text;
    if (combination & kComboCtrl)
        text += "Ctrl+";
    if (combination & kComboShift)
        text += "Shift+";
    if (combination & kComboAlt)
        text += "Alt+";
    text += static_cast<char>(combination & kComboKeyMask);
    return text;
}

// The command's menu text, with the shown combination after a tab.
std::string item_text(const CommandRow& row) {
    std::string text = row.text;
    if (row.keys.shown != 0)
        text += "\t" + combination_text(row.keys.shown);
    return text;
}

void add_entries(Toolkit& tk, int menu, std::span<const MenuEntry> entries) {
    using Kind = MenuEntry::Kind;
    for (const MenuEntry& entry : entries) {
        switch (entry.kind) {
        case Kind::Title:
            tk.menu_title(entry.text);
            break;
        case Kind::Submenu:
            tk.open_submenu(entry.text);
            break;
        case Kind::SubmenuEnd:
            tk.close_submenu();
            break;
        case Kind::Separator:
            tk.menu_separator();
            break;
        case Kind::Item:
        case Kind::CheckedItem:
            if (const CommandRow* row = find_command(id(entry.item))) {
                tk.menu_item(id(row->id), item_text(*row));
                if (entry.kind == Kind::CheckedItem)
                    tk.set_item_checked(menu, id(row->id), 1);
            }
            break;
        }
    }
}

// The combinations of every command that the window's keyboard has.
void add_shortcuts(Toolkit& tk, int window) {
    for (const CommandRow& row : command_table()) {
        const ShortcutWindows keys = row.keys.windows;
        if (keys == ShortcutWindows::MapCanvas)
            continue;
        if (keys != ShortcutWindows::Both &&
            (keys == ShortcutWindows::Map) != (window == kMapWindow))
            continue;
        for (const int combination : {row.keys.shown, row.keys.also}) {
            if (combination != 0)
                tk.add_shortcut(window, combination, id(row.id));
        }
    }
}

void build_popup(Toolkit& tk, int menu, std::span<const MenuEntry> layout,
                 const char* failure_text) {
    if (tk.create_popup_menu(menu)) {
        add_entries(tk, menu, layout);
    } else {
        tk.message_box("fontarel", failure_text);
    }
}

} // namespace

void build_menus(App& app) {
    Toolkit& tk = app.tk;
    if (tk.create_menu_bar(kMenuBar, kMainWindow)) {
        add_entries(tk, kMenuBar, kMenuBarLayout);
        show_history_state(app);
        add_shortcuts(tk, kMainWindow);
    } else {
        tk.message_box("fontarel", "create menu error!");
    }
    build_popup(tk, kCharsetPopup, kCharsetPopupLayout, "create menu #2 error!");
    build_popup(tk, kMapPopup, kMapPopupLayout, "create menu #3 error!");
}

void add_map_window_shortcuts(App& app) {
    // Like those of the main window, they come with the menu bar.
    if (app.tk.menu_exists(kMenuBar)) {
        add_shortcuts(app.tk, kMapWindow);
    }
}

} // namespace fontarel
