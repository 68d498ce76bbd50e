# Shared helpers of the real-display tests: a private X server, the program under test, windows
# found by title, screenshots. Source it; call start_display first. Everything started here is
# stopped by the EXIT trap.

set -u

DISPLAY_PID=""
PROGRAM_PID=""
EARLIER_PIDS="" # runs that go on beside the current one (start_another)
SCRATCH=""

fail() {
    echo "FAIL: $*" >&2
    if [ -n "$SCRATCH" ] && [ -n "${DISPLAY:-}" ]; then
        import -display "$DISPLAY" -window root "$SCRATCH/failure.png" 2>/dev/null &&
            echo "screenshot: $SCRATCH/failure.png" >&2
    fi
    exit 1
}

# The waits report the killed process's status; "|| true" keeps a caller running with "set -e"
# (scripts/bench) from ending here, before the X server is stopped.
stop_all() {
    local pid
    for pid in $PROGRAM_PID $EARLIER_PIDS; do
        if kill -0 "$pid" 2>/dev/null; then
            kill "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
        fi
    done
    if [ -n "$DISPLAY_PID" ] && kill -0 "$DISPLAY_PID" 2>/dev/null; then
        kill "$DISPLAY_PID" 2>/dev/null || true
        wait "$DISPLAY_PID" 2>/dev/null || true
    fi
}
trap stop_all EXIT

# start_display SCRATCH_DIR: starts Xvfb on the first free display from :90 to :99 and exports
# DISPLAY. The screen is SCREEN_SIZE (default 1024x768) in 24-bit colour. -noreset: by default the server resets when
# its last client disconnects (the readiness probe, or a program run that ended), and a client that
# connects during the reset is refused.
start_display() {
    SCRATCH="$1"
    mkdir -p "$SCRATCH" || fail "cannot create $SCRATCH"
    # The program's recovery files go to a folder of the test's own, empty at its start, never
    # to the user's.
    export XDG_STATE_HOME="$SCRATCH/state"
    rm -rf "$XDG_STATE_HOME"
    local n
    for n in 90 91 92 93 94 95 96 97 98 99; do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 "${SCREEN_SIZE:-1024x768}x24" -nolisten tcp -noreset >"$SCRATCH/xvfb.log" 2>&1 &
        DISPLAY_PID=$!
        local i
        for i in $(seq 50); do
            if [ -e "/tmp/.X11-unix/X$n" ] && xdpyinfo -display ":$n" >/dev/null 2>&1; then
                export DISPLAY=":$n"
                return 0
            fi
            kill -0 "$DISPLAY_PID" 2>/dev/null || break
            sleep 0.1
        done
        # Lost a race for this number; try the next one.
        kill "$DISPLAY_PID" 2>/dev/null
        wait "$DISPLAY_PID" 2>/dev/null
        DISPLAY_PID=""
    done
    fail "no free X display in :90..:99"
}

# start_program BINARY [ARGS...]: runs the program on the display, with its output in the scratch
# folder.
start_program() {
    QT_QPA_PLATFORM=xcb "$@" >"$SCRATCH/program.log" 2>&1 &
    PROGRAM_PID=$!
}

# start_another BINARY [ARGS...]: starts one more run while the current one goes on (the EXIT trap
# stops both); PROGRAM_PID becomes the new run's, its output goes to SCRATCH/program.N.log.
start_another() {
    EARLIER_PIDS="$EARLIER_PIDS $PROGRAM_PID"
    local n
    n=$(($(echo $EARLIER_PIDS | wc -w) + 1))
    QT_QPA_PLATFORM=xcb "$@" >"$SCRATCH/program.$n.log" 2>&1 &
    PROGRAM_PID=$!
}

# wait_window TITLE_REGEX [SECONDS]: prints the id of the first visible window whose title
# matches; returns nonzero after the timeout (default 15 s). Used as id=$(wait_window ...) || fail.
wait_window() {
    local pattern="$1" limit="${2:-15}" id i
    for i in $(seq $((limit * 10))); do
        id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n 1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        kill -0 "$PROGRAM_PID" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# window_size ID: prints "WIDTHxHEIGHT" of the window's inner area.
window_size() {
    xwininfo -id "$1" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}'
}

# window_origin ID: prints "X Y", the absolute screen position of the window's inner area.
window_origin() {
    xwininfo -id "$1" | awk '/Absolute upper-left X:/ {x = $4} /Absolute upper-left Y:/ {y = $4}
        END {print x, y}'
}

# screenshot NAME: saves the whole screen as SCRATCH/NAME.png and prints the path.
screenshot() {
    local path="$SCRATCH/$1.png"
    import -display "$DISPLAY" -window root "$path" || fail "screenshot $1"
    echo "$path"
}

