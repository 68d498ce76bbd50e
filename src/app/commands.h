#pragma once
// The command table and the control table. A menu command is one row: its id, its menu text, its
// key combinations and its function. The menu builder takes texts and shortcuts from the rows, the
// dispatcher takes the functions; which menu shows an id, and where, is the menus' own layout.

#include <span>

#include "app/app.h"
#include "app/ids.h"

namespace fontarel {

using Command = void (*)(App&);

// The command of "Quit": none; choosing it ends the loop.
constexpr Command kEndProgram = nullptr;

// The windows whose keyboard chooses a command by its combinations.
// MapCanvas: the key is named in the menu but read by the map canvas itself, so that it can be an
// unmodified letter and still be typed as one while typing text.
enum class ShortcutWindows { Main, Both, Map, MapCanvas };

// Key combinations (kComboCtrl | key) that choose a command as its menu item does.
struct Shortcut {
    int shown = 0; // named after a tab in the menu text ("Undo\tCtrl+Z"); 0 = no shortcut
    int also = 0;  // one more combination for the same command, not named; 0 = none
    ShortcutWindows windows = ShortcutWindows::Main;
};

struct CommandRow {
    MenuId id;
    const char* text; // the menu text without its shortcut
    Shortcut keys;
    Command run;
};

// Every menu command, each id once.
std::span<const CommandRow> command_table();
// The row of a menu item id; nullptr for an id no command has.
const CommandRow* find_command(int item);

// Runs the command of a menu item id; false when the command ends the program ("Quit"). Any other
// id does nothing.
bool dispatch_menu(App& app, int item);
// Runs the handler of a control event (its source names the control); the text field, the check
// box and the labels have none.
void dispatch_control(App& app, const Event& event);

} // namespace fontarel
