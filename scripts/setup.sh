#!/usr/bin/env bash
# Installs everything building, running and testing Pausora needs on Debian 12.
# Quick when everything is already there: it only calls apt-get for what is missing.
set -euo pipefail

packages=(
    # native build and tests
    cmake ninja-build g++ googletest libgtest-dev libgmock-dev libbenchmark-dev clang-format
    clang libclang-rt-14-dev python3
    # the Windows build
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools
    # running it: Wine on a private X display, and screenshots
    wine wine64 xvfb x11-utils xauth imagemagick
    librsvg2-bin icoutils  # scripts/render-art.sh (with imagemagick above)
    nsis                   # scripts/package.sh: the Windows installer
    wixl msitools          # scripts/package.sh: the per-machine MSI
    libxml2-utils          # tools/check_policies.py: xmllint
    # tools/check_po.py: the translations' spelling
    hunspell hunspell-de-de hunspell-fr hunspell-es hunspell-it hunspell-pt-br hunspell-nl
    hunspell-pl hunspell-ru hunspell-uk
    wine64-tools gettext   # the translations: Wine's resource compiler, msgfmt and msgmerge
    fonts-ipafont-gothic fonts-wqy-microhei  # Japanese and Chinese under Wine (layout_tests)
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -q
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
