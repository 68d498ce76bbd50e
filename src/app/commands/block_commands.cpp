#include "app/commands/block_commands.h"

#include <string>
#include <vector>

#include "app/commands/colour_commands.h"
#include "app/ids.h"
#include "app/views/map_title.h"
#include "model/labels.h"

namespace fontarel {

namespace {

void put_on_clipboard(App& app, const MapBlock& block) {
    app.tk.set_clipboard(block_text(block), block_bytes(block));
    app.blocks.clipboard_filled = true;
}

void show_item(App& app, MenuId item, bool enabled) {
    app.tk.set_item_enabled(kMenuBar, id(item), enabled ? 1 : 0);
}

} // namespace

void show_block_state(App& app) {
    MapBlocks& b = app.blocks;
    if (!app.tk.menu_exists(kMenuBar)) {
        return;
    }
    const int32_t selected = b.selection.empty() ? 0 : 1;
    if (selected != b.selection_shown) {
        for (const MenuId item : {MenuId::Cut, MenuId::Copy, MenuId::Clear}) {
            show_item(app, item, selected != 0);
        }
        b.selection_shown = selected;
    }
    const int32_t filled = b.clipboard_filled ? 1 : 0;
    if (filled != b.paste_shown) {
        show_item(app, MenuId::Paste, filled != 0);
        b.paste_shown = filled;
    }
}

void notice_clipboard(App& app) {
    std::string text;
    std::vector<uint8_t> private_form;
    app.blocks.clipboard_filled = app.tk.read_clipboard(text, private_form);
}

std::string selection_title(const CellRect& r) {
    return "Character map " + selection_text(r);
}

std::string selection_text(const CellRect& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
           std::to_string(r.left + r.width - 1) + "," + std::to_string(r.top + r.height - 1) +
           ") " + std::to_string(r.width) + "x" + std::to_string(r.height);
}

void copy_block(App& app) {
    const CellRect rect = app.blocks.selection;
    if (!rect.empty())
        put_on_clipboard(app, copy_block(*app.s.map, rect));
}

void cut_block(App& app) {
    const CellRect rect = app.blocks.selection;
    if (rect.empty())
        return;
    put_on_clipboard(app, copy_block(*app.s.map, rect));
    clear_block(*app.s.map, rect, blank_code(app.store()));
}

void clear_block(App& app) {
    if (!app.blocks.selection.empty())
        clear_block(*app.s.map, app.blocks.selection, blank_code(app.store()));
}

void select_all(App& app) {
    const CharMap& map = *app.s.map;
    app.blocks.selection = cells_between(map, 0, 0, map.cols - 1, map.rows - 1);
}

// The block the clipboard holds: its private form when it has one, else its text.
std::optional<MapBlock> clipboard_block(App& app) {
    std::string text;
    std::vector<uint8_t> private_form;
    if (!app.tk.read_clipboard(text, private_form))
        return std::nullopt;
    std::optional<MapBlock> block = block_from_bytes(private_form);
    return block ? block : block_from_text(text);
}

void copy_glyph(App& app) {
    app.tk.set_clipboard(glyph_data_text(app.store().glyph(app.s.current_char)), {});
    app.blocks.clipboard_filled = true;
}

void paste_glyph(App& app) {
    const std::optional<MapBlock> block = clipboard_block(app);
    if (!block || block->codes.size() != kGlyphRows) {
        app.tk.set_window_title(kMainWindow,
                                app.s.window_title + ": the clipboard holds no 8 glyph bytes");
        app.blocks.glyph_message_shown = true;
        return;
    }
    auto glyph = app.store().glyph(app.s.current_char);
    std::copy(block->codes.begin(), block->codes.end(), glyph.begin());
    if (app.blocks.glyph_message_shown) {
        // The paste worked: the title names the glyph again, as a selection shows it.
        app.tk.set_window_title(kMainWindow, char_title(app.s.window_title, app.s.current_char));
        app.blocks.glyph_message_shown = false;
    }
}

void paste_block(App& app) {
    const std::optional<MapBlock> block = clipboard_block(app);
    if (!block || block->empty()) {
        title_map(app, "Character map: the clipboard holds no block of codes");
        return;
    }
    app.blocks.clipboard_filled = true;
    int left = app.views.map_hover.column, top = app.views.map_hover.row;
    if (left < 0 || top < 0) {
        left = app.blocks.selection.empty() ? 0 : app.blocks.selection.left;
        top = app.blocks.selection.empty() ? 0 : app.blocks.selection.top;
    }
    app.blocks.selection = paste_block(*app.s.map, *block, left, top);
    // The title follows the hovered cell's new code, as a hover shows it.
    const MapCell hover = app.views.map_hover;
    if (hover.column >= 0 && hover.row >= 0)
        title_map_cell(app, hover.column, hover.row);
}

} // namespace fontarel
