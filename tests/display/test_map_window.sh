#!/bin/bash
# The map window on a real X server: "Char > Map > ZX 32x24" shows it at 512 x 384, hovering its
# top-left cell retitles it at the first move, and a built-in charset is drawn on it; both
# windows carry the program's icon.
# Usage: test_map_window.sh PROGRAM SCRATCH_DIR

source "$(dirname "$0")/lib.sh"

PROGRAM="$1"
start_display "$2/map_window"

open_main "$PROGRAM"

# "Char" is the second menu title; "Map" its first item, "ZX 32x24" the first item of that.
before=$(visible_windows)
xdotool mousemove $((OX + 50)) $((OY + 9)) click 1
new_window "$before" >/dev/null || fail "clicking 'Char' opened no menu"
xdotool key Down Right
sleep 0.3
xdotool key Return
MAP=$(wait_window '^Character map$' 10) || fail "'ZX 32x24' showed no map window"
[ "$(window_size "$MAP")" = "512x384" ] || fail "map window inner size is $(window_size "$MAP")"

# Both windows carry the program's icon.
for w in "$MAIN" "$MAP"; do
    xprop -id "$w" _NET_WM_ICON | grep -q '_NET_WM_ICON(CARDINAL) = ' ||
        fail "window $w has no icon: $(xprop -id "$w" _NET_WM_ICON)"
done

# The one move that enters the canvas, into the top-left cell, already hovers it.
read -r MX MY < <(window_origin "$MAP")
xdotool mousemove $((MX + 5)) $((MY + 4))
wait_window '^Character map \(0,0\):32\[20\]$' 5 >/dev/null ||
    fail "hovering the top-left cell gave the title '$(xdotool getwindowname "$MAP")'"

# "IBM PC CGA" (Char > Charset, first item) draws its glyphs on the map: cell (1, 0) holds code
# 33, '!', whose stem lights the pixel at glyph column 3, row 1.
xdotool windowfocus --sync "$MAIN" 2>/dev/null
before=$(visible_windows)
xdotool mousemove $((OX + 50)) $((OY + 9)) click 1
new_window "$before" >/dev/null || fail "clicking 'Char' opened no menu"
xdotool key Down Down Right
sleep 0.3
xdotool key Return
sleep 0.5
shot=$(screenshot map_cga)
[ "$(pixel "$shot" $((MX + 16 + 2 * 3)) $((MY + 2 * 1)))" = "255,255,255" ] ||
    fail "the map does not show '!' of the built-in charset"
[ "$(pixel "$shot" $((MX + 16 + 2 * 7)) $((MY + 2 * 1 + 1)))" = "0,0,0" ] ||
    fail "the map shows a lit pixel beside '!'"

# T over the map starts typing at the hovered cell (2, 3); the letters land there and onwards,
# T included, and Return goes under where typing began.
xdotool windowfocus --sync "$MAP" 2>/dev/null
xdotool mousemove $((MX + 16 * 2 + 5)) $((MY + 16 * 3 + 4))
wait_window '^Character map \(2,3\):34\[22\]$' 5 >/dev/null || fail "no hover title at (2,3)"
xdotool key t
xdotool type "Tx"
xdotool key Return
xdotool type "y"
wait_window '^Character map \(2,4\):121\[79\]$' 5 >/dev/null ||
    fail "the title does not show the typed cell: '$(xdotool getwindowname "$MAP")'"
for cell in "3 3 120 78" "2 3 84 54"; do
    read -r c r code hex <<<"$cell"
    xdotool mousemove $((MX + 16 * c + 5)) $((MY + 16 * r + 4))
    wait_window "^Character map \\($c,$r\\):$code\\[$hex\\]\$" 5 >/dev/null ||
        fail "cell ($c,$r) after typing: title '$(xdotool getwindowname "$MAP")'"
done
echo "PASS"
