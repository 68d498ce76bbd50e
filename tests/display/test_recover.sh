#!/bin/bash
# Recovery after a slip on a real X server: a pixel drawn, then Escape ends the program at once;
# started again, the glyph is blank until "File > Recover last session" brings the pixel back.
# Usage: test_recover.sh PROGRAM SCRATCH_DIR

source "$(dirname "$0")/lib.sh"

PROGRAM="$1"
start_display "$2/recover"

# Glyph 0's pixel (3, 3), as the grid shows it (the map window a project shows may cover the
# editor).
editor_pixel() { pixel "$(screenshot "$1")" $((GX + 6)) $((GY + 6)); }

open_main "$PROGRAM"
find_grid
xdotool mousemove $((EX + 56)) $((EY + 56)) click 1
sleep 0.5
[ "$(editor_pixel drawn)" = "255,255,255" ] || fail "the click drew no pixel"
xdotool key Escape
wait_exit 10
[ "$EXIT_CODE" = 0 ] || fail "Escape ended the program with code $EXIT_CODE"
ls "$XDG_STATE_HOME"/fontarel/session-*.fontarel >/dev/null 2>&1 || fail "no recovery file was written"

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
xdotool key Escape
wait_exit 10
echo "PASS"
