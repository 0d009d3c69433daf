#!/usr/bin/env bash
# Sets up, builds and starts Pausora under Wine, in a Wine prefix of its own
# that keeps its settings between runs (build/wineprefix). Uses your X display
# when there is one, otherwise a private Xvfb display.
#
#   scripts/run.sh          your own profile and settings, as you left them
#   scripts/run.sh --demo   a separate demo profile (build/wineprefix-demo) on a
#                           short schedule: a short break every 30 seconds, a
#                           long break every 3 minutes, sounds on
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
. scripts/wine-env.sh

demo=0
case "${1:-}" in
    --demo) demo=1 ;;
    "") ;;
    *)
        echo "usage: scripts/run.sh [--demo]" >&2
        exit 2
        ;;
esac

scripts/setup.sh
scripts/build.sh windows --target Pausora InputWatch pausora_tips

prefix=$root/build/wineprefix
if [ $demo -eq 1 ]; then
    prefix=$root/build/wineprefix-demo
fi
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
if [ $demo -eq 1 ]; then
    # The demo's schedule, set afresh on every demo run; no first-run wizard
    # and no update check, so the first notice comes within half a minute.
    cat >>"$install_reg" <<'REG'
"FirstUse"="1"

[HKEY_CURRENT_USER\Software\Pausora\TimeSettings]
"Micropause"=dword:0000001e
"Micropause_length"=dword:0000000b
"Pause"=dword:000000b4
"Pause_length"=dword:0000001e
"UseMicropauses"=dword:00000001
"UsePauses"=dword:00000001
"UseSounds"=dword:00000001
"CheckForUpdates"=dword:00000000
"AppearanceType"=dword:00000001
"MicropauseSound"="C:\\windows\\Media\\ding.wav"
"RepeatMicropauseSound"="C:\\windows\\Media\\ding.wav"
"EndMicropauseSound"="C:\\windows\\Media\\chimes.wav"
"PauseSound"="C:\\windows\\Media\\ding.wav"
"RepeatPauseSound"="C:\\windows\\Media\\ding.wav"
"EndPauseSound"="C:\\windows\\Media\\chimes.wav"
"WorkTimeSound"="C:\\windows\\Media\\tada.wav"
"TimeLimitSound"="C:\\windows\\Media\\notify.wav"
REG
    sed -i 's/\r*$/\r/' "$install_reg"
fi
wine regedit /S "$(winepath -w "$install_reg")" >/dev/null 2>&1
if [ $demo -eq 1 ]; then
    echo "Demo: a short break every 30 seconds, a long break every 3 minutes, sounds on."
fi
echo "Starting Pausora (quit it from its tray icon's menu, or press Ctrl+C here)."
wine "$root/build/windows/bin/Pausora.exe"
