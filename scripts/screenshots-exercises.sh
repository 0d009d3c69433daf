#!/usr/bin/env bash
# Pictures of the exercises dialog for a person to look at: each of the
# fifteen exercises with its instructions, and for the animated ones every
# picture of the loop. Runs on a private X display in a private Wine prefix
# and leaves nothing running.
#
#   scripts/screenshots-exercises.sh [output-folder] [windows-build-dir]
#
# Pictures are named exercise-NN.png (the first picture) and
# exercise-NN-K.png (the loop's K-th picture, K from 2); DPI=144 takes them at
# 150 % (names ending in -144dpi). SHOTS='glob' takes
# only the pictures whose names match, e.g. SHOTS='exercise-15*'.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/gallery-shots.sh"
gallery_setup exercise_gallery "${1:-}" "${2:-}"

# The number of pictures each exercise shows in turn.
loops=(0 1 1 2 1 1 1 2 1 2 2 2 2 1 1 4)
for n in $(seq 1 15); do
    name=$(printf 'exercise-%02d' "$n")
    gallery_shot "$name$suffix" "$n" READY 0
    for k in $(seq 2 "${loops[$n]}"); do
        gallery_shot "$name-$k$suffix" "$n" READY $((k - 1))
    done
done
echo "Done: pictures in $out"
