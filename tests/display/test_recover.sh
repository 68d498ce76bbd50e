#!/bin/bash
# Recovery after a slip on a real X server: a pixel drawn, then Escape ends the program at once;
# started again, the glyph is blank until "File > Recover last session" brings the pixel back.
# Then two copies: the second, started later, draws a pixel of its own and goes on running; the
# first is killed with kill -9 in the middle of a stroke held down for more than two seconds;
# --recover brings back the first copy's work, the stroke up to two seconds before the kill
# included, and not the running copy's.
# Usage: test_recover.sh PROGRAM SCRATCH_DIR

source "$(dirname "$0")/lib.sh"

PROGRAM="$1"
# Room for two copies side by side.
SCREEN_SIZE=1600x900
start_display "$2/recover"

# Glyph 0's pixel (3, 3), as the grid shows it (the map window a project shows may cover the
# editor).
editor_pixel() { pixel "$(screenshot "$1")" $((GX + 6)) $((GY + 6)); }

open_main "$PROGRAM"
find_grid
xdotool mousemove $((EX + 56)) $((EY + 56)) click 1
sleep 0.5
[ "$(editor_pixel drawn)" = "255,255,255" ] || fail "the click drew no pixel"
escape_exit
[ "$EXIT_CODE" = 0 ] || fail "Escape ended the program with code $EXIT_CODE"
ls "$XDG_STATE_HOME"/fontarel/session-*.recovery >/dev/null 2>&1 || fail "no recovery file was written"

open_main "$PROGRAM"
find_grid
[ "$(editor_pixel restarted)" = "0,0,0" ] || fail "the new run did not start blank"
# File: Open..., Save, Save project, Save project as..., Recover last session.
before=$(visible_windows)
xdotool mousemove $((OX + 15)) $((OY + 9)) click 1
new_window "$before" >/dev/null || fail "the File menu did not open"
xdotool key Down Down Down Down Down Return
sleep 0.5
[ "$(editor_pixel recovered)" = "255,255,255" ] || fail "Recover last session did not bring the pixel back"

xdotool windowfocus --sync "$MAIN" 2>/dev/null
sleep 0.3
escape_exit

# Glyph 0's pixel (X, 3) in the editor, and as the grid shows it.
editor_at() { echo $((EX + 16 * $1 + 8)) $((EY + 56)); }
grid_pixel() { pixel "$1" $((GX + 2 * $2)) $((GY + 6)); }
main_windows() { xdotool search --onlyvisible --name '^fontarel v2 0\.9e' 2>/dev/null; }

rm -rf "$XDG_STATE_HOME"
open_main "$PROGRAM"
FIRST_PID=$PROGRAM_PID
FIRST=$MAIN
find_grid
start_another "$PROGRAM"
for i in $(seq 150); do
    SECOND=$(main_windows | grep -v "^$FIRST\$" | head -n 1)
    [ -n "$SECOND" ] && break
    sleep 0.1
done
[ -n "$SECOND" ] || fail "the second copy's window did not appear"
xdotool windowmove --sync "$FIRST" 0 0 2>/dev/null
xdotool windowmove --sync "$SECOND" 900 0 2>/dev/null
sleep 0.5
xdotool windowfocus --sync "$SECOND" 2>/dev/null
read -r OX OY < <(window_origin "$SECOND")
sleep 0.5
MAIN=$SECOND
find_grid
xdotool mousemove $(editor_at 1) click 1 # the second copy's own pixel, written at once
sleep 0.5
ls "$XDG_STATE_HOME"/fontarel/session-* >/dev/null 2>&1 || fail "the second copy wrote no file"

xdotool windowfocus --sync "$FIRST" 2>/dev/null
read -r OX OY < <(window_origin "$FIRST")
sleep 0.5
MAIN=$FIRST
find_grid
xdotool mousemove $(editor_at 3) mousedown 1
for x in 4 5 6; do
    sleep 0.2
    xdotool mousemove $(editor_at $x)
done
sleep 2.5 # the stroke so far is written within two seconds, the button still held
xdotool mousemove $(editor_at 7)
kill -9 "$FIRST_PID"
sleep 0.5
xdotool mouseup 1

before=$(main_windows | tr '\n' ' ')
start_another "$PROGRAM" --recover
for i in $(seq 150); do
    THIRD=$(main_windows | grep -v -w -F "$(echo $before | tr ' ' '\n')" | head -n 1)
    [ -n "$THIRD" ] && break
    sleep 0.1
done
[ -n "$THIRD" ] || fail "the recovering copy's window did not appear"
xdotool windowmove --sync "$THIRD" 0 0 2>/dev/null
sleep 0.5
xdotool windowfocus --sync "$THIRD" 2>/dev/null
read -r OX OY < <(window_origin "$THIRD")
sleep 1
MAIN=$THIRD
find_grid
shot=$(screenshot recovered-stroke)
for x in 3 4 5 6; do
    [ "$(grid_pixel "$shot" $x)" = "255,255,255" ] ||
        fail "--recover lost pixel ($x, 3) of the stroke drawn more than two seconds before the kill"
done
[ "$(grid_pixel "$shot" 1)" = "0,0,0" ] || fail "--recover loaded the running copy's work"
echo "PASS"
