#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless: once on the optimised
# build and once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"

scripts/ensure-packages.sh

status=0
for preset in release asan; do
    echo "== $preset: configure and build"
    cmake --preset "$preset" -DQUORVEL_WERROR=ON >/dev/null
    cmake --build --preset "$preset"
    echo "== $preset: tests"
    ctest --preset "$preset" || status=1
done
exit $status
