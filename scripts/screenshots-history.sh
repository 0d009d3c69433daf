#!/usr/bin/env bash
# Pictures of the history window for a person to look at: a synthetic month
# at the window's first size (14 days) and wide (28 days), and the window
# with no history yet. Runs on a private X display in a private Wine prefix
# and leaves nothing running.
#
#   scripts/screenshots-history.sh [output-folder] [windows-build-dir]
#
# DPI=120 or DPI=144 takes them at 125 % or 150 % (the prefix's LogPixels);
# the names then end in -120dpi or -144dpi. SHOTS='glob' takes only some.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/gallery-shots.sh"
gallery_setup history_gallery "${1:-}" "${2:-}"

gallery_shot "history-month$suffix" READY 600 400 month
gallery_shot "history-month-wide$suffix" READY 780 400 month
gallery_shot "history-empty$suffix" READY 600 400 empty
echo "Done: pictures in $out"
