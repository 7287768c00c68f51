#!/usr/bin/env bash
# Draws the guide's pictures with the runner, from fixed seeds, so that they always show what
# the program does now. Usage: scripts/guide-pictures.sh QUORVEL-BATCH OUTPUT-FOLDER
# The commands are the ones the guide prints beside each picture.
set -euo pipefail
batch=$1
out=$2
mkdir -p "$out"
run() { "$batch" --no-progress "$@" >/dev/null; }
run --seed 1 --ticks 150000 --png "$out/boil.png"
run --seed 2 --ticks 12000 --ends off --centre strong --png "$out/convection.png"
run --seed 2 --ticks 12000 --ends off --centre strong --convection-ratio 0 --png "$out/no-convection.png"
run --seed 3 --ticks 60000 --ends off --centre off --initial-temperature 100 --png "$out/cooling.png"
