#!/bin/bash
# The charset grid and the glyph editor on a real X server: a click on a grid cell selects that
# glyph and retitles the main window, and pixels drawn in the glyph editor appear in the grid at
# that glyph's cell.
# Usage: test_glyph_views.sh PROGRAM SCRATCH_DIR

source "$(dirname "$0")/lib.sh"

PROGRAM="$1"
start_display "$2/glyph_views"
open_main "$PROGRAM"
find_grid

# Glyph 65 is column 1, row 4 of the grid.
xdotool mousemove $((GX + 16 + 8)) $((GY + 64 + 8)) click 1
wait_for 20 title_is "$MAIN" "fontarel v2 0.9e 65(\$41)'A'" ||
    fail "title after the click is '$(xdotool getwindowname "$MAIN")'"

# Glyph pixel (3, 3) of glyph 65 is the 2 x 2 block at grid pixel (16 + 6, 64 + 6); the cursor's
# checkerboard leaves that pixel alone.
shot=$(screenshot before_drawing)
[ "$(pixel "$shot" $((GX + 22)) $((GY + 70)))" = "0,0,0" ] || fail "glyph 65 is not blank at start"

# The glyph editor sits 262 pixels right of the grid's canvas, level with it; glyph pixel (3, 3)
# is its cell at (48, 48). A click sets it; a stroke along row 5 sets pixels 1 to 6 of that row.
# Grid pixels are read where both offsets in the cell are even, which the cursor leaves alone.
xdotool mousemove $((EX + 56)) $((EY + 56)) click 1
xdotool mousemove $((EX + 24)) $((EY + 88)) mousedown 1
for x in 40 56 72 88 104; do
    xdotool mousemove $((EX + x)) $((EY + 88))
    sleep 0.05
done
xdotool mouseup 1
# The stroke's last pixel in the grid: the state every check below needs.
wait_for 20 shows stroke_drawn $((GX + 16 + 12)) $((GY + 64 + 10)) 255,255,255 ||
    fail "the stroke's last pixel never reached the grid"
shot=$(screenshot after_drawing)
[ "$(pixel "$shot" $((GX + 22)) $((GY + 70)))" = "255,255,255" ] ||
    fail "the pixel drawn in the editor is not in the grid"
for x in 1 2 3 4 5 6; do
    [ "$(pixel "$shot" $((GX + 16 + 2 * x)) $((GY + 64 + 10)))" = "255,255,255" ] ||
        fail "pixel $x of the stroke along row 5 is not in the grid"
done
[ "$(pixel "$shot" $((GX + 16 + 14)) $((GY + 64 + 10)))" = "0,0,0" ] ||
    fail "the stroke set a pixel it never crossed"
# The zoomed glyph shows the set pixel (inside its 15 x 15 box, away from the dotted grid).
[ "$(pixel "$shot" $((EX + 55)) $((EY + 55)))" = "255,255,255" ] || fail "the editor does not show the pixel"

escape_exit
[ "$EXIT_CODE" = 0 ] || fail "Escape ended the program with code $EXIT_CODE"
echo "PASS"
