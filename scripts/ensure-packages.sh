#!/usr/bin/env bash
# Installs the Debian packages that Quorvel needs and that are missing, and says which.
# Usage: scripts/ensure-packages.sh [extra packages...]
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-noto-cjk qt6-translations-l10n libpng-dev
    xvfb xauth x11-apps imagemagick xdotool
    librsvg2-bin help2man groff-base man-db file dpkg-dev
    desktop-file-utils appstream x11-utils openbox lintian shared-mime-info libxml2-utils
    emscripten node-acorn nodejs chromium pandoc
    clang libclang-rt-14-dev
    "$@"
)

# The browser tests install their node modules with npm, which Debian packages apart from
# nodejs (other builds of nodejs bring their own).
command -v npm >/dev/null || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

echo "Installing missing Debian packages: ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
