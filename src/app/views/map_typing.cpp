#include "app/views/map_typing.h"

#include <algorithm>

#include "app/commands/colour_commands.h"
#include "app/ids.h"
#include "app/views/map_title.h"

namespace fontarel {

namespace {

constexpr int kKeyBackspace = 8;
constexpr int kKeyReturn = 13;

bool is_typing_key(int key) {
    return key == kKeyBackspace || key == kKeyReturn || key == kKeyLeft || key == kKeyRight ||
           key == kKeyUp || key == kKeyDown;
}

// One cell forward in reading order; the last cell of the map is as far as it goes.
void advance(MapTyping& t, const CharMap& map) {
    if (t.cursor.column + 1 < map.cols) {
        ++t.cursor.column;
    } else if (t.cursor.row + 1 < map.rows) {
        t.cursor = {0, t.cursor.row + 1};
    }
}

// One cell back in reading order; the first cell of the map is as far as it goes.
void step_back(MapTyping& t, const CharMap& map) {
    if (t.cursor.column > 0) {
        --t.cursor.column;
    } else if (t.cursor.row > 0) {
        t.cursor = {map.cols - 1, t.cursor.row - 1};
    }
}

void press_key(App& app, int key) {
    MapTyping& t = app.blocks.typing;
    CharMap& map = *app.s.map;
    switch (key) {
    case kKeyBackspace:
        step_back(t, map);
        map.at(t.cursor.column, t.cursor.row) = ' ';
        break;
    case kKeyReturn:
        if (t.cursor.row + 1 < map.rows) {
            t.cursor = {t.line_start, t.cursor.row + 1};
        }
        break;
    case kKeyLeft:
        t.cursor.column = std::max(0, t.cursor.column - 1);
        break;
    case kKeyRight:
        t.cursor.column = std::min(map.cols - 1, t.cursor.column + 1);
        break;
    case kKeyUp:
        t.cursor.row = std::max(0, t.cursor.row - 1);
        break;
    case kKeyDown:
        t.cursor.row = std::min(map.rows - 1, t.cursor.row + 1);
        break;
    default:
        break;
    }
}

void start_typing(App& app, MapCell at) {
    const CharMap& map = *app.s.map;
    if (!map.in_use(at.column, at.row)) {
        const CellRect& sel = app.blocks.selection;
        at = sel.empty() ? MapCell{0, 0} : MapCell{sel.left, sel.top};
    }
    MapTyping& t = app.blocks.typing;
    t.active = true;
    t.cursor = at;
    t.line_start = at.column;
    // The keys go to the map's canvas, also when the row was chosen in the main window.
    app.tk.set_window_hidden(kMapWindow, 0);
    app.tk.focus_control(kMapCanvas);
}

} // namespace

void type_text(App& app) {
    if (app.blocks.typing.active) {
        stop_typing(app);
    } else if (app.views.map_shown) {
        start_typing(app, app.views.map_hover);
    }
}

void toggle_screen_codes(App& app) {
    bool& on = app.blocks.typing.screen_codes;
    on = !on;
    app.tk.set_item_checked(kMenuBar, id(MenuId::TypeScreenCodes), on ? 1 : 0);
}

void stop_typing(App& app) {
    app.blocks.typing.active = false;
}

bool event_ends_typing(const Event& event) {
    switch (event.code) {
    case kEventMenu:
        return event.source != id(MenuId::TypeText); // that row toggles typing itself
    case kEventDrop:
        return true;
    case kEventClose:
        return event.window == kMapWindow;
    case kEventControl:
        // The map canvas's own click ends typing in map_typing_event, which keeps it from painting.
        // Another canvas's press ends it, and so does any use of a button, bar or field, which
        // report only what the user does with them.
        if (event.source == kCharsetCanvas || event.source == kGlyphCanvas)
            return event.kind == kKindLeftDown || event.kind == kKindRightDown;
        return event.source != kMapCanvas;
    default:
        return false;
    }
}

bool map_typing_event(App& app, const Event& event) {
    MapTyping& t = app.blocks.typing;
    const bool plain = (event.modifiers & (kModCtrl | kModAlt)) == 0;
    if (t.ending_click) {
        // The press that left typing is no paint stroke: its drag and its release are its own.
        if (event.kind == kKindLeftUp) {
            t.ending_click = false;
            return true;
        }
        return event.kind == kKindMouseMove && (event.buttons & kButtonLeft) != 0;
    }
    if (!t.active) {
        if (event.kind == kKindChar && plain &&
            (event.character == 't' || event.character == 'T')) {
            start_typing(app, app.views.map_hover);
            return true;
        }
        return false;
    }
    switch (event.kind) {
    case kKindLeftDown:
    case kKindRightDown:
        stop_typing(app);
        t.ending_click = event.kind == kKindLeftDown;
        return true;
    case kKindChar:
        if (plain) {
            if (const auto code =
                    typed_code(static_cast<char32_t>(event.character), t.screen_codes)) {
                // Typed text takes the pen's colours as painting would; the code always.
                paint_cell(app, t.cursor.column, t.cursor.row, *code);
                app.s.map->at(t.cursor.column, t.cursor.row) = *code;
                title_map_cell(app, t.cursor.column, t.cursor.row);
                advance(t, *app.s.map);
            }
        }
        return true;
    case kKindKeyDown:
        if (plain && is_typing_key(event.key))
            press_key(app, event.key);
        return true;
    default:
        return false;
    }
}

} // namespace fontarel
