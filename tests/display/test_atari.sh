#!/bin/bash
# The Atari in four colours on a real X server: chosen from the Colour menu's end, the glyph
# editor paints glyph 65's row 0 with brushes 2-4 (pair 0 left as 00), the pen's inverse box
# paints a map cell with code bit 7 (its 11 pairs in COLPF3) and, unticked, one without (COLPF2);
# the screenshot shows each register's colour, and undo takes both cells back.
# Usage: test_atari.sh PROGRAM SCRATCH_DIR

source "$(dirname "$0")/lib.sh"

PROGRAM="$1"
start_display "$2/atari"

CHAR=50
COLOUR=135
# The registers' start values as the screenshot gives them: COLBK 0, COLPF0 40, COLPF1 202,
# COLPF2 148, COLPF3 70.
COLBK=0,0,0
COLPF0=199,127,104
COLPF1=135,218,121
COLPF2=26,85,134
COLPF3=162,74,151

open_main "$PROGRAM"
find_grid
xdotool mousemove $((GX + 16 + 8)) $((GY + 64 + 8)) click 1 # glyph 65, blank at start
menu $COLOUR Up                                             # Colour > Atari, the last row
menu $COLOUR Up Up Up                                       # Colour > Text 4 colours
sleep 0.3
# The pen chooser opens on brush 3 (the pair 11), its last swatch: Tab reaches the inverse box.
menu $COLOUR Down Down Down Down Down
wait_window '^Pen colour$' 10 >/dev/null || fail "'Pen colour...' opened no chooser"
xdotool key Tab space shift+Tab space
sleep 0.5
[ -z "$(xdotool search --onlyvisible --name '^Pen colour$')" ] || fail "the chooser stayed open"

for p in 3 2 1; do
    xdotool mousemove $((EX + 32 * p + 8)) $((EY + 8))
    sleep 0.2
    xdotool key $((p + 1))
    sleep 0.2
    xdotool click 1
done
sleep 0.5
shot=$(screenshot glyph)
want=("$COLBK" "$COLPF0" "$COLPF1" "$COLPF3")
for p in 0 1 2 3; do
    [ "$(pixel "$shot" $((EX + 32 * p + 20)) $((EY + 4)))" = "${want[$p]}" ] ||
        fail "editor pair $p is $(pixel "$shot" $((EX + 32 * p + 20)) $((EY + 4))), not ${want[$p]}"
done

menu $CHAR Down Right # Char > Map > ZX 32x24
MAP=$(wait_window '^Character map$' 10) || fail "'ZX 32x24' showed no map window"
read -r MX MY < <(window_origin "$MAP")
xdotool windowfocus --sync "$MAP" 2>/dev/null
xdotool mousemove $((MX + 16 + 8)) $((MY + 16 + 8)) click 1 # cell (1,1), inverse
# The box unticked: the next cell without bit 7. The chooser opens on brush 2 (the pair 01),
# three Tabs before the box.
menu $COLOUR Down Down Down Down Down
wait_window '^Pen colour$' 10 >/dev/null || fail "'Pen colour...' opened no chooser"
xdotool key Tab Tab Tab space shift+Tab space
sleep 0.5
xdotool windowfocus --sync "$MAP" 2>/dev/null
xdotool mousemove $((MX + 48 + 8)) $((MY + 16 + 8)) click 1 # cell (3,1)
xdotool mousemove $((MX + 16 * 8)) $((MY + 16 * 8))
sleep 0.5
shot=$(screenshot map)
plain=("$COLBK" "$COLPF0" "$COLPF1" "$COLPF2")
for p in 0 1 2 3; do
    got=$(pixel "$shot" $((MX + 16 + 4 * p + 2)) $((MY + 16 + 1)))
    [ "$got" = "${want[$p]}" ] || fail "inverse cell pair $p is $got, not ${want[$p]}"
    got=$(pixel "$shot" $((MX + 48 + 4 * p + 2)) $((MY + 16 + 1)))
    [ "$got" = "${plain[$p]}" ] || fail "plain cell pair $p is $got, not ${plain[$p]}"
done

# Two undos take both cells back: they show what the untouched cell (5,1) shows.
xdotool key ctrl+z
sleep 0.3
xdotool key ctrl+z
sleep 0.5
shot=$(screenshot undone)
for x in 1 5 9 13; do
    for cell in 1 3; do
        got=$(pixel "$shot" $((MX + 16 * cell + x)) $((MY + 16 + 1)))
        was=$(pixel "$shot" $((MX + 80 + x)) $((MY + 16 + 1)))
        [ "$got" = "$was" ] || fail "cell ($cell,1) after undo is $got at $x, not $was"
    done
done
echo "PASS"
