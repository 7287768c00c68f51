#!/usr/bin/env bash
# Builds the user's guide: docs/guide/*.md to standalone HTML pages with pandoc (our own
# template and style, nothing fetched from elsewhere), and its pictures with the runner.
# Usage: scripts/build-guide.sh QUORVEL-BATCH OUTPUT-FOLDER
set -euo pipefail
batch=$1
out=$2
src=$(cd "$(dirname "$0")/../docs/guide" && pwd)
mkdir -p "$out"
"$(dirname "$0")/guide-pictures.sh" "$batch" "$out/pictures"
for lang in ja en; do
    pandoc --from markdown-smart+east_asian_line_breaks --to html5 --standalone \
        --template "$src/template.html" --include-in-header "$src/style.html" \
        --toc --toc-depth 2 --output "$out/$lang.html" "$src/$lang.md"
done
