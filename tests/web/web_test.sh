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
source "$source_dir/tests/support/node_modules.sh"
[[ -x "$batch" ]] || fail "no runner at $1"
for tool in node npm convert cmp /usr/bin/chromium; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/ensure-packages.sh installs it)"
done

# playwright-core needs node 20 or later.
node_major=$(node -p 'process.versions.node.split(".")[0]')
[[ $node_major -ge 20 ]] || fail "node $(node --version) is too old for playwright-core (20 or later)"

echo "== building the site in $build/site, with the test's hooks"
mkdir -p "$build"
if ! QUORVEL_WEB_BUILD=$build/engine QUORVEL_GUIDE=$(dirname "$batch")/../guide \
    QUORVEL_WEB_TEST_HOOKS=ON "$source_dir/scripts/build-web.sh" "$build/site" \
    >"$build/site-build.log" 2>&1; then
    tail -n 30 "$build/site-build.log" >&2
    fail "the site does not build (scripts/build-web.sh)"
fi

# The test's node modules, as the lock file pins them, outside the source tree.
modules=$build/node
install_node_modules "$here" "$modules"

out=$build/out
rm -rf "$out"
mkdir -p "$out"
NODE_PATH=$modules/node_modules node "$here/page_test.js" "$build/site" "$out"
NODE_PATH=$modules/node_modules node "$here/update_test.js" "$build/site"

echo "== comparing the page's saved runs with $batch"
for run in "$out"/*/; do
    run=${run%/}
    name=$(basename "$run")
    { read -r seed; read -r ticks; read -r size; read -r columns; read -r rows; read -r panel
      read -r selection; } <"$run/run.txt"
    [[ $ticks -gt 0 ]] || fail "$name: the page ran no ticks"
    "$batch" --no-progress --seed "$seed" --ticks "$ticks" --view-size "$size" --columns "$columns" \
        --rows "$rows" --png "$run/runner.png" --history-out "$run/runner.csv" >/dev/null
    [[ $(wc -l <"$run/runner.csv") -gt 10 ]] || fail "$name: the history has almost no samples"
    cmp "$run/runner.csv" "$run/page.csv" || fail "$name: the saved CSV differs from the runner's"
    for picture in runner page; do
        convert "$run/$picture.png" -fill '#00ff00' -draw "rectangle $panel" \
            -draw "rectangle $selection" -depth 8 rgb:"$run/$picture.rgb"
    done
    [[ $(identify -format %w "$run/page.png") -eq ${size%x*} ]] ||
        fail "$name: the picture is not as wide as the client"
    cmp -s "$run/runner.png" "$run/page.png" &&
        fail "$name: the pictures are equal before blanking: the panel is missing"
    cmp "$run/runner.rgb" "$run/page.rgb" || fail "$name: the saved picture differs from the runner's"
    echo "$name: the runner's CSV and picture ($ticks ticks, ${columns}x$rows, client $size)"
done
[[ -f "$out/max/run.txt" && -f "$out/x1000/run.txt" ]] || fail "a seeded run was not saved"
echo "PASS: the page runs as the desktop, and its seeded runs give the runner's CSVs and pictures"
