#!/usr/bin/env bash
# The installer under Wine, in the fresh prefix that scripts/wine-fresh made:
#   installer_test.sh SETUP_EXE TIPS_FILE
# A silent install into a fresh profile; the installed program starts from its
# folder, finds its tips file and shows a notice with a saying; an upgrade over
# a running copy ends it and keeps the settings; a silent uninstall leaves no
# file, shortcut, entry or Run value behind, and the settings only when asked.
# PAUSORA_SCREENSHOT_DIR, when set, keeps the installed program's notice.
set -u
setup=$1
tips=$2
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-};winemenubuilder.exe=d"  # no menu entries on the host
app_key='HKCU\Software\Pausora'
settings_key='HKCU\Software\Pausora\TimeSettings'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pausora'
work=$(mktemp -d "${TMPDIR:-/tmp}/pausora-installer.XXXXXX")
trap 'rm -rf "$work"' EXIT

. "$(dirname "$0")/script_checks.sh"
# The uninstaller works from a copy of itself in the temporary folder, which
# is still busy when the one started has returned: wait for it, a while.
wait_for_uninstaller() {
    local tries
    for tries in $(seq 100); do
        [ -n "$(prefix_pids '\\(au_|un_[a-z])\.exe$')" ] || return 0
        sleep 0.2
    done
    echo "  the uninstaller is still running"
}
# Pixels of the saying's grey in the saying's rectangle of the notice at $1.
saying_pixels() {
    local place=${1#+}
    local x=${place%%+*} y=${place#*+}
    import -window root -crop "239x65+$((x + 11))+$((y + 90))" +repage "$work/saying.png"
    convert "$work/saying.png" -fuzz 15% -fill black -opaque 'rgb(131,131,131)' \
        -fill white +opaque black -format '%[fx:int((1-mean)*w*h)]' info:
}
# Whether "$@" comes true within a minute. The uninstaller's copy may not be
# seen yet when the one started returns, and on a loaded machine it waits for
# Pausora to end first: its results are waited for, not assumed.
eventually() {
    local tries
    for tries in $(seq 300); do
        "$@" && return 0
        sleep 0.2
    done
    "$@"
}
gone() { eventually test ! -e "$1"; }
# The installer's results, once it has written them all: on a loaded machine
# the files may be there a moment before the registry values.
setup_ended() { [ -z "$(prefix_pids 'pausora-setup[^\\]*\.exe$')" ]; }
install() {
    wine "$setup" "$@"
    eventually setup_ended
}
value_is() { [ "$(value "$1" "$2")" = "$3" ]; }
installed_value() { eventually value_is "$@" || equals "$(value "$1" "$2")" "$3"; }
more_than() { [ "$1" -gt "$2" ] || { echo "  $1 is not more than $2"; return 1; }; }

# A silent install into the fresh profile.
install /S
local_app=$(wine cmd /c echo '%LOCALAPPDATA%' | tr -d '\r')
install_win="$local_app\\Programs\\Pausora"
install_dir=$(winepath -u "$install_win")
menu_dir=$(env_dir APPDATA)/Microsoft/Windows/Start\ Menu/Programs
for file in Pausora.exe InputWatch.dll all.txt Uninstall.exe; do
    check "$file installed" test -f "$install_dir/$file"
done
check "the tips file is the built one" cmp -s "$install_dir/all.txt" "$tips"
check "InstallDir names the folder, with a separator" \
    installed_value "$app_key" InstallDir "$install_win\\"
check "Start-menu shortcut" test -f "$menu_dir/Pausora.lnk"
check "listed with the installed programs" equals "$(value "$uninstall_key" DisplayVersion)" "1.1"
check "the list's entry uninstalls" \
    equals "$(value "$uninstall_key" UninstallString)" "\"$install_win\\Uninstall.exe\""
check "nothing started without /LAUNCH" stopped

# The installed program: a short break every 3 seconds, no first-run wizard.
short_schedule
set_dword "$settings_key" Bonus 42
(cd "$work" && wine "$install_dir/Pausora.exe" >/dev/null 2>&1 &)
place=$(notice_place)
check "the installed program shows a notice" test -n "$place"
if [ -n "$place" ]; then
    sleep 1.5  # slid in completely: where it rests now
    place=$(notice_place)
    check "the notice shows a saying from the installed tips file" \
        more_than "$(saying_pixels "$place")" 150
    if [ -n "${PAUSORA_SCREENSHOT_DIR:-}" ]; then
        import -window root "$PAUSORA_SCREENSHOT_DIR/installed-notice.png"
    fi
fi
check "the program names itself in its folder at start-up" \
    equals "$(value "$run_key" Pausora)" "\"$install_win\\Pausora.exe\""

# An upgrade over the running copy: ended first, settings kept, started again.
install /S /LAUNCH
check "the upgrade kept the settings" equals "$(value "$settings_key" Micropause)" "0x3"
check "and the experience points" equals "$(value "$settings_key" Bonus)" "0x2a"
sleep 2
check "the upgrade started Pausora again with /LAUNCH" running

# A silent uninstall ends it and keeps the settings.
wine "$install_dir/Uninstall.exe" /S
wait_for_uninstaller
check "the uninstaller ended Pausora" eventually stopped
check "no installed files" gone "$install_dir"
check "no shortcut" gone "$menu_dir/Pausora.lnk"
check "no Run value" no_value "$run_key" Pausora
check "no entry in the installed programs" no_key "$uninstall_key"
check "no InstallDir" no_value "$app_key" InstallDir
check "the settings stay unless asked" equals "$(value "$settings_key" Micropause)" "0x3"

# Installed again and removed with its settings.
install /S
check "installed again" test -f "$install_dir/Pausora.exe"
wine "$install_dir/Uninstall.exe" /S /REMOVESETTINGS
wait_for_uninstaller
check "asked to, the uninstaller removes the files" gone "$install_dir"
check "and the settings" no_key "$app_key"

# Into a folder named in letters the system's 8-bit code page lacks, as a
# Cyrillic or Greek user name on a Western-European Windows makes it: the same
# result, and nothing the installer wrote is written back another way. Wine
# reads the command line in the terminal's character set, and /D= must come
# unquoted, so the name has no space.
export LC_ALL=C.UTF-8
uni_win="$local_app\\Programs\\Пауза-Ωμέγα"
uni_dir=$(winepath -u "$uni_win")
escaped() { printf '%s' "$1" | sed 's/\\/\\\\/g; s/"/\\"/g'; }
# A value as regedit exports it (UTF-16, so nothing is lost on the way).
exported() {
    rm -f "$work/export.reg"
    wine regedit /E "$work/export.reg" "$1" >/dev/null 2>&1
    iconv -f UTF-16 -t UTF-8 "$work/export.reg" | tr -d '\r' | grep "^\"$2\"="
}
install /S "/D=$uni_win"
check "installed into a folder named beyond the code page" test -f "$uni_dir/Pausora.exe"
short_schedule
(cd "$work" && wine "$uni_dir/Pausora.exe" >/dev/null 2>&1 &)
place=$(notice_place)
check "the program there shows a notice" test -n "$place"
if [ -n "$place" ]; then
    sleep 1.5
    place=$(notice_place)
    check "with a saying from the tips file there" more_than "$(saying_pixels "$place")" 150
fi
check "InstallDir names that folder whole" \
    equals "$(exported 'HKEY_CURRENT_USER\Software\Pausora' InstallDir)" \
    "\"InstallDir\"=\"$(escaped "$uni_win\\")\""
check "the Run value names the program there" \
    equals "$(exported 'HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run' Pausora)" \
    "\"Pausora\"=\"$(escaped "\"$uni_win\\Pausora.exe\"")\""
wine "$uni_dir/Uninstall.exe" /S /REMOVESETTINGS
wait_for_uninstaller
check "and it is removed from there" gone "$uni_dir"

echo "installer: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
