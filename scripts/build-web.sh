#!/usr/bin/env bash
# Builds the browser edition with Debian's emscripten and writes the static site: the page,
# the engine's module and the icons, for any web server or static host (no server code).
# Usage: scripts/build-web.sh [DIR]   (default DIR: build/web-app)
# The site carries the user's guide as the native build makes it (its pictures are drawn by the
# native runner), from build/release/guide (QUORVEL_GUIDE to change it), when it is there.
# The emscripten build itself goes to build/web-engine (QUORVEL_WEB_BUILD to change it).
# QUORVEL_WEB_TEST_HOOKS=ON builds the browser test's site, with its hooks into the engine.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
site=$(realpath -m "${1:-$source_dir/build/web-app}")
build=$(realpath -m "${QUORVEL_WEB_BUILD:-$source_dir/build/web-engine}")

for tool in emcmake cmake ninja; do
    command -v "$tool" >/dev/null ||
        { echo "$tool is missing (scripts/ensure-packages.sh installs it)" >&2; exit 1; }
done
# emcc's JavaScript optimiser loads acorn from Debian's shared node modules.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}

guide=$(realpath -m "${QUORVEL_GUIDE:-$source_dir/build/release/guide}")
if [[ ! -f "$guide/ja.html" || ! -f "$guide/en.html" ]]; then
    echo "No guide in $guide: the site has no Guide item (cmake --build --preset release" \
        "--target quorvel_guide builds it)" >&2
    guide=""
fi

emcmake cmake -S "$source_dir" -B "$build" -G Ninja -DQUORVEL_ENGINE_ONLY=ON \
    -DQUORVEL_WEB_GUIDE="$guide" -DQUORVEL_WEB_TEST_HOOKS="${QUORVEL_WEB_TEST_HOOKS:-OFF}" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-O2 -DQUORVEL_WERROR=ON >/dev/null
cmake --build "$build" --target quorvel_web
if [[ "$site" != "$build/web-app" ]]; then
    rm -rf "$site/guide"
    mkdir -p "$site"
    cp -a "$build/web-app/." "$site/"
fi
echo "The site is in $site"
