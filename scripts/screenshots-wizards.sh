#!/usr/bin/env bash
# Pictures of the two wizards for a person to look at: the six pages of the
# first-run schedule wizard and the eight pages of the workplace wizard, each
# reached by Next as a user reaches it. Runs on a private X display in a
# private Wine prefix and leaves nothing running.
#
#   scripts/screenshots-wizards.sh [output-folder] [windows-build-dir]
#
# Pictures are named initial-N.png and workplace-N.png. SHOTS='glob' takes
# only the pictures whose names match, e.g. SHOTS='workplace-8'.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build/screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)
build=${2:-$root/build/windows}
gallery=$build/bin/wizard_gallery.exe
if [ $# -lt 2 ]; then
    (cd "$root" && scripts/build.sh windows --target wizard_gallery >/dev/null)
fi
if [ ! -f "$gallery" ]; then
    echo "$gallery is missing: build the wizard_gallery target of the Windows build first." >&2
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

# shot <name> <wizard> <page>
shot() {
    local name=$1 ready=$work/ready
    # shellcheck disable=SC2053
    [[ $name == ${SHOTS:-*} ]] || return 0
    rm -f "$ready" "$ready.done"
    wine "$gallery" "$2" "$3" "Z:${ready//\//\\}" >/dev/null 2>&1 &
    local pid=$!
    for _ in $(seq 300); do
        [ -s "$ready" ] && break
        sleep 0.1
    done
    if [ -s "$ready" ]; then
        # Just the wizard, cut from the screen.
        import -window root -crop "$(head -n 1 "$ready")" +repage "$out/$name.png"
        echo "  $out/$name.png"
    else
        echo "  $name: the gallery did not get ready" >&2
    fi
    touch "$ready.done"
    wait "$pid" || true
}

for n in 1 2 3 4 5 6; do
    shot "initial-$n" initial "$n"
done
for n in 1 2 3 4 5 6 7 8; do
    shot "workplace-$n" workplace "$n"
done
echo "Done: pictures in $out"
