#!/bin/bash
# Undo and redo on a real X server: a pixel drawn in the glyph editor appears in the grid, Ctrl+Z
# shows the glyph as it was before, Ctrl+Y and Ctrl+Shift+Z bring the pixel back.
# Usage: test_undo.sh PROGRAM SCRATCH_DIR

source "$(dirname "$0")/lib.sh"

PROGRAM="$1"
start_display "$2/undo"
open_main "$PROGRAM"
find_grid

# Glyph 0's pixel (3, 3): the 2 x 2 block at grid pixel (6, 6), which the cursor leaves alone, and
# the editor's cell at (48, 48).
grid_pixel() { pixel "$1" $((GX + 6)) $((GY + 6)); }
editor_pixel() { pixel "$1" $((EX + 55)) $((EY + 55)); }
expect() {
    local name="$1" colour="$2" shot
    shot=$(screenshot "$name")
    [ "$(grid_pixel "$shot")" = "$colour" ] || fail "$name: the grid shows $(grid_pixel "$shot")"
    [ "$(editor_pixel "$shot")" = "$colour" ] ||
        fail "$name: the editor shows $(editor_pixel "$shot")"
}

expect blank "0,0,0"
xdotool mousemove $((EX + 56)) $((EY + 56)) click 1
sleep 0.5
expect drawn "255,255,255"
xdotool key ctrl+z
sleep 0.5
expect undone "0,0,0"
xdotool key ctrl+y
sleep 0.5
expect redone "255,255,255"
xdotool key ctrl+z
sleep 0.5
expect undone_again "0,0,0"
xdotool key ctrl+shift+z
sleep 0.5
expect redone_shifted "255,255,255"

escape_exit
[ "$EXIT_CODE" = 0 ] || fail "Escape ended the program with code $EXIT_CODE"
echo "PASS"
