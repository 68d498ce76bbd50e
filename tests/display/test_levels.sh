#!/bin/bash
# Levels on a real X server: a new level of 4 x 4 tiles, a tile drawn with glyphs in the Tiles
# window (Ctrl and the left button), stamped twice in the Level window and read back from a
# screenshot; undo takes the stamps away again.
# Usage: test_levels.sh PROGRAM SCRATCH_DIR

SCREEN_SIZE=1600x1100
source "$(dirname "$0")/lib.sh"

PROGRAM="$1"
start_display "$2/levels"

LEVEL_MENU=195
WHITE=255,255,255
BLACK=0,0,0

open_main "$PROGRAM"
xdotool windowmove "$MAIN" 0 0
sleep 0.3
read -r OX OY < <(window_origin "$MAIN")
find_grid
# Glyph 65, blank at start, inverted: every pixel set.
xdotool mousemove $((GX + 16 + 8)) $((GY + 64 + 8)) click 1
xdotool key ctrl+i

menu $LEVEL_MENU Down Down Down # Level > New level...
ASK=$(wait_window '^New level$' 10) || fail "'New level...' asked nothing"
xdotool windowfocus --sync "$ASK" 2>/dev/null
xdotool key ctrl+a
xdotool type "4x4, 20x10"
xdotool key Return
LEVEL=$(wait_window '^Level' 10) || fail "no Level window"
menu $LEVEL_MENU Down Down # Level > Show tiles
TILES=$(wait_window '^Tiles' 10) || fail "no Tiles window"
menu $LEVEL_MENU Down Down Down Down Down Down Down Down Down # Level > New tile: tile 1, current
xdotool windowmove "$LEVEL" 0 560
xdotool windowmove "$TILES" 700 0
sleep 0.5
read -r LX LY < <(window_origin "$LEVEL")
read -r TX TY < <(window_origin "$TILES")

# Tile 1 is characters 4-7 of the Tiles window's first row: Ctrl-click its cells (0, 0) and (2, 3).
xdotool mousemove $((TX + 64 + 8)) $((TY + 8)) keydown ctrl click 1 keyup ctrl
xdotool mousemove $((TX + 64 + 32 + 8)) $((TY + 48 + 8)) keydown ctrl click 1 keyup ctrl
# A plain click on tile 1 keeps it current.
xdotool mousemove $((TX + 64 + 16 + 8)) $((TY + 8)) click 1
sleep 0.3

# Stamped at tiles (1, 1) and (3, 0) of the level.
xdotool mousemove $((LX + 64 + 24)) $((LY + 64 + 24)) click 1
xdotool mousemove $((LX + 192 + 24)) $((LY + 24)) click 1
xdotool mousemove $((LX + 600)) $((LY + 300))
sleep 0.5
shot=$(screenshot stamped)
# Cell (0, 0) and (2, 3) of each stamp show the inverted glyph, cell (1, 0) stays blank; the tile
# between the stamps is blank.
check() { # X Y COLOUR WHAT
    local got
    got=$(pixel "$shot" "$1" "$2")
    [ "$got" = "$3" ] || fail "$4 is $got, not $3"
}
for stamp in "64 64" "192 0"; do
    read -r sx sy <<<"$stamp"
    check $((LX + sx + 8)) $((LY + sy + 8)) $WHITE "cell (0,0) of the stamp at $stamp"
    check $((LX + sx + 40)) $((LY + sy + 56)) $WHITE "cell (2,3) of the stamp at $stamp"
    check $((LX + sx + 24)) $((LY + sy + 8)) $BLACK "cell (1,0) of the stamp at $stamp"
done
check $((LX + 128 + 8)) $((LY + 64 + 8)) $BLACK "tile (2,1), never stamped"
# The Tiles window shows tile 1 as drawn.
check $((TX + 64 + 8)) $((TY + 8)) $WHITE "tile 1's cell (0,0) in the Tiles window"

# Two undos from the Level window's keyboard: both stamps go, the tile stays drawn.
xdotool windowfocus --sync "$LEVEL" 2>/dev/null
xdotool key ctrl+z ctrl+z
sleep 0.5
shot=$(screenshot undone)
check $((LX + 64 + 8)) $((LY + 64 + 8)) $BLACK "the first stamp after undo"
check $((LX + 192 + 8)) $((LY + 8)) $BLACK "the second stamp after undo"
check $((TX + 64 + 8)) $((TY + 8)) $WHITE "tile 1 after undoing the stamps"
echo "ok"
