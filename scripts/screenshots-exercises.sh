#!/usr/bin/env bash
# Pictures of the exercises dialog for a person to look at: each of the
# fifteen exercises with its instructions, and for the animated ones every
# picture of the loop. Runs on a private X display in a private Wine prefix
# and leaves nothing running.
#
#   scripts/screenshots-exercises.sh [output-folder] [windows-build-dir]
#
# Pictures are named exercise-NN.png (the first picture) and
# exercise-NN-K.png (the loop's K-th picture, K from 2). SHOTS='glob' takes
# only the pictures whose names match, e.g. SHOTS='exercise-15*'.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build/screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)
build=${2:-$root/build/windows}
gallery=$build/bin/exercise_gallery.exe
if [ $# -lt 2 ]; then
    (cd "$root" && scripts/build.sh windows exercise_gallery >/dev/null)
fi
if [ ! -f "$gallery" ]; then
    echo "$gallery is missing: build the exercise_gallery target of the Windows build first." >&2
    exit 1
fi
. "$root/scripts/wine-env.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/pausora-shots.XXXXXX")
prefix=$work/prefix
cleanup() {
    stop_wine_prefix "$prefix"
    stop_private_display
    rm -rf "$work"
}
trap cleanup EXIT
start_private_display
echo "Display $DISPLAY; making a Wine prefix (about ten seconds)..."
make_wine_prefix "$prefix"
export WINEPREFIX=$prefix
# No window manager runs here: Wine draws the caption and frame itself.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1

# shot <name> <exercise> [ticks]
shot() {
    local name=$1 ready=$work/ready
    shift
    # shellcheck disable=SC2053
    [[ $name == ${SHOTS:-*} ]] || return 0
    rm -f "$ready" "$ready.done"
    wine "$gallery" "$1" "Z:${ready//\//\\}" "${2:-0}" >/dev/null 2>&1 &
    local pid=$!
    for _ in $(seq 300); do
        [ -s "$ready" ] && break
        sleep 0.1
    done
    if [ -s "$ready" ]; then
        sleep 0.2
        # Just the dialog, cut from the screen.
        import -window root -crop "$(head -n 1 "$ready")" +repage "$out/$name.png"
        echo "  $out/$name.png"
    else
        echo "  $name: the gallery did not get ready" >&2
    fi
    touch "$ready.done"
    wait "$pid" || true
}

# The number of pictures each exercise shows in turn.
loops=(0 1 1 2 1 1 1 2 1 2 2 2 2 1 1 4)
for n in $(seq 1 15); do
    name=$(printf 'exercise-%02d' "$n")
    shot "$name" "$n"
    for k in $(seq 2 "${loops[$n]}"); do
        shot "$name-$k" "$n" $((k - 1))
    done
done
echo "Done: pictures in $out"
