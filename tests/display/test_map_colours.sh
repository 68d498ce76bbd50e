#!/bin/bash
# Colour on the map on a real X server: "Colour > C64" draws the map in the C64 palette on its
# blue background, "Pen colour..." picks a palette entry in the chooser by the keyboard, and a
# stroke paints its cells in that colour.
# Usage: test_map_colours.sh PROGRAM SCRATCH_DIR

source "$(dirname "$0")/lib.sh"

PROGRAM="$1"
start_display "$2/map_colours"

CHAR=50
COLOUR=135

open_main "$PROGRAM"
find_grid
menu $CHAR Down Down Right # Char > Charset > IBM PC CGA
sleep 0.3
# Glyph 219, the full block (column 11, row 13 of the grid), is the one a stroke paints; picked
# before the map window opens over the grid.
xdotool mousemove $((GX + 16 * 11 + 8)) $((GY + 16 * 13 + 8)) click 1
menu $CHAR Down Right # Char > Map > ZX 32x24
MAP=$(wait_window '^Character map$' 10) || fail "'ZX 32x24' showed no map window"
[ "$(window_size "$MAP")" = "512x384" ] || fail "map window inner size is $(window_size "$MAP")"
read -r MX MY < <(window_origin "$MAP")

menu $COLOUR Down Down # Colour > C64
sleep 0.5
# Cell (0, 0) holds a space: all background, $d021 blue 352879.
[ "$(pixel "$(screenshot c64)" $((MX + 4)) $((MY + 4)))" = "53,40,121" ] ||
    fail "after 'C64' the space in cell (0,0) is not on the blue background"

# Pen colour: the chooser opens on the current pen (14); Tab moves to 15, light grey 959595.
before=$(visible_windows)
menu $COLOUR Down Down Down Down Down
CHOOSER=$(wait_window '^Pen colour$' 10) || fail "'Pen colour...' opened no chooser"
xdotool key Tab space
sleep 0.5
[ -z "$(xdotool search --onlyvisible --name '^Pen colour$')" ] || fail "the chooser stayed open"

# A stroke over cells (3..6, 3).
xdotool windowfocus --sync "$MAP" 2>/dev/null
xdotool mousemove $((MX + 16 * 3 + 8)) $((MY + 16 * 3 + 8)) mousedown 1
for c in 4 5 6; do
    xdotool mousemove $((MX + 16 * c + 8)) $((MY + 16 * 3 + 8))
done
xdotool mouseup 1
xdotool mousemove $((MX + 16 * 4 + 8)) $((MY + 16 * 5 + 8))
xdotool mousemove $((MX + 16 * 5 + 8)) $((MY + 16 * 3 + 8))
wait_window '^Character map \(5,3\):219\[DB\] ink 15$' 5 >/dev/null ||
    fail "the stroke's cell (5,3) is titled '$(xdotool getwindowname "$MAP")'"
shot=$(screenshot stroke)
for c in 3 4 5 6; do
    [ "$(pixel "$shot" $((MX + 16 * c + 6)) $((MY + 16 * 3 + 6)))" = "149,149,149" ] ||
        fail "cell ($c,3) is not painted in the pen's light grey"
done
[ "$(pixel "$shot" $((MX + 16 * 7 + 6)) $((MY + 16 * 3 + 6)))" != "149,149,149" ] ||
    fail "cell (7,3) beyond the stroke is painted too"
echo "PASS"
