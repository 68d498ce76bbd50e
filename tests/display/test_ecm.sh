#!/bin/bash
# The C64's extended background colour mode on a real X server: a project with the mode on shows
# each cell's glyph code & 63 on background register code >> 6, in the map window and in the
# Level window, and "Extended background colour" turned off shows each code's own glyph again.
# Usage: test_ecm.sh PROGRAM SCRATCH_DIR

SCREEN_SIZE=1600x1100
source "$(dirname "$0")/lib.sh"

PROGRAM="$1"
start_display "$2/ecm"

COLOUR=135
LEVEL_MENU=195
# The C64 colours as the screenshot gives them.
BLUE=53,40,121    # 6, the background
WHITE=255,255,255 # 1, the cells' colour
RED=104,55,43     # 2, background 1
YELLOW=184,199,111 # 7, background 3

# Glyph 1 is set on its left half; glyphs $41 and $C1, which the cells hold, are blank: a cell
# that showed its code's own glyph would show no set pixel. Every map row: $41 (glyph 1 on
# background 1), $C1 (glyph 1 on background 3), then code 0. One 1 x 1 tile of code $C1 fills
# the level.
join() { local IFS=,; echo "$*"; }
glyphs=()
for g in $(seq 0 255); do
    [ "$g" = 1 ] && glyphs+=('"F0F0F0F0F0F0F0F0"') || glyphs+=('"0000000000000000"')
done
zeros=$(printf '00%.0s' $(seq 1 38))
codes=() attrs=() level=()
for r in $(seq 1 25); do
    codes+=("\"41C1$zeros\"")
    attrs+=("\"$(printf '01%.0s' $(seq 1 40))\"")
done
for r in $(seq 1 16); do level+=("\"$(printf '0000%.0s' $(seq 1 16))\""); done
PROJECT="$SCRATCH/ecm.fontarel"
cat >"$PROJECT" <<JSON
{"format": "fontarel-project", "version": 1, "machine": "C64", "background": 6,
 "multicolour": {"on": false, "colour_1": 1, "colour_2": 2},
 "ecm": {"on": true, "background_1": 2, "background_2": 5, "background_3": 7},
 "colours": {"bit0": "#000000", "bit1": "#ffffff"},
 "glyphs": [$(join "${glyphs[@]}")],
 "map": {"columns": 40, "rows": 25, "codes": [$(join "${codes[@]}")],
         "attributes": [$(join "${attrs[@]}")]},
 "tiles": {"width": 1, "height": 1, "codes": ["C1"], "attributes": ["01"]},
 "level": {"columns": 16, "rows": 16, "tiles": [$(join "${level[@]}")]}}
JSON

open_main "$PROGRAM" "$PROJECT"
xdotool windowmove "$MAIN" 0 0
sleep 0.3
read -r OX OY < <(window_origin "$MAIN")
MAP=$(wait_window '^Character map' 10) || fail "no map window"
xdotool windowmove "$MAP" 700 0
menu $LEVEL_MENU Down # Level > Show level
LEVEL=$(wait_window '^Level' 10) || fail "no Level window"
xdotool windowmove "$LEVEL" 0 560
sleep 0.5
read -r MX MY < <(window_origin "$MAP")
read -r LX LY < <(window_origin "$LEVEL")

shot=$(screenshot ecm)
check() { # X Y COLOUR WHAT
    local got
    got=$(pixel "$shot" "$1" "$2")
    [ "$got" = "$3" ] || fail "$4 is $got, not $3"
}
# A cell is 16 x 16 pixels; (4, 4) lies in glyph 1's set half, (12, 4) in its clear half.
check $((MX + 4)) $((MY + 4)) $WHITE "map cell (0,0)'s set pixel"
check $((MX + 12)) $((MY + 4)) $RED "map cell (0,0), code \$41: background 1"
check $((MX + 16 + 12)) $((MY + 4)) $YELLOW "map cell (1,0), code \$C1: background 3"
check $((MX + 32 + 12)) $((MY + 4)) $BLUE "map cell (2,0), code 0: the background"
check $((LX + 4)) $((LY + 4)) $WHITE "level cell (0,0)'s set pixel"
check $((LX + 12)) $((LY + 4)) $YELLOW "level cell (0,0), tile 0 of code \$C1: background 3"

# The mode off: code $41 shows its own blank glyph on the background.
menu $COLOUR Up Up Up Up Up # Colour > Extended background colour, above the Atari row
sleep 0.5
shot=$(screenshot off)
check $((MX + 4)) $((MY + 4)) $BLUE "map cell (0,0) with the mode off"
check $((LX + 12)) $((LY + 4)) $BLUE "level cell (0,0) with the mode off"
echo "ok"
