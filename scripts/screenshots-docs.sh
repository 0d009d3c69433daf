#!/usr/bin/env bash
# The README's pictures in docs/, made by the screenshot scripts and cut to the
# window they show: scripts/screenshots-docs.sh [folder] (default: docs/).
#
#   notice.png      a short-break notice      scripts/screenshots-popup.sh (state3-short-break)
#   notice-200.png  the same at 200 %         scripts/screenshots-popup.sh (DPI=192)
#   tray-menu.png   the tray icon's menu      scripts/screenshots-popup.sh (tray-menu)
#   exercise.png    a stretch exercise        scripts/screenshots-exercises.sh (exercise-11)
#   settings.png    the settings window       scripts/screenshots-settings.sh (settings-2-short-breaks)
#   wizard.png      the first-run wizard      scripts/screenshots-wizards.sh (initial-4, short breaks)
#   history.png     the history window        scripts/screenshots-history.sh (history-month)
#   installer.png   the installer's welcome   this script, from the built installer
#   settings-de.png, wizard-ru.png, notice-ja.png: the settings, the wizard and
#                   the notice in German, Russian and Japanese
#
# Small PNGs with 64 colours: they go into the repository.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=${1:-$root/docs}
mkdir -p "$out"
out=$(cd "$out" && pwd)
. scripts/wine-env.sh
scripts/build.sh windows --target popup_gallery exercise_gallery settings_gallery wizard_gallery history_gallery installer >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/pausora-docs.XXXXXX")
prefix=$work/prefix
cleanup() {
    stop_wine_prefix "$prefix"
    stop_private_display
    rm -rf "$work"
}
trap cleanup EXIT

small() {  # small <from> <to> [convert operations before the colour cut]
    local from=$1 to=$2
    shift 2
    /usr/bin/convert "$from" "$@" +repage +dither -colors 64 -strip "PNG8:$to"
    echo "  $to"
}

# The box around what is shown on the gallery's desktop, apart from Wine's
# tray window in the top-left corner, with a margin of $2 pixels.
window_box() {
    local shot=$1 margin=${2:-0} desktop taskbar
    desktop=$(/usr/bin/convert "$shot" -format '%[pixel:p{640,300}]' info:)
    taskbar=$(/usr/bin/convert "$shot" -format '%[pixel:p{640,797}]' info:)
    /usr/bin/convert "$shot" -fill black -draw 'rectangle 0,0 320,70' -fuzz 2% \
        -fill black -opaque "$desktop" -opaque "$taskbar" -format '%@' info: |
        awk -F'[x+]' -v m="$margin" '{ printf "%dx%d+%d+%d", $1 + 2 * m, $2 + 2 * m, $3 - m, $4 - m }'
}

SHOTS='state3-short-break' scripts/screenshots-popup.sh "$work/popup" >/dev/null
DPI=192 SHOTS='state3-short-break' scripts/screenshots-popup.sh "$work/popup" >/dev/null
SHOTS='tray-menu' scripts/screenshots-popup.sh "$work/popup" >/dev/null
SHOTS='exercise-11' scripts/screenshots-exercises.sh "$work/exercises" build/windows >/dev/null
SHOTS='settings-2-*' scripts/screenshots-settings.sh "$work/settings" build/windows >/dev/null
SHOTS='initial-4' scripts/screenshots-wizards.sh "$work/wizards" build/windows >/dev/null
SHOTS='history-month' scripts/screenshots-history.sh "$work/history" build/windows >/dev/null
# The notice and the menu, without the gallery's desktop and taskbar around them.
small "$work/popup/state3-short-break.png" "$out/notice.png" -crop "$(window_box "$work/popup/state3-short-break.png")"
small "$work/popup/state3-short-break-192dpi.png" "$out/notice-200.png" \
    -crop "$(window_box "$work/popup/state3-short-break-192dpi.png")"
small "$work/popup/tray-menu.png" "$out/tray-menu.png" -crop "$(window_box "$work/popup/tray-menu.png" 12)"
small "$work/exercises/exercise-11.png" "$out/exercise.png"
small "$work/settings/settings-2-short-breaks.png" "$out/settings.png"
small "$work/wizards/initial-4.png" "$out/wizard.png"
small "$work/history/history-month.png" "$out/history.png"

# The same windows in three of the other languages (the Windows language is
# the locale's under Wine).
LC_ALL=de_DE.UTF-8 SHOTS='settings-2-*' scripts/screenshots-settings.sh "$work/settings-de" build/windows >/dev/null
LC_ALL=ru_RU.UTF-8 SHOTS='initial-4' scripts/screenshots-wizards.sh "$work/wizards-ru" build/windows >/dev/null
LC_ALL=ja_JP.UTF-8 SHOTS='state3-short-break' scripts/screenshots-popup.sh "$work/popup-ja" >/dev/null
small "$work/settings-de/settings-2-short-breaks.png" "$out/settings-de.png"
small "$work/wizards-ru/initial-4.png" "$out/wizard-ru.png"
small "$work/popup-ja/state3-short-break.png" "$out/notice-ja.png" \
    -crop "$(window_box "$work/popup-ja/state3-short-break.png")"

# The installer's first page.
start_private_display
make_wine_prefix "$prefix"
WINEPREFIX=$prefix WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d" \
    wine build/windows/Pausora-setup-*.exe >/dev/null 2>&1 &
sleep 6
import -window root "$work/installer.png"
small "$work/installer.png" "$out/installer.png" -fuzz 2% -trim
