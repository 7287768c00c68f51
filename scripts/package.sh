#!/usr/bin/env bash
# Builds the Debian package quorvel_<version>_<arch>.deb and says where it is. Only what is
# installed is built (no tests, no benchmarks), in a build folder of its own, build/package,
# where the package is written too. Install it with: sudo apt install ./build/package/quorvel_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/ensure-packages.sh
cmake --preset package >/dev/null
cmake --build --preset package
rm -f build/package/*.deb
cpack --config build/package/CPackConfig.cmake -B build/package >/dev/null
deb=$(ls build/package/*.deb)
echo "Package: $PWD/$deb"
