#!/usr/bin/env bash
# A picture of the countdown icons on a light and a dark taskbar, at 16, 20,
# 24 and 32 pixels, as they are and four times larger, for a person to look
# at: countdown-icons.png in the folder given (build/screenshots by default).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build/screenshots}
bin=${2:-$root/build/windows/bin}
. "$root/scripts/wine-env.sh"
mkdir -p "$out"
work=$(mktemp -d "${TMPDIR:-/tmp}/pausora-countdown.XXXXXX")
trap 'stop_wine_prefix "$work/prefix"; rm -rf "$work"' EXIT
make_wine_prefix "$work/prefix"
WINEPREFIX="$work/prefix" wine "$bin/countdown_gallery.exe" "Z:${work//\//\\}\\icons.bmp" </dev/null
convert "$work/icons.bmp" "$out/countdown-icons.png"
echo "Done: $out/countdown-icons.png"
