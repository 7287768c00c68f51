#!/usr/bin/env bash
# Installs the build under /usr in a temporary DESTDIR and checks what the installation holds:
# exactly the expected files, a valid desktop entry and AppStream metadata, every icon at its
# size, manual pages that render without warnings and name every option of --help, a runner
# that runs, and (under Xvfb) a window whose class and icon match the desktop entry.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(readlink -f "$1")
source=$(readlink -f "$2")
here=$(dirname "$(readlink -f "$0")")

# A private X server on a free display, so parallel tests never meet.
source "$here/../gui/x_session.sh"
dest=$(mktemp -d)
pid=""
cleanup() {
    [[ -n "$pid" ]] && kill "$pid" 2>/dev/null
    stop_x
    rm -rf "$dest"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
start_x 1280x1024

DESTDIR="$dest" cmake --install "$build" --prefix /usr >/dev/null
installed=$(cd "$dest" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort)
diff -u "$here/expected_files.txt" - <<<"$installed" || fail "installed files differ"
echo "ok: exactly the $(wc -l <<<"$installed") expected files"

id=org.example.Quorvel
share="$dest/usr/share"
desktop="$share/applications/$id.desktop"
desktop-file-validate "$desktop" || fail "desktop entry invalid"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" || fail "metainfo invalid"

for size in 16 22 24 32 48 64 128 256; do
    got=$(identify -format '%m %wx%h' "$share/icons/hicolor/${size}x$size/apps/$id.png")
    [[ "$got" == "PNG ${size}x$size" ]] || fail "icon of size $size is $got"
done
# The drawing must keep the look of the built-in window icon it was traced from.
rmse=$(compare -metric RMSE "$share/icons/hicolor/32x32/apps/$id.png" "$source/res/quorvel-32.png" \
    null: 2>&1 | sed -n 's/.*(\(.*\))/\1/p' || true)
awk -v e="$rmse" 'BEGIN { exit !(e != "" && e < 0.02) }' ||
    fail "32 px render differs from the built-in icon (RMSE ${rmse:-?})"
svg="$share/icons/hicolor/scalable/apps/$id.svg"
[[ "$(file -b --mime-type "$svg")" == image/svg+xml ]] || fail "scalable icon is not SVG"
cmp -s "$svg" "$source/res/quorvel.svg" || fail "scalable icon is not the source drawing"
echo "ok: desktop entry, metainfo, icons"

for page in quorvel quorvel-batch; do
    file="$share/man/man1/$page.1.gz"
    warnings=$(MANWIDTH=80 LC_ALL=C.UTF-8 man -l -Tutf8 "$file" 2>&1 >/dev/null)
    [[ -z "$warnings" ]] || fail "man $page warns: $warnings"
    warnings=$(zcat "$file" | groff -ww -z -k -man -Tutf8 2>&1)
    [[ -z "$warnings" ]] || fail "groff warns on $page: $warnings"
done
help=$("$dest/usr/bin/quorvel-batch" --help) || fail "installed quorvel-batch --help failed"
manual=$(zcat "$share/man/man1/quorvel-batch.1.gz" | groff -man -Tascii -P-cbou 2>/dev/null)
for option in $(grep -o -- '--[a-z][a-z-]*' <<<"$help" | sort -u); do
    grep -q -- "$option\b" <<<"$manual" || fail "manual page lacks $option"
done
summary=$("$dest/usr/bin/quorvel-batch" --ticks 100 --seed 1 --no-progress)
[[ "$summary" == "ticks=100 seed=1 "* ]] || fail "installed runner printed: $summary"
echo "ok: manual pages, installed runner"

# The window as the desktop sees it: its class names the desktop entry's StartupWMClass, and
# its icon comes from the installed theme (all sizes), not the built-in one (16 and 32 only).
mkdir "$dest/work"
cd "$dest/work"
XDG_DATA_DIRS="$share:/usr/share" QT_QPA_PLATFORM=xcb "$dest/usr/bin/quorvel" &
pid=$!
wid=""
for _ in $(seq 150); do
    wid=$(xdotool search --name '^Quorvel Ver\. 3\.1$' 2>/dev/null | head -n 1 || true)
    [[ -n "$wid" ]] && break
    sleep 0.1
done
[[ -n "$wid" ]] || fail "the installed program showed no window"
wmClass=$(sed -n 's/^StartupWMClass=//p' "$desktop")
class=$(xprop -id "$wid" WM_CLASS)
[[ "$class" == *", \"$wmClass\"" ]] || fail "window class $class, desktop entry $wmClass"
icons=""
for _ in $(seq 50); do
    icons=$(xprop -id "$wid" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | sort -u || true)
    [[ -n "$icons" ]] && break
    sleep 0.1
done
grep -q 'Icon (48 x 48)' <<<"$icons" || fail "window icon not from the theme: $icons"
echo "ok: window class $class, theme icon"
