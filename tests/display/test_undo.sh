#!/bin/bash
# Undo and redo on a real X server: a pixel drawn in the glyph editor appears in the grid, Ctrl+Z
# shows the glyph as it was before, Ctrl+Y and Ctrl+Shift+Z bring the pixel back.
# Usage: test_undo.sh PROGRAM SCRATCH_DIR

source "$(dirname "$0")/lib.sh"

PROGRAM="$1"
start_display "$2/undo"
start_program "$PROGRAM"
MAIN=$(wait_window '^fontarel v2 0\.9e') || fail "the main window did not appear"
read -r OX OY < <(window_origin "$MAIN")
xdotool windowfocus --sync "$MAIN" 2>/dev/null
sleep 0.3

# The grid's drawing surface starts at the first cursor pixel of glyph 0, its pixel (1, 0), in the
# cursor colour; the grid lies below the menu bar, whatever that bar's height.
shot=$(screenshot start)
top=$(convert "$shot" -crop "1x120+$((OX + 3))+$OY" +repage txt:- |
    awk -F'[,:]' '/#00FF7F/ {print $2; exit}')
[ -n "$top" ] || fail "no cursor found at glyph 0"
GX=$((OX + 2)) # the canvas has a 2-pixel border
GY=$((OY + top))
EX=$((OX + 262)) # the glyph editor, level with the grid's canvas
EY=$((GY - 2))

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

xdotool key Escape
wait_exit 10
[ "$EXIT_CODE" = 0 ] || fail "Escape ended the program with code $EXIT_CODE"
echo "PASS"
