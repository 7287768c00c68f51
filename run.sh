#!/usr/bin/env bash
# Installs what is missing, builds the optimised program and starts it.
set -euo pipefail
cd "$(dirname "$0")"

scripts/ensure-packages.sh
cmake --preset release >/dev/null
cmake --build --preset release

echo "The desktop program is not built yet; running the headless simulation with its defaults."
exec build/release/batch/quorvel-batch "$@"
