#!/usr/bin/env bash
# Builds the Debian package quorvel_<version>_<arch>.deb from the optimised build and says
# where it is. Install it with: sudo apt install ./build/package/quorvel_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/ensure-packages.sh
cmake --preset release >/dev/null
cmake --build --preset release
rm -f build/package/*.deb
cpack --config build/release/CPackConfig.cmake -B build/package >/dev/null
deb=$(ls build/package/*.deb)
echo "Package: $PWD/$deb"
