#!/usr/bin/env bash
# Builds the run-file reader's libFuzzer target with clang (AddressSanitizer, leak checks and
# UndefinedBehaviorSanitizer) and runs it for a short while on the committed seed corpus:
# any crash, leak, sanitizer report or input taking over 10 s fails.
# Usage: fuzz_test.sh BUILD_DIR [SECONDS]
set -euo pipefail

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

[[ $# -ge 1 ]] || fail "usage: $0 BUILD_DIR [SECONDS]"
build=$(realpath -m "$1")
seconds=${2:-20}
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
command -v clang++ >/dev/null || fail "clang++ is missing (scripts/ensure-packages.sh installs it)"

echo "== building the fuzz target with clang in $build"
cmake -S "$source_dir" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DQUORVEL_ENGINE_ONLY=ON -DQUORVEL_FUZZ=ON \
    -DQUORVEL_WERROR=ON >/dev/null
cmake --build "$build" --target run_file_fuzz

# New inputs go to a corpus of the build's own; the committed seeds stay as they are.
work=$build/corpus
artifacts=$build/artifacts
rm -rf "$work" "$artifacts"
mkdir -p "$work" "$artifacts"

echo "== fuzzing the run-file reader for $seconds s"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$build/fuzz/run_file_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$artifacts/" "$work" "$source_dir/fuzz/corpus" ||
    fail "the fuzzer found a fault; the input is in $artifacts"
[[ -z "$(ls -A "$artifacts")" ]] || fail "the fuzzer left inputs in $artifacts"
echo "== no crash, leak or hang"
