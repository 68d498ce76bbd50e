#!/bin/bash
# The program on a real X server: the main window's title, inner size and menu bar; File > Quit
# and Escape end it with code 0; Ctrl+I reaches the program; an Escape that closes a menu or the
# colour chooser does not end it.
# Usage: test_main_window.sh PROGRAM SCRATCH_DIR

source "$(dirname "$0")/lib.sh"

PROGRAM="$1"
start_display "$2/main_window"

# Opens the menu whose title lies X pixels right of the window's left edge; prints the popup id.
open_menu() {
    local x="$1" before
    before=$(visible_windows)
    xdotool mousemove $((OX + x)) $((OY + 9)) click 1
    new_window "$before"
}

# --- Title, size, the File menu, Quit by mouse.
open_main "$PROGRAM"
[ "$(xdotool getwindowname "$MAIN")" = "fontarel v2 0.9e" ] || fail "title is '$(xdotool getwindowname "$MAIN")'"
[ "$(window_size "$MAIN")" = "640x480" ] || fail "inner size is $(window_size "$MAIN")"

popup=$(open_menu 20) || fail "clicking 'File' opened no menu"
read -r px py < <(window_origin "$popup")
size=$(window_size "$popup")
ph=${size#*x}
[ "$py" -gt "$OY" ] || fail "the File menu is not below the menu bar"
screenshot file_menu >/dev/null
# Quit is the last item of File.
xdotool mousemove $((px + 40)) $((py + ph - 11)) click 1
wait_exit 10
[ "$EXIT_CODE" = 0 ] || fail "File > Quit ended with code $EXIT_CODE"

# --- Ctrl+I inverts the current glyph: the zoomed glyph turns from black to white.
open_main "$PROGRAM"
shot=$(screenshot before_invert)
[ "$(pixel "$shot" $((OX + 270)) $((OY + 60)))" = "0,0,0" ] || fail "glyph editor not black at start"
xdotool key ctrl+i
sleep 0.5
shot=$(screenshot after_invert)
[ "$(pixel "$shot" $((OX + 270)) $((OY + 60)))" = "255,255,255" ] || fail "Ctrl+I did not invert the glyph"

# --- Escape that closes the Char menu is the menu's.
popup=$(open_menu 50) || fail "clicking 'Char' opened no menu"
xdotool key Escape
still_running 1
xdotool search --onlyvisible --name "" | grep -qx "$popup" && fail "Escape left the menu open"

# --- Escape that cancels the colour chooser is the chooser's. "Color for bit=0..." is the
# seventh item of Char, counting submenus and skipping separators.
xdotool windowfocus --sync "$MAIN" 2>/dev/null
popup=$(open_menu 50) || fail "clicking 'Char' opened no menu"
before=$(visible_windows)
xdotool key Down Down Down Down Down Down Down Return
dialog=$(new_window "$before" 10) || fail "'Color for bit=0...' opened no colour chooser"
screenshot colour_chooser >/dev/null
xdotool windowfocus --sync "$dialog" 2>/dev/null
xdotool key Escape
still_running 1
xdotool search --onlyvisible --name "" | grep -qx "$dialog" && fail "Escape left the chooser open"

# --- Escape in the main window ends the program at once.
xdotool windowfocus --sync "$MAIN" 2>/dev/null
escape_exit
[ "$EXIT_CODE" = 0 ] || fail "Escape ended the program with code $EXIT_CODE"
echo "PASS"
