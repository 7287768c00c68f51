#!/usr/bin/env bash
# Starts the real program under Xvfb in a fresh working directory, waits for its window,
# takes a screenshot, checks a few pixels, closes it with its close button and checks the
# profile it wrote.
set -euo pipefail
exe=$(readlink -f "$1")

# A private X server on a free display (no window manager), so parallel tests never meet.
source "$(dirname "$(readlink -f "$0")")/x_session.sh"
work=$(mktemp -d)
trap 'stop_x; rm -rf "$work"' EXIT
cd "$work"
start_x 1280x1024
export QT_QPA_PLATFORM=xcb

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

"$exe" &
pid=$!
wid=""
for _ in $(seq 600); do
    wid=$(xdotool search --name '^Quorvel Ver\. 3\.1$' 2>/dev/null | head -n 1 || true)
    [[ -n "$wid" ]] && break
    sleep 0.1
done
[[ -n "$wid" ]] || fail "no window appeared"
sleep 1

eval "$(xdotool getwindowgeometry --shell "$wid")"  # X, Y, WIDTH, HEIGHT of the client area
echo "window $wid at $X,$Y size ${WIDTH}x$HEIGHT"
[[ "$X,$Y,$WIDTH,$HEIGHT" == "339,108,444,481" ]] || fail "window not at the default rectangle"
import -window root shot.png

pixel() {  # client x y -> r,g,b
    convert shot.png -format \
        "%[fx:int(255*p{$(($1 + X)),$(($2 + Y))}.r+0.5)],%[fx:int(255*p{$(($1 + X)),$(($2 + Y))}.g+0.5)],%[fx:int(255*p{$(($1 + X)),$(($2 + Y))}.b+0.5)]" \
        info:
}
expect_pixel() {
    local got
    got=$(pixel "$1" "$2")
    [[ "$got" == "$3" ]] || fail "pixel ($1, $2) is $got, expected $3 ($4)"
    echo "ok: ($1, $2) = $got, $4"
}
# 444 x 481 client: view 444 x 439, 17 x 16 cells, scale step 8.
expect_pixel 10 200 130,130,130 "left vessel wall"
expect_pixel 200 350 130,130,130 "vessel floor"
expect_pixel 428 18 240,240,255 "top of the colour scale"
expect_pixel 428 330 6,6,255 "bottom of the colour scale"
expect_pixel 2 2 0,0,0 "background"
expect_pixel 200 200 0,0,0 "empty vessel before the first start"

# The close button spans x 385..439, y 442..479 of the client area.
xdotool mousemove --window "$wid" 410 460 click 1
for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    fail "the close button did not end the program"
fi
wait "$pid" || fail "the program exited with status $?"

[[ -f quorvel.ini ]] || fail "no profile written"
for kv in SaveWindowPos=0 MainWndPosX1=339 MainWndPosY1=108 MainWndPosX2=783 MainWndPosY2=589 \
    HistoryWndPosX1=0 HistoryWndPosY1=0 HistoryWndPosX2=337 HistoryWndPosY2=212; do
    grep -qx "$kv" quorvel.ini || fail "profile lacks $kv: $(cat quorvel.ini)"
done
echo "real window: all checks passed"
