#!/usr/bin/env bash
# Builds the browser edition and drives it in the system's Chromium, headless, through
# playwright-core (no browser download): page_test.js checks what a user sees and does, then
# the seeded run it saved is compared with the native runner's for the same seed, client size
# and ticks: the CSV byte for byte, the picture pixel for pixel once the info panel and the
# selection outline (which the runner does not draw) are blanked in both.
# Usage: web_test.sh QUORVEL_BATCH BUILD_DIR
set -euo pipefail

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

[[ $# -eq 2 ]] || fail "usage: $0 QUORVEL_BATCH BUILD_DIR"
batch=$(realpath "$1")
build=$(realpath -m "$2")
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
[[ -x "$batch" ]] || fail "no runner at $1"
for tool in node npm convert cmp /usr/bin/chromium; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/ensure-packages.sh installs it)"
done

# playwright-core needs node 20 or later.
node_major=$(node -p 'process.versions.node.split(".")[0]')
[[ $node_major -ge 20 ]] || fail "node $(node --version) is too old for playwright-core (20 or later)"

echo "== building the site in $build/site"
mkdir -p "$build"
if ! QUORVEL_WEB_BUILD=$build/engine "$source_dir/scripts/build-web.sh" "$build/site" \
    >"$build/site-build.log" 2>&1; then
    tail -n 30 "$build/site-build.log" >&2
    fail "the site does not build (scripts/build-web.sh)"
fi

# The test's node modules, as the lock file pins them, outside the source tree.
modules=$build/node
mkdir -p "$modules"
cp "$here/package.json" "$here/package-lock.json" "$modules/"
if ! cmp -s "$here/package-lock.json" "$modules/installed.lock" 2>/dev/null; then
    (cd "$modules" && npm ci --no-audit --no-fund --loglevel=error)
    cp "$here/package-lock.json" "$modules/installed.lock"
fi

out=$build/out
rm -rf "$out"
mkdir -p "$out"
NODE_PATH=$modules/node_modules node "$here/page_test.js" "$build/site" "$out"

echo "== comparing the page's saved run with $batch"
{ read -r ticks; read -r size; read -r panel; read -r selection; } <"$out/run.txt"
[[ $ticks -gt 0 ]] || fail "the page ran no ticks"
"$batch" --no-progress --seed 2026 --ticks "$ticks" --view-size "$size" \
    --png "$out/runner.png" --history-out "$out/runner.csv" >/dev/null
[[ $(wc -l <"$out/runner.csv") -gt 10 ]] || fail "the history has almost no samples"
cmp "$out/runner.csv" "$out/page.csv" || fail "the saved CSV differs from the runner's"
for picture in runner page; do
    convert "$out/$picture.png" -fill '#00ff00' -draw "rectangle $panel" \
        -draw "rectangle $selection" -depth 8 rgb:"$out/$picture.rgb"
done
[[ $(identify -format %w "$out/page.png") -eq ${size%x*} ]] || fail "the picture is not as wide as the client"
cmp -s "$out/runner.png" "$out/page.png" && fail "the pictures are equal before blanking: the panel is missing"
cmp "$out/runner.rgb" "$out/page.rgb" || fail "the saved picture differs from the runner's"
echo "PASS: the page runs as the desktop, and its seeded run gives the runner's CSV and picture ($ticks ticks, $size)"
