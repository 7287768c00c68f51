#!/usr/bin/env bash
# Installs what is missing, builds the optimised program and starts it. Without a display
# it runs the headless simulation instead and saves the picture it ends with.
set -euo pipefail
cd "$(dirname "$0")"

scripts/ensure-packages.sh
cmake --preset release >/dev/null
cmake --build --preset release

if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
    exec build/release/app/quorvel
fi

picture="$PWD/build/quorvel-run.png"
echo "No display available: running the simulation headless with its defaults instead."
build/release/batch/quorvel-batch --png "$picture" "$@"
echo "The vessel as the window would show it: $picture"
