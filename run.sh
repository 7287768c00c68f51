#!/usr/bin/env bash
# Installs what is missing, builds the optimised program and starts it. Without a display
# it runs the headless simulation instead and saves the picture it ends with.
# ./run.sh --web builds the browser edition instead and serves it on http://127.0.0.1:8080/.
set -euo pipefail
cd "$(dirname "$0")"

scripts/ensure-packages.sh
if [[ ${1:-} == --web ]]; then
    scripts/build-web.sh build/web-app
    echo "The browser edition: http://127.0.0.1:8080/ (Ctrl+C ends the server)"
    exec python3 -m http.server 8080 --bind 127.0.0.1 --directory build/web-app
fi
cmake --preset release >/dev/null
cmake --build --preset release

if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
    exec build/release/app/quorvel
fi

picture="$PWD/build/quorvel-run.png"
echo "No display available: running the simulation headless with its defaults instead."
build/release/batch/quorvel-batch --png "$picture" "$@"
echo "The vessel as the window would show it: $picture"
