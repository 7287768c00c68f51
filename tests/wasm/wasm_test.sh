#!/usr/bin/env bash
# Builds the engine with emscripten and checks that seeded runs of the engine compiled to
# WebAssembly, run under node, write the same grid dump and history CSV as the native
# quorvel-batch, byte for byte; and the same frame pixels as its PNG, where the engine build
# has the view. Any difference, or a run that leaves nothing to compare, fails.
# Usage: wasm_test.sh QUORVEL_BATCH BUILD_DIR
set -euo pipefail

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

[[ $# -eq 2 ]] || fail "usage: $0 QUORVEL_BATCH BUILD_DIR"
batch=$(realpath "$1")
build=$(realpath -m "$2")
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
[[ -x "$batch" ]] || fail "no runner at $1"
for tool in emcmake em++ node cmp; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/ensure-packages.sh installs it)"
done

# Outputs get the permissions a new file gets under the usual umask, in both builds.
umask 022
# emcc's JavaScript optimiser loads acorn from Debian's shared node modules.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}

echo "== building the engine with emscripten in $build"
emcmake cmake -S "$source_dir" -B "$build" -G Ninja -DQUORVEL_ENGINE_ONLY=ON \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-O2 -DQUORVEL_WERROR=ON >/dev/null
cmake --build "$build" --target engine_check
driver=$build/web/engine_check.js
[[ -f "$driver" && -f "$build/web/engine_check.wasm" ]] || fail "the build made no $driver"

runs=$build/runs
rm -rf "$runs"
mkdir -p "$runs"

# The frame's pixels are compared where the driver draws them (the view in the engine build).
pixels=yes
if ! node "$driver" --seed 1 --ticks 0 --pixels-out "$runs/probe.rgb" 2>"$runs/probe.err"; then
    grep -q 'this build has no view' "$runs/probe.err" || fail "engine_check: $(cat "$runs/probe.err")"
    pixels=no
fi
# A failure comes out of node as the runner's exit status, never as success.
expect_status() {  # status what args...
    local want=$1 what=$2 status=0
    shift 2
    node "$driver" "$@" 2>/dev/null || status=$?
    [[ $status -eq $want ]] || fail "$what: exit status $status, not $want"
}
expect_status 1 "an output that cannot be written" --seed 1 --grid-out "$runs/none/grid.txt"
expect_status 2 "a run without a seed" --ticks 10
expect_status 2 "an unknown option" --seed 1 --png "$runs/picture.png"

echo "== comparing grid dumps, history CSVs and pixels ($pixels) with $batch"

same() {  # what native wasm
    if ! cmp "$2" "$3"; then
        diff "$2" "$3" | head -n 6 >&2 || true
        fail "$1: the WebAssembly engine differs from the native runner"
    fi
}

# check NAME WIDTHxHEIGHT OPTIONS...: one seeded run both ways, the view made for that client size.
check() {
    local name=$1 size=$2
    shift 2
    local out=$runs/$name
    local native=(--grid-out "$out.native.grid" --history-out "$out.native.csv")
    local wasm=(--grid-out "$out.wasm.grid" --history-out "$out.wasm.csv")
    if [[ $pixels == yes ]]; then
        native+=(--png "$out.native.png")
        wasm+=(--pixels-out "$out.wasm.rgb")
    fi
    "$batch" --no-progress --view-size "$size" "$@" "${native[@]}" >"$out.summary" ||
        fail "$name: quorvel-batch $* failed"
    node "$driver" --view-size "$size" "$@" "${wasm[@]}" || fail "$name: engine_check $* failed"

    # Something to compare: every cell, samples beyond the header, and water that boiled.
    local columns rows
    columns=$(sed -n 's/.*--columns \([0-9]*\).*/\1/p' <<<"$*")
    rows=$(sed -n 's/.*--rows \([0-9]*\).*/\1/p' <<<"$*")
    [[ $(wc -l <"$out.native.grid") -eq $((columns * rows)) ]] || fail "$name: grid dump incomplete"
    [[ $(wc -l <"$out.native.csv") -gt 10 ]] || fail "$name: history has almost no samples"
    grep -q '^[0-9]* [0-9]* -1 ' "$out.native.grid" || fail "$name: the run never boiled"

    local file
    for file in "$out.wasm.grid" "$out.wasm.csv"; do
        [[ $(stat -c %a "$file") == 644 ]] || fail "$file has mode $(stat -c %a "$file"), not 644"
    done
    same "$name grid" "$out.native.grid" "$out.wasm.grid"
    same "$name history" "$out.native.csv" "$out.wasm.csv"
    if [[ $pixels == yes ]]; then
        convert "$out.native.png" -depth 8 rgb:"$out.native.rgb"
        [[ $(identify -format %w "$out.native.png") -eq ${size%x*} ]] ||
            fail "$name: the picture is not as wide as the view"
        same "$name pixels" "$out.native.rgb" "$out.wasm.rgb"
    fi
    echo "$name: same ($(wc -l <"$out.native.grid") cells, $(($(wc -l <"$out.native.csv") - 1)) samples)"
}

check 20x20-seed1 640x480 --seed 1 --ticks 150000 --columns 20 --rows 20
check 20x20-seedmax 640x480 --seed 4294967295 --ticks 300000 --columns 20 --rows 20 \
    --history-interval 7
check 80x80 640x480 --seed 2026 --ticks 4000000 --columns 80 --rows 80
check 33x17 800x600 --seed 7 --ticks 250000 --columns 33 --rows 17
check 3x50 640x480 --seed 12345 --ticks 600000 --columns 3 --rows 50
echo "PASS: the WebAssembly engine gives the native runner's outputs"
