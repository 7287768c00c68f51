#!/usr/bin/env bash
# Checks the browser edition's scripts with eslint's recommended rules (eslint.config.js at the
# top of the source tree), allowing no warning. eslint is installed as the lock file here pins
# it, into BUILD_DIR (outside the source tree), and installed again only when the lock changes.
# Usage: lint_test.sh BUILD_DIR
set -euo pipefail

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

[[ $# -eq 1 ]] || fail "usage: $0 BUILD_DIR"
build=$(realpath -m "$1")
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
source "$source_dir/tests/support/node_modules.sh"
for tool in node npm cmp; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/ensure-packages.sh installs it)"
done
# eslint 10 needs node 20.19 or later.
node -e 'const [a, b] = process.versions.node.split(".").map(Number);
    process.exit(a > 20 || (a === 20 && b >= 19) ? 0 : 1)' ||
    fail "node $(node --version) is too old for eslint (20.19 or later)"

modules=$build/node
install_node_modules "$here" "$modules"

# The configuration loads eslint's rules and the browser's globals through NODE_PATH.
cd "$source_dir"
NODE_PATH=$modules/node_modules "$modules/node_modules/.bin/eslint" --max-warnings 0 web/site
echo "PASS: the browser edition's scripts follow eslint's recommended rules"
