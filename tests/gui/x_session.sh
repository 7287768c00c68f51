# Helpers for the real-window tests, sourced by them. Each test gets its own X server on
# a free display (-displayfd), optionally with the openbox window manager, and looks at the
# program only from outside, as a person would: windows, frames, clicks and the profile.

fail() {
    echo "FAIL: $*" >&2
    if [[ -s stderr.txt ]]; then
        sed 's/^/program: /' stderr.txt >&2
    fi
    exit 1
}

# wait_until SECONDS COMMAND...: polls COMMAND until it succeeds.
wait_until() {
    local tries=$(($1 * 20)) i
    shift
    for ((i = 0; i < tries; ++i)); do
        "$@" && return 0
        sleep 0.05
    done
    return 1
}

wm_running() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"
}

X_PIDS=()
stop_x() {
    local pid
    for pid in "${X_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
}

# start_x SIZE [wm]: a private X server of SIZE (e.g. 1280x1024) for this test; with
# "wm", openbox manages its windows and is waited for.
start_x() {
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp 3>"$fifo" 2>/dev/null &
    X_PIDS+=($!)
    local display
    read -r -t 20 display <"$fifo" || fail "the X server did not start"
    rm -f "$fifo"
    export DISPLAY=":$display"
    if [[ "${2:-}" == wm ]]; then
        openbox --sm-disable >/dev/null 2>&1 &
        X_PIDS+=($!)
        wait_until 20 wm_running ||
            fail "the window manager did not start"
    fi
}

# find_window TITLE: the id of the visible window with exactly this title, or nothing.
find_window() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1
}

# wait_window TITLE: waits (up to a minute: a loaded machine starts slowly) for the window
# and prints its id.
wait_window() {
    local wid="" i
    for ((i = 0; i < 1200; ++i)); do
        wid=$(find_window "$1")
        [[ -n "$wid" ]] && break
        sleep 0.05
    done
    [[ -n "$wid" ]] || fail "no window \"$1\" appeared"
    echo "$wid"
}

is_viewable() {
    xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'
}

# client_rect WID: "x y width height" of the client area in screen coordinates.
client_rect() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
        /^  Width:/ {w = $2} /^  Height:/ {h = $2} END {print x, y, w, h}'
}

# frame_rect WID: "left top right bottom" of the outer frame the window manager drew,
# right and bottom exclusive, as the profile stores it.
frame_rect() {
    local extents x y w h
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ',')
    [[ -n "$extents" ]] || extents="0 0 0 0"
    read -r x y w h < <(client_rect "$1")
    read -r el er et eb <<<"$extents"
    echo "$((x - el)) $((y - et)) $((x + w + er)) $((y + h + eb))"
}

frame_is() {
    [[ "$(frame_rect "$1")" == "$2" ]]
}

# wait_frame_rect WID "l t r b": waits until the frame lies exactly there.
wait_frame_rect() {
    wait_until 30 frame_is "$1" "$2" ||
        fail "window $1 framed at $(frame_rect "$1"), expected $2"
}

# click_client WID X Y: a left click at a point of the client area.
click_client() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
}

# click_close_box WID: clicks the close box at the right end of the frame's title bar.
click_close_box() {
    local left top right bottom el er et eb
    read -r left top right bottom < <(frame_rect "$1")
    read -r el er et eb < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ',')
    xdotool mousemove "$((right - 2 - et / 2))" "$((top + et / 2 - 1))" click 1
}

# profile_value KEY: the value of KEY in quorvel.ini of the working directory.
profile_value() {
    sed -n "s/^$1=//p" quorvel.ini
}
