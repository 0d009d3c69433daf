#!/usr/bin/env bash
# Sets up, builds and starts Pausora under Wine, in a Wine prefix of its own
# that keeps its settings between runs (build/wineprefix). Uses your X display
# when there is one, otherwise a private Xvfb display.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
. scripts/wine-env.sh

scripts/setup.sh
scripts/build.sh windows Pausora InputWatch pausora_tips 2>/dev/null || scripts/build.sh windows

prefix=$root/build/wineprefix
private_display=0
if [ -z "${DISPLAY:-}" ]; then
    start_private_display
    private_display=1
    echo "No X display found: running on the private Xvfb display $DISPLAY."
    echo "Take a look with: DISPLAY=$DISPLAY import -window root /tmp/pausora.png"
fi
cleanup() {
    stop_wine_prefix "$prefix"
    if [ $private_display -eq 1 ]; then
        stop_private_display
    fi
}
trap cleanup EXIT INT TERM

make_wine_prefix "$prefix"
export WINEPREFIX=$prefix
# A fresh Wine profile has no C:\windows\Media: put our own event sounds where
# the default settings look for them, leaving any that are already there.
media=$prefix/drive_c/windows/Media
mkdir -p "$media"
for sound in res/sounds/*.wav; do
    [ -e "$media/$(basename "$sound")" ] || cp "$sound" "$media/"
done
# Play the installer's part: tell the program where it and its tips file live.
bin_dir=$(winepath -w "$root/build/windows/bin" 2>/dev/null)
install_reg="$prefix/install.reg"
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Pausora]\r\n"InstallDir"="%s\\\\"\r\n' \
    "${bin_dir//\\/\\\\}" >"$install_reg"
wine regedit /S "$(winepath -w "$install_reg")" >/dev/null 2>&1
echo "Starting Pausora (quit it from its tray icon's menu, or press Ctrl+C here)."
wine "$root/build/windows/bin/Pausora.exe"
