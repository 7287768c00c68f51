#!/usr/bin/env bash
# Builds the Debian package from the build and checks its name, its files (those of the
# install test), its control fields (the Qt libraries and the CJK font among the dependencies,
# section, maintainer and description) and that lintian finds no error and no warning.
# Usage: package_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$(readlink -f "$1")
version=$2
here=$(dirname "$(readlink -f "$0")")
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$out/cpack.log")"
deb="$out/quorvel_${version}_$(dpkg --print-architecture).deb"
[[ -f "$deb" ]] || fail "no $(basename "$deb") among: $(ls "$out")"

files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | LC_ALL=C sort)
diff -u "$here/expected_files.txt" - <<<"$files" || fail "package files differ"

info=$(dpkg-deb -I "$deb")
echo "$info"
field() { dpkg-deb -f "$deb" "$1"; }
[[ "$(field Package)" == quorvel ]] || fail "package name"
[[ "$(field Version)" == "$version" ]] || fail "version"
[[ "$(field Section)" == education ]] || fail "section"
[[ "$(field Maintainer)" == "Quorvel <quorvel@example.org>" ]] || fail "maintainer"
[[ -n "$(field Description)" ]] || fail "no description"
depends=$(field Depends)
names=$(sed 's/ *([^)]*)//g; s/, */\n/g' <<<"$depends")
for dep in libqt6core6 libqt6gui6 libqt6widgets6 libstdc++6 fonts-noto-cjk qt6-translations-l10n; do
    grep -Fqx "$dep" <<<"$names" || fail "Depends lacks $dep: $depends"
done

# Informational tags are shown but pass.
report=$(lintian --fail-on error,warning --info --display-info "$deb" 2>&1) ||
    fail "lintian: $report"
echo "lintian: ${report:-no remarks}"
echo "ok: $(basename "$deb")"
