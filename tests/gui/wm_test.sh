#!/usr/bin/env bash
# The real program under a real window manager (openbox) on a private X server, driven
# from outside as a person would: frames, close boxes, placement and restarts.
# Usage: wm_test.sh EXECUTABLE SCENARIO
#   close_box    the history window's close box hides it while the main window runs
#   cycles       20 starts and closes with the state saved keep both rectangles exactly
#   bad_profile  absurd stored rectangles are healed on a small screen and written back
#   scale2       at a scale factor of 2 the default main window stays on the screen
#   signals      SIGTERM, SIGINT and SIGHUP close the program as its Close command does
#   file_size    under a file size limit the profile's failed rewrite does not end it
#   run_file     a run file named on the command line (as a file manager starts the program,
#                by a relative name, from the menu): a good one opens without a word, a bad
#                one is reported in a message box
#   escape       Escape, after a context menu or alone, leaves a run going in the main window
set -euo pipefail
exe=$(readlink -f "$1")
scenario=$2
source "$(dirname "$(readlink -f "$0")")/x_session.sh"

work=$(mktemp -d)
trap 'stop_x; rm -rf "$work"' EXIT
cd "$work"
export QT_QPA_PLATFORM=xcb

TITLE='Quorvel Ver\. 3\.1'
HISTORY='履歴ウインドウ'
pid=""
main=""

start_program() {  # [COMMAND...] to start it through, such as env
    "$@" "$exe" 2>>stderr.txt &
    pid=$!
    main=$(wait_window "$TITLE")
}
running() { kill -0 "$pid" 2>/dev/null; }
exited() { ! running; }
hidden() { ! is_viewable "$1"; }

# The buttons share the bottom row of the client area: 履歴 at the left, 閉じる (12 % of the
# width) at the right. Clicked at their middles, so that any scale factor finds them.
button_row_y() {
    echo $(($1 - $1 * 375 / 10000 - 4))
}
press_history() {
    local w h
    read -r _ _ w h < <(client_rect "$main")
    click_client "$main" $((w * 5 / 100 + 10)) "$(button_row_y "$h")"
}
press_close() {
    local w h
    read -r _ _ w h < <(client_rect "$main")
    click_client "$main" $((w - w * 6 / 100 - 10)) "$(button_row_y "$h")"
    wait_until 60 exited || { kill "$pid"; fail "the close button did not end the program"; }
    wait "$pid" || fail "the program exited with status $?: $(cat stderr.txt)"
}

press_start() {  # 開始, the second button from the right
    local w h
    read -r _ _ w h < <(client_rect "$main")
    click_client "$main" $((w * 795 / 1000 - 5)) "$(button_row_y "$h")"
}
# The client area's pixels, as a checksum.
client_pixels() {
    { xwd -silent -id "$main" 2>/dev/null || true; } | md5sum
}

write_profile() {  # SAVE main-l t r b history-l t r b
    printf '[Option]\nSaveWindowPos=%s\n[Size]\n' "$1" >quorvel.ini
    printf 'MainWndPosX1=%s\nMainWndPosY1=%s\nMainWndPosX2=%s\nMainWndPosY2=%s\n' \
        "$2" "$3" "$4" "$5" >>quorvel.ini
    printf 'HistoryWndPosX1=%s\nHistoryWndPosY1=%s\nHistoryWndPosX2=%s\nHistoryWndPosY2=%s\n' \
        "$6" "$7" "$8" "$9" >>quorvel.ini
}
stored_rect() {  # Main | History
    echo "$(profile_value "${1}WndPosX1") $(profile_value "${1}WndPosY1")" \
        "$(profile_value "${1}WndPosX2") $(profile_value "${1}WndPosY2")"
}
expect_stored() {  # Main | History, "l t r b"
    [[ "$(stored_rect "$1")" == "$2" ]] || fail "stored $1 rectangle $(stored_rect "$1"), expected $2"
}

case "$scenario" in
close_box)
    start_x 1280x1024 wm
    start_program
    wait_frame_rect "$main" "339 108 783 589"
    press_history
    hist=$(wait_window "$HISTORY")
    wait_frame_rect "$hist" "0 0 337 212"
    click_close_box "$hist"
    wait_until 30 hidden "$hist" || fail "the history window's close box did not hide it"
    running || fail "closing the history window ended the program"
    # Closed through its frame, the native window may be made anew when shown again.
    press_history
    hist=$(wait_window "$HISTORY")
    wait_frame_rect "$hist" "0 0 337 212"
    press_close
    ;;
cycles)
    start_x 1280x1024 wm
    mainRect="250 150 720 650"
    historyRect="700 80 1100 380"
    write_profile 1 $mainRect $historyRect
    for cycle in $(seq 20); do
        start_program
        wait_frame_rect "$main" "$mainRect"
        # Shown in every other cycle, and then also hidden again before closing.
        if ((cycle % 2 == 1)); then
            press_history
            hist=$(wait_window "$HISTORY")
            wait_frame_rect "$hist" "$historyRect"
            if ((cycle % 4 == 1)); then
                press_history
                wait_until 30 hidden "$hist" || fail "履歴 did not hide the history window"
            fi
        fi
        press_close
        expect_stored Main "$mainRect"
        expect_stored History "$historyRect"
        [[ "$(profile_value SaveWindowPos)" == 1 ]] || fail "the option was not kept"
    done
    ;;
