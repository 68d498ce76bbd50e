#!/bin/bash
# C64 multicolour on a real X server: with "Multicolour" on and a pen that paints multicolour
# cells, the glyph editor, the charset grid and the map show the current glyph as 4 x 8
# double-wide pixels in the background, the two registers and the pen's colour, and keys 1-4 over
# the editor choose the bit pair a press paints (brush 3 is the pair 10, multicolour 2).
# Usage: test_multicolour.sh PROGRAM SCRATCH_DIR

source "$(dirname "$0")/lib.sh"

PROGRAM="$1"
start_display "$2/multicolour"

CHAR=50
COLOUR=135
# The C64 colours as the screenshot gives them: the blue background, multicolour 1 and 2 as they
# start (white, red), and the pen chosen below (green).
BACKGROUND=53,40,121
MC1=255,255,255
MC2=104,55,43
PEN=88,141,67

open_main "$PROGRAM"
find_grid
# The brush canvas beside the glyph editor is hidden outside multicolour: its place shows the
# window as the space right of it does.
[ "$(pixel "$SCRATCH/grid.png" $((EX + 148)) $((EY + 16)))" = \
    "$(pixel "$SCRATCH/grid.png" $((EX + 200)) $((EY + 16)))" ] || fail "the brush canvas shows in hi-res"
xdotool mousemove $((GX + 16 + 8)) $((GY + 64 + 8)) click 1 # glyph 65, blank at start
menu $COLOUR Down Down                                      # Colour > C64
menu $COLOUR Up Up Up Up Up Up Up Up # Colour > Multicolour, above the extended background and Atari rows
sleep 0.3
# The pen chooser opens on its current colour (6); Tab Tab reaches "Multicolour cell", and three
# steps back lead to swatch 5, green.
menu $COLOUR Down Down Down Down Down
wait_window '^Pen colour$' 10 >/dev/null || fail "'Pen colour...' opened no chooser"
xdotool key Tab Tab space shift+Tab shift+Tab shift+Tab space
sleep 0.5
[ -z "$(xdotool search --onlyvisible --name '^Pen colour$')" ] || fail "the chooser stayed open"

# Row 0 of glyph 65: pair 0 left as 00, pairs 3-1 painted with brushes 4-2 (11, 10, 01).
for p in 3 2 1; do
    xdotool mousemove $((EX + 32 * p + 8)) $((EY + 8))
    sleep 0.2
    xdotool key $((p + 1))
    sleep 0.2
    xdotool click 1
done
sleep 0.5
shot=$(screenshot glyph)
want=("$BACKGROUND" "$MC1" "$MC2" "$PEN")
for p in 0 1 2 3; do
    # The editor: each pair a 31-pixel-wide box; (32p + 20, 8) lies in it, away from the pointer.
    [ "$(pixel "$shot" $((EX + 32 * p + 20)) $((EY + 4)))" = "${want[$p]}" ] ||
        fail "editor pair $p is $(pixel "$shot" $((EX + 32 * p + 20)) $((EY + 4))), not ${want[$p]}"
    # The grid: glyph 65's cell, row 0, 4 pixels a pair; (4p + 2, 0) is no cursor pixel.
    [ "$(pixel "$shot" $((GX + 16 + 4 * p + 2)) $((GY + 64)))" = "${want[$p]}" ] ||
        fail "grid pair $p is $(pixel "$shot" $((GX + 16 + 4 * p + 2)) $((GY + 64))), not ${want[$p]}"
done
# The brush canvas beside the editor: the four swatches in the pairs' colours, the last brush
# chosen (2, the pair 01) framed in red from its first column on.
for p in 0 1 2 3; do
    [ "$(pixel "$shot" $((EX + 132 + 16)) $((EY + 32 * p + 16)))" = "${want[$p]}" ] ||
        fail "brush swatch $p is $(pixel "$shot" $((EX + 132 + 16)) $((EY + 32 * p + 16)))"
done
[ "$(pixel "$shot" $((EX + 132)) $((EY + 32 + 16)))" = "255,0,0" ] ||
    fail "the brush's swatch is not framed in red"
# Both halves of a double-wide pixel: the editor's pair 2 at its left and right glyph pixels.
[ "$(pixel "$shot" $((EX + 64 + 4)) $((EY + 4)))" = "$MC2" ] &&
    [ "$(pixel "$shot" $((EX + 64 + 26)) $((EY + 4)))" = "$MC2" ] ||
    fail "brush 3 did not paint one double-wide pixel of the pair 10"

# The map: a press paints glyph 65 as a multicolour cell in green.
menu $CHAR Down Right # Char > Map > ZX 32x24
MAP=$(wait_window '^Character map$' 10) || fail "'ZX 32x24' showed no map window"
read -r MX MY < <(window_origin "$MAP")
xdotool windowfocus --sync "$MAP" 2>/dev/null
xdotool mousemove $((MX + 16 + 8)) $((MY + 16 + 8)) click 1
xdotool mousemove $((MX + 16 * 8)) $((MY + 16 * 8))
sleep 0.5
shot=$(screenshot map)
for p in 0 1 2 3; do
    [ "$(pixel "$shot" $((MX + 16 + 4 * p + 2)) $((MY + 16 + 1)))" = "${want[$p]}" ] ||
        fail "map pair $p is $(pixel "$shot" $((MX + 16 + 4 * p + 2)) $((MY + 16 + 1))), not ${want[$p]}"
done
echo "PASS"