# pixel PNG X Y: prints the colour of one pixel as "R,G,B".
pixel() {
    convert "$1" -format "%[fx:int(255*u.p{$2,$3}.r)],%[fx:int(255*u.p{$2,$3}.g)],%[fx:int(255*u.p{$2,$3}.b)]" info:
}

# wait_for SECONDS COMMAND...: runs COMMAND every 0.2 s until it succeeds; nonzero after the
# timeout. For a state a busy program reaches late (a title, a pixel drawn): wait for the state, not
# for a time.
wait_for() {
    local limit="$1" i
    shift
    for i in $(seq $((limit * 5))); do
        "$@" && return 0
        sleep 0.2
    done
    return 1
}

# title_is WINDOW TEXT: whether the window's title is TEXT.
title_is() {
    [ "$(xdotool getwindowname "$1")" = "$2" ]
}

# shows NAME X Y RGB: whether a new screenshot NAME has the colour RGB ("R,G,B") at (X, Y).
shows() {
    local shot
    shot=$(screenshot "$1") && [ "$(pixel "$shot" "$2" "$3")" = "$4" ]
}

# wait_exit [SECONDS]: waits for the program to end and sets EXIT_CODE to its exit code; fails
# after the timeout (default 10 s). Not for use in a subshell: only this shell can wait for it.
EXIT_CODE=""
wait_exit() {
    local limit="${1:-10}" i
    for i in $(seq $((limit * 10))); do
        if ! kill -0 "$PROGRAM_PID" 2>/dev/null; then
            wait "$PROGRAM_PID"
            EXIT_CODE=$?
            PROGRAM_PID=""
            return 0
        fi
        sleep 0.1
    done
    fail "program still running after ${limit} s"
}

# escape_exit [SECONDS]: holds Escape down until the program has ended, then lets it go, and sets
# EXIT_CODE as wait_exit does. The program ends on the first event that comes while Escape is down;
# a press and release sent at once may both be over before a busy program looks, so the key is
# held until the state the test needs has come (default 30 s at most).
escape_exit() {
    xdotool keydown Escape
    wait_exit "${1:-30}"
    xdotool keyup Escape
}

# new_window BEFORE_IDS [SECONDS]: prints the id of a visible window that is not in the
# space-separated list BEFORE_IDS (a popup menu or a dialog that just opened); returns nonzero
# after the timeout (default 5 s).
new_window() {
    local before=" $1 " limit="${2:-5}" id i
    for i in $(seq $((limit * 10))); do
        for id in $(xdotool search --onlyvisible --name "" 2>/dev/null); do
            case "$before" in
            *" $id "*) ;;
            *)
                echo "$id"
                return 0
                ;;
            esac
        done
        sleep 0.1
    done
    return 1
}

# visible_windows: the ids of all visible windows, space-separated.
visible_windows() {
    xdotool search --onlyvisible --name "" 2>/dev/null | tr '\n' ' '
}

# still_running SECONDS: fails unless the program is still running after that time.
still_running() {
    sleep "$1"
    kill -0 "$PROGRAM_PID" 2>/dev/null || fail "program ended unexpectedly"
}

# open_main PROGRAM [ARGS...]: starts the program, waits for its main window and sets MAIN (its id)
# and OX, OY (the screen position of its inner area), with the window focused.
open_main() {
    start_program "$@"
    MAIN=$(wait_window '^fontarel v2 0\.9e') || fail "the main window did not appear"
    read -r OX OY < <(window_origin "$MAIN")
    xdotool windowfocus --sync "$MAIN" 2>/dev/null
    sleep 0.3
}

# menu X KEYS...: (after open_main) clicks the menu title at X pixels into the main window's menu bar, then
# presses the keys that lead to an item and Return.
menu() {
    local x="$1" before
    shift
    xdotool windowfocus --sync "$MAIN" 2>/dev/null
    before=$(visible_windows)
    xdotool mousemove $((OX + x)) $((OY + 9)) click 1
    new_window "$before" >/dev/null || fail "clicking the menu title at $x opened no menu"
    xdotool key "$@"
    sleep 0.3
    xdotool key Return
}

# find_grid: sets GX, GY, the screen position of the charset grid's drawing surface, and EX, EY,
# that of the glyph editor. The surface starts at the first cursor pixel of glyph 0, its pixel
# (1, 0), in the cursor colour (red 0, green 255, blue 127), below the menu bar whatever its height;
# the canvas has a 2-pixel border, and the glyph editor sits 262 pixels right, level with it.
find_grid() {
    local shot top
    shot=$(screenshot grid)
    top=$(convert "$shot" -crop "1x120+$((OX + 3))+$OY" +repage txt:- |
        awk -F'[,:]' '/#00FF7F/ {print $2; exit}')
    [ -n "$top" ] || fail "no cursor found at glyph 0"
    GX=$((OX + 2))
    GY=$((OY + top))
    EX=$((OX + 262))
    EY=$((GY - 2))
}