bad_profile)
    # Extreme main rectangle; a history rectangle that overlaps the screen's corner only.
    start_x 1024x768 wm
    write_profile 0 -2147483648 100 2147483647 100000 1000 700 1300 900
    start_program
    wait_frame_rect "$main" "0 0 1024 768"
    press_history
    hist=$(wait_window "$HISTORY")
    wait_frame_rect "$hist" "724 568 1024 768"
    press_history  # it covers the close button
    wait_until 30 hidden "$hist" || fail "履歴 did not hide the history window"
    press_close
    expect_stored Main "0 0 1024 768"
    expect_stored History "724 568 1024 768"
    ;;
scale2)
    start_x 1280x1024 wm
    export QT_SCALE_FACTOR=2
    start_program
    on_screen() {
        local l t r b
        read -r l t r b < <(frame_rect "$main")
        ((l >= 0 && t >= 0 && r <= 1280 && b <= 1024))
    }
    wait_until 30 on_screen || fail "the default main window runs off the screen: $(frame_rect "$main")"
    press_close
    # The default, healed to the 640 x 512 screen of scaled pixels.
    expect_stored Main "196 31 640 512"
    ;;
signals)
    start_x 1280x1024 wm
    for signal in TERM INT HUP; do
        write_profile 1 250 150 720 650 700 80 1100 380
        # A background job of a script starts with SIGINT ignored: started as from a terminal.
        start_program env --default-signal=INT
        wait_frame_rect "$main" "250 150 720 650"
        # Moved, so that the rectangle written back is the one captured at the close.
        xdotool windowmove "$main" 200 100
        moved() { ! frame_is "$main" "250 150 720 650"; }
        wait_until 30 moved || fail "the window did not move"
        sleep 0.5
        moved=$(frame_rect "$main")
        kill -s "$signal" "$pid"
        wait_until 60 exited || { kill -KILL "$pid"; fail "SIG$signal did not close the program"; }
        wait "$pid" || fail "SIG$signal ended the program with status $?"
        expect_stored Main "$moved"
        expect_stored History "700 80 1100 380"
    done
    ;;
file_size)
    start_x 1280x1024 wm
    # A profile over the limit but within the size the program reads: rewriting it fails.
    write_profile 0 250 150 720 650 700 80 1100 380
    printf '[Notes]\nText=%s\n' "$(head -c 200000 /dev/zero | tr '\0' x)" >>quorvel.ini
    cp quorvel.ini before.ini
    (ulimit -f 64 && exec "$exe" 2>>stderr.txt) &
    pid=$!
    main=$(wait_window "$TITLE")
    press_close
    cmp -s quorvel.ini before.ini || fail "the profile changed"
    [[ "$(ls -A)" == "$(printf 'before.ini\nquorvel.ini\nstderr.txt')" ]] ||
        fail "files left behind: $(ls -A)"
    ;;
run_file)
    start_x 1280x1024 wm
    shown() { xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null | wc -l; }
    with_message() { [[ $(shown) == 2 ]]; }
    mkdir files
    "$(dirname "$exe")/../batch/quorvel-batch" --seed 5 --ticks 3000 --no-progress \
        --run-out files/good.quorvel >/dev/null
    printf 'quorvel-run 1\ncolumns 99\n' >files/bad.quorvel
    export XDG_CONFIG_HOME="$work/config"
    (cd files && exec "$exe" --from-menu bad.quorvel 2>>../stderr.txt) &
    pid=$!
    wait_until 60 with_message || fail "no message about the bad run file"
    kill -TERM "$pid"
    wait "$pid" || fail "the program ended with status $? after the message"
    (cd files && exec "$exe" --from-menu good.quorvel 2>>../stderr.txt) &
    pid=$!
    main=$(wait_window "$TITLE")
    sleep 2
    [[ $(shown) == 1 ]] || fail "a message came up for a good run file"
    press_close
    ;;
escape)
    start_x 1280x1024 wm
    start_program
    press_start  # asks for the settings first: OK, the default button, takes them
    settings=$(wait_window 'シミュレーション設定')
    # A window manager under load may refuse the first activation.
    accept_settings() { xdotool windowactivate --sync "$settings" key Return 2>/dev/null; }
    wait_until 30 accept_settings || fail "the settings dialog could not be activated"
    wait_until 30 hidden "$settings" || fail "the settings dialog did not close"
    first=$(client_pixels)
    changed() { [[ "$(client_pixels)" != "$first" ]]; }
    wait_until 30 changed || fail "the run did not start"
    # A context menu closed by Escape, then stray presses of the key.
    read -r _ _ w h < <(client_rect "$main")
    xdotool mousemove --window "$main" $((w / 2)) $((h / 3)) click 3
    sleep 0.5
    xdotool key Escape
    sleep 0.3
    xdotool key Escape key Escape
    sleep 0.5
    running || fail "Escape ended the program"
    is_viewable "$main" || fail "Escape hid the main window"
    first=$(client_pixels)
    wait_until 30 changed || fail "the run stopped after Escape"
    press_close
    ;;
*)
    fail "unknown scenario $scenario"
    ;;
esac
echo "wm $scenario: all checks passed"
