#!/usr/bin/env bash
# Pictures of the two wizards for a person to look at: the six pages of the
# first-run schedule wizard and the eight pages of the workplace wizard, each
# reached by Next as a user reaches it. Runs on a private X display in a
# private Wine prefix and leaves nothing running.
#
#   scripts/screenshots-wizards.sh [output-folder] [windows-build-dir]
#
# Pictures are named initial-N.png and workplace-N.png; DPI=120 or DPI=144
# takes them at 125 % or 150 % (names ending in -120dpi or -144dpi). SHOTS='glob' takes
# only the pictures whose names match, e.g. SHOTS='workplace-8'.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/gallery-shots.sh"
gallery_setup wizard_gallery "${1:-}" "${2:-}"

for n in 1 2 3 4 5 6; do
    gallery_shot "initial-$n$suffix" initial "$n" READY
done
for n in 1 2 3 4 5 6 7 8; do
    gallery_shot "workplace-$n$suffix" workplace "$n" READY
done
echo "Done: pictures in $out"
