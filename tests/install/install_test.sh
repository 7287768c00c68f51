#!/usr/bin/env bash
# Installs the build under /usr in a temporary DESTDIR and checks what the installation holds:
# exactly the expected files, a desktop entry and AppStream metadata without remarks, every
# icon at its size with nothing cut off, manual pages that render without warnings and name
# every option of each program's --help, a runner that runs, and (under Xvfb) a window started
# as the menu starts it: its class and icon match the desktop entry, and it works in its
# folder under XDG_CONFIG_HOME.
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
remarks=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop entry invalid: $remarks"
[[ -z "$remarks" ]] || fail "desktop entry: $remarks"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" || fail "metainfo invalid"

for size in 16 22 24 32 48 64 128 256; do
    got=$(identify -format '%m %wx%h' "$share/icons/hicolor/${size}x$size/apps/$id.png")
    [[ "$got" == "PNG ${size}x$size" ]] || fail "icon of size $size is $got"
done
# The built-in window icons are renders of the same drawing.
for size in 16 32; do
    rmse=$(compare -metric RMSE "$share/icons/hicolor/${size}x$size/apps/$id.png" \
        "$source/res/quorvel-$size.png" null: 2>&1 | sed -n 's/.*(\(.*\))/\1/p' || true)
    awk -v e="$rmse" 'BEGIN { exit !(e != "" && e < 0.02) }' ||
        fail "$size px render differs from the built-in icon (RMSE ${rmse:-?})"
done
# Nothing of the vessel or its flames is cut off: the largest render's outermost pixels are
# all transparent.
edge=$(convert "$share/icons/hicolor/256x256/apps/$id.png" -alpha extract -fill black \
    -draw 'rectangle 1,1 254,254' -format '%[fx:maxima]' info:)
[[ "$edge" == 0 ]] || fail "the icon touches its edge (largest edge opacity $edge)"
svg="$share/icons/hicolor/scalable/apps/$id.svg"
[[ "$(file -b --mime-type "$svg")" == image/svg+xml ]] || fail "scalable icon is not SVG"
cmp -s "$svg" "$source/res/quorvel.svg" || fail "scalable icon is not the source drawing"
# The run files' type: a file named *.quorvel, or one that begins "quorvel-run ", is one;
# the desktop entry opens it.
data=$(mktemp -d -p "$dest")
mime="$data/mime"
mkdir -p "$mime/packages"
cp "$share/mime/packages/$id.xml" "$mime/packages/"
xmllint --noout "$mime/packages/$id.xml" || fail "MIME package is not well-formed"
remarks=$(XDG_DATA_HOME="$data" update-mime-database "$mime" 2>&1) &&
    [[ -z "$remarks" ]] || fail "update-mime-database: $remarks"
grep -qx 'application/x-quorvel-run:\*\.quorvel' "$mime/globs" || fail "no *.quorvel glob"
grep -q 'quorvel-run ' "$mime/magic" || fail "no magic for run files"
grep -qx 'MimeType=application/x-quorvel-run;' "$desktop" || fail "desktop entry opens no run file"
rm -rf "$data"
echo "ok: desktop entry, metainfo, icons, run file type"

for page in quorvel quorvel-batch; do
    file="$share/man/man1/$page.1.gz"
    warnings=$(MANWIDTH=80 LC_ALL=C.UTF-8 man -l -Tutf8 "$file" 2>&1 >/dev/null)
    [[ -z "$warnings" ]] || fail "man $page warns: $warnings"
    warnings=$(zcat "$file" | groff -ww -z -k -man -Tutf8 2>&1)
    [[ -z "$warnings" ]] || fail "groff warns on $page: $warnings"
done
for program in quorvel quorvel-batch; do
    help=$(env -u DISPLAY "$dest/usr/bin/$program" --help) || fail "$program --help failed"
    manual=$(zcat "$share/man/man1/$program.1.gz" | groff -man -Tascii -P-cbou 2>/dev/null)
    for option in $(grep -o -- '--[a-z][a-z-]*' <<<"$help" | sort -u); do
        grep -q -- "$option\b" <<<"$manual" || fail "manual page of $program lacks $option"
    done
done
version=$(env -u DISPLAY "$dest/usr/bin/quorvel" --version) || fail "quorvel --version failed"
[[ "$version" == "quorvel 3.1" ]] || fail "quorvel --version printed: $version"
summary=$("$dest/usr/bin/quorvel-batch" --ticks 100 --seed 1 --no-progress)
[[ "$summary" == "ticks=100 seed=1 "* ]] || fail "installed runner printed: $summary"
echo "ok: manual pages, installed runner"

# The window as the desktop sees it, started as the menu starts it: its class names the
# desktop entry's StartupWMClass, and its icon comes from the installed theme, not the
# built-in one.
# (Started without a file, as the menu does: the launcher drops the field code.)
exec_line=$(sed -n 's/^Exec=//p' "$desktop" | sed 's/ %[fFuU]//')
read -r -a command <<<"$exec_line"
[[ "${command[0]}" == quorvel ]] || fail "desktop entry runs $exec_line"
mkdir "$dest/work"
cd "$dest/work"
XDG_CONFIG_HOME="$dest/config" XDG_DATA_DIRS="$share:/usr/share" QT_QPA_PLATFORM=xcb \
    "$dest/usr/bin/quorvel" "${command[@]:1}" &
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
# Which sizes Qt hands over depends on the theme's cache and on what else is installed; the
# built-in icon has 16 and 32 pixels only, so any other size is the theme's.
[[ -n "$icons" ]] || fail "the window has no icon"
grep -vq -e 'Icon (16 x 16)' -e 'Icon (32 x 32)' <<<"$icons" ||
    fail "window icon not from the theme: $icons"
# A menu start works in its folder under XDG_CONFIG_HOME, made for it, so the profile lands there.
[[ "$(readlink "/proc/$pid/cwd")" == "$(readlink -f "$dest/config/quorvel")" ]] ||
    fail "menu start works in $(readlink "/proc/$pid/cwd")"
echo "ok: window class $class, theme icon ($(tr '\n' ' ' <<<"$icons")), working folder"
