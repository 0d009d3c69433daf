#!/usr/bin/env bash
# Pictures of the settings window for a person to look at: each of its nine
# pages, selected in the tree. Runs on a private X display in a private Wine
# prefix and leaves nothing running.
#
#   scripts/screenshots-settings.sh [output-folder] [windows-build-dir]
#
# Pictures are named settings-N-page.png (N from 1, in the tree's order).
# DPI=120 or DPI=144 takes them at 125 % or 150 % (the prefix's LogPixels);
# the names then end in -120dpi or -144dpi. SHOTS='glob' takes only the
# pictures whose names match, e.g. SHOTS='settings-8*'.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build/screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)
build=${2:-$root/build/windows}
gallery=$build/bin/settings_gallery.exe
if [ $# -lt 2 ]; then
    (cd "$root" && scripts/build.sh windows --target settings_gallery >/dev/null)
fi
if [ ! -f "$gallery" ]; then
    echo "$gallery is missing: build the settings_gallery target of the Windows build first." >&2
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
suffix=
if [ -n "${DPI:-}" ]; then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$DPI" /f >/dev/null 2>&1
    wineserver -k
    wineserver -w
    suffix=-${DPI}dpi
fi

# shot <name> <page>
shot() {
    local name=$1$suffix ready=$work/ready
    # shellcheck disable=SC2053
    [[ $name == ${SHOTS:-*} ]] || return 0
    rm -f "$ready" "$ready.done"
    wine "$gallery" "$2" "Z:${ready//\//\\}" >/dev/null 2>&1 &
    local pid=$!
    for _ in $(seq 300); do
        [ -s "$ready" ] && break
        sleep 0.1
    done
    if [ -s "$ready" ]; then
        sleep 0.3
        # Just the window, cut from the screen.
        import -window root -crop "$(head -n 1 "$ready")" +repage "$out/$name.png"
        echo "  $out/$name.png"
    else
        echo "  $name: the gallery did not get ready" >&2
    fi
    touch "$ready.done"
    wait "$pid" || true
}

pages=(schedule short-breaks long-breaks working-time time-limits customize startup sounds
    appearance)
for i in "${!pages[@]}"; do
    shot "settings-$((i + 1))-${pages[$i]}" "$i"
done
echo "Done: pictures in $out"
