#!/usr/bin/env bash
# Pictures of the notifier popup for a person to look at: every notice state
# with the taskbar at the bottom, the taskbar on each edge, the link under the
# pointer, and the tray menu. Runs on a private X display in a private Wine
# prefix and leaves nothing running.
#
#   scripts/screenshots-popup.sh <output-folder> [windows-build-dir]
#
# The build dir defaults to build/windows and must hold bin/popup_gallery.exe.
# SHOTS='glob' takes only the pictures whose names match, e.g. SHOTS='edge-*'.
# DPI=120, DPI=144 or DPI=192 takes them at 125, 150 or 200 % (the prefix's
# LogPixels); their names then end in -<dpi>dpi.
set -euo pipefail
if [ $# -lt 1 ]; then
    echo "usage: $0 <output-folder> [windows-build-dir]" >&2
    exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
out=$(cd "$1" && pwd)
build=${2:-$root/build/windows}
gallery=$build/bin/popup_gallery.exe
if [ ! -f "$gallery" ]; then
    echo "$gallery is missing: build the popup_gallery target of the Windows build first." >&2
    exit 1
fi
. "$root/scripts/wine-env.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/pausora-shots.XXXXXX")
prefix=$work/prefix
xvfb_pid=
cleanup() {
    stop_wine_prefix "$prefix"
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# A display of our own, at a random free number from 50 to 99.
for n in $(shuf -i 50-99); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
        Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            sleep 0.1
        done
        if [ -e "/tmp/.X11-unix/X$n" ]; then
            export DISPLAY=":$n"
            break
        fi
        kill "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=
    fi
done
if [ -z "$xvfb_pid" ]; then
    echo "Could not start a private Xvfb display." >&2
    exit 1
fi

echo "Display $DISPLAY; making a Wine prefix (about ten seconds)..."
make_wine_prefix "$prefix"
export WINEPREFIX=$prefix
apply_screenshot_dpi

# shot <name> <gallery arguments before the ready file> [after it]
shot() {
    local name=$1$suffix ready=$work/ready
    shift
    # shellcheck disable=SC2053
    [[ $name == ${SHOTS:-*} || $name == ${SHOTS:-*}$suffix ]] || return 0
    local args=("$@") tail=()
    if [ "${args[0]}" != menu ]; then
        tail=("${args[@]:3}")
        args=("${args[@]:0:3}")
    fi
    rm -f "$ready" "$ready.done"
    wine "$gallery" "${args[@]}" "Z:${ready//\//\\}" "${tail[@]}" >/dev/null 2>&1 &
    local pid=$!
    for _ in $(seq 300); do
        [ -e "$ready" ] && break
        sleep 0.1
    done
    if [ -e "$ready" ]; then
        import -window root "$out/$name.png"
        echo "  $out/$name.png"
    else
        echo "  $name: the gallery did not get ready" >&2
    fi
    touch "$ready.done"
    wait "$pid" || true
}

shot state3-short-break 3 bottom 1 3
shot state4-short-repeat 4 bottom 1 3
shot state5-long-break 5 bottom 1 7
shot state6-long-repeat 6 bottom 1 1
shot state7-workday-end 7 bottom 1 3
shot state8-time-limit 8 bottom 1 0
shot edge-bottom-motion 3 bottom 0 3
shot edge-top-motion 3 top 0 3
shot edge-left-motion 3 left 0 3
shot edge-right-motion 3 right 0 3
shot edge-none-motion 5 none 0 5
shot link-hover 3 bottom 1 3 hover
shot tray-menu menu
echo "Done: pictures in $out"
