#!/usr/bin/env bash
# Builds the Windows installer: scripts/package.sh [output folder]
# Sets up and builds the program and writes Pausora-setup-<version>.exe, made
# with NSIS from installer/pausora.nsi, into the folder (default: build/).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out_dir=${1:-$root/build}

scripts/setup.sh
# Configured before makensis was installed: look for it again.
if [ -f build/windows/CMakeCache.txt ] && grep -q '^MAKENSIS:FILEPATH=.*NOTFOUND' build/windows/CMakeCache.txt; then
    cmake -U MAKENSIS build/windows >/dev/null
fi
scripts/build.sh windows --target installer >/dev/null

version=$(sed -n 's/^#define PAUSORA_VERSION_TEXT "\(.*\)"$/\1/p' res/version.h)
installer=build/windows/Pausora-setup-$version.exe
mkdir -p "$out_dir"
cp "$installer" "$out_dir/"
echo "Wrote $(cd "$out_dir" && pwd)/Pausora-setup-$version.exe"
