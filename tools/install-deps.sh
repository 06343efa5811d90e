#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Kelmor need, and the
# packages named; with --package first, only what building the program and its Debian package
# needs (a build with BUILD_TESTING off), without the tools of the tests and benchmarks.
# Only missing packages are installed; root uses apt-get directly, others sudo.
# Usage: tools/install-deps.sh [--package] [PACKAGE...]
set -euo pipefail

tests=1
if [ "${1:-}" = --package ]; then
    tests=0
    shift
fi
packages=(
    g++ cmake ninja-build pkg-config make
    qt6-base-dev qt6-multimedia-dev libsndfile1-dev libjpeg62-turbo-dev librsvg2-bin
    libspng-dev libwebp-dev librsvg2-dev libpango1.0-dev libcairo2-dev
    "$@"
)
if [ $tests = 1 ]; then
    packages+=(libgtest-dev libgmock-dev libbenchmark-dev libgif-dev libcgif-dev
        python3 pulseaudio pulseaudio-utils chromium libx11-dev xvfb webp optipng libvips-tools)
    # Node and npm for the browser test, from Debian unless a node with its own npm is
    # installed (Debian's npm package would conflict with that one).
    command -v node >/dev/null && command -v npm >/dev/null || packages+=(nodejs npm)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
