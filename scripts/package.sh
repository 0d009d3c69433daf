#!/usr/bin/env bash
# Builds the Windows installers: scripts/package.sh [output folder]
# Sets up and builds the program and writes into the folder (default: build/)
# Pausora-setup-<version>.exe, the per-user installer made with NSIS from
# installer/pausora.nsi, and Pausora-<version>-x64.msi, the per-machine
# package made with wixl from installer/pausora.wxs.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out_dir=${1:-$root/build}

scripts/setup.sh
# Configured before makensis was installed: look for it again.
if [ -f build/windows/CMakeCache.txt ] && grep -q '^MAKENSIS:FILEPATH=.*NOTFOUND' build/windows/CMakeCache.txt; then
    cmake -U MAKENSIS build/windows >/dev/null
fi
if [ -f build/windows/CMakeCache.txt ] && grep -qE '^(WIXL|MSIBUILD):FILEPATH=.*NOTFOUND' build/windows/CMakeCache.txt; then
    cmake -U WIXL -U MSIBUILD build/windows >/dev/null
fi
scripts/build.sh windows --target installer msi >/dev/null

version=$(sed -n 's/^#define PAUSORA_VERSION_TEXT "\(.*\)"$/\1/p' res/version.h)
mkdir -p "$out_dir"
for file in "Pausora-setup-$version.exe" "Pausora-$version-x64.msi"; do
    cp "build/windows/$file" "$out_dir/"
    echo "Wrote $(cd "$out_dir" && pwd)/$file"
done
