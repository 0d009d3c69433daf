#!/usr/bin/env bash
# The per-machine package under Wine's msiexec, in the fresh prefix that
# scripts/wine-fresh made:
#   msi_test.sh PACKAGE STAGED_FOLDER MAKE_MSI
# A silent install puts the files in Program Files, the shortcut in the
# all-users Start menu and Pausora in the machine's Run key (not with
# AUTOSTART=0); the installed program shows a notice; a newer package replaces
# it and an older one is refused; a silent uninstall leaves only the users'
# settings. MAKE_MSI (installer/make-msi.sh) builds the newer package from the
# STAGED_FOLDER the package was made of.
set -u
msi=$1
stage=$2
make_msi=$3
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-};winemenubuilder.exe=d"  # no menu entries on the host
work=$(mktemp -d "${TMPDIR:-/tmp}/pausora-msi.XXXXXX")
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/script_checks.sh"

machine_key='HKLM\Software\Pausora'
machine_run='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
user_run='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
settings_key='HKCU\Software\Pausora\TimeSettings'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
version=$(basename "$msi" | sed -n 's/^Pausora-\(.*\)-x64\.msi$/\1/p')
# Windows Installer compares three fields of a version: the next minor one.
minor=$(cut -d. -f2 <<<"$version.0")
newer="${version%%.*}.$((minor + 1))"
"$make_msi" "$newer" "$stage" "$work/Pausora-$newer-x64.msi" || exit 1

msiexec() { wine msiexec "$@" >/dev/null 2>&1; }
refused() { ! msiexec "$@"; }
# The versions of the Pausora packages installed, one a line.
installed_versions() {
    wine reg query "$uninstall_key" /s 2>/dev/null | tr -d '\r' | awk '
        /^HKEY/ { pausora = 0 }
        $1 == "DisplayName" && $3 == "Pausora" { pausora = 1 }
        $1 == "DisplayVersion" { version = $3 }
        /^$/ && pausora { print version; pausora = 0 }
        END { if (pausora) print version }'
}
program_files=$(wine cmd /c echo '%ProgramFiles%' | tr -d '\r')
install_win="$program_files\\Pausora"
install_dir=$(winepath -u "$install_win")
# Windows Installer puts a per-machine package's ProgramMenuFolder in the
# all-users Start menu; Wine 8's msiexec gives it the user's even then.
shortcut="$(env_dir ProgramData)/Microsoft/Windows/Start Menu/Programs/Pausora.lnk"
wine_shortcut="$(env_dir APPDATA)/Microsoft/Windows/Start Menu/Programs/Pausora.lnk"
properties=$(msiinfo export "$msi" Property)
quoted_program="\"$install_win\\Pausora.exe\""

check "the package installs for all users" grep -q $'^ALLUSERS\t1\r*$' <<<"$properties"
check "a silent install succeeds" msiexec /i "$(winepath -w "$msi")" /qn
for file in Pausora.exe InputWatch.dll all.txt; do
    check "$file installed" cmp -s "$install_dir/$file" "$stage/$file"
done
check "the Start-menu shortcut" test -f "$shortcut" -o -f "$wine_shortcut"
check "Pausora starts for every user" equals "$(value "$machine_run" Pausora)" "$quoted_program"
check "InstallDir names the folder, with a separator" \
    equals "$(value "$machine_key" InstallDir)" "$install_win\\"
check "listed once with the installed programs" equals "$(installed_versions)" "$version"

# The installed program, started as the Run value starts it.
short_schedule
(cd "$work" && wine "$install_win\\Pausora.exe" >/dev/null 2>&1 &)
shows_notice() { notice_place >/dev/null; }
check "the installed program shows a notice" shows_notice
check "its own Run value names the same program" equals "$(value "$user_run" Pausora)" "$quoted_program"
pids=$(prefix_pids '\\pausora\.exe$')
[ -n "$pids" ] && kill $pids
for tries in $(seq 50); do
    stopped && break
    sleep 0.2
done
check "and ends" stopped

# A newer package replaces this one; an older one is refused.
check "a newer package installs" msiexec /i "$(winepath -w "$work/Pausora-$newer-x64.msi")" /qn
check "and replaces the older one" equals "$(installed_versions)" "$newer"
check "the program is still there" test -f "$install_dir/Pausora.exe"
check "and still starts for every user" equals "$(value "$machine_run" Pausora)" "$quoted_program"
check "the settings are kept" equals "$(value "$settings_key" Micropause)" "0x3"
check "an older package is refused" refused /i "$(winepath -w "$msi")" /qn
check "and changes nothing" equals "$(installed_versions)" "$newer"

# A silent uninstall leaves only the users' settings.
check "a silent uninstall succeeds" msiexec /x "$(winepath -w "$work/Pausora-$newer-x64.msi")" /qn
check "no installed files" test ! -e "$install_dir"
check "no shortcut" test ! -e "$shortcut" -a ! -e "$wine_shortcut"
check "no Run value" no_value "$machine_run" Pausora
check "nothing under HKLM\\Software\\Pausora" no_key "$machine_key"
check "no entry in the installed programs" equals "$(installed_versions)" ""
check "the user's settings stay" equals "$(value "$settings_key" Micropause)" "0x3"

# AUTOSTART=0 into a folder of the administrator's: everything but the Run value.
other_win='C:\Tools\Pausora\'
other_dir=$(winepath -u "$other_win")
check "AUTOSTART=0 installs" msiexec /i "$(winepath -w "$msi")" /qn AUTOSTART=0 "INSTALLDIR=$other_win"
check "the program, in INSTALLDIR" test -f "$other_dir/Pausora.exe"
check "InstallDir names it" equals "$(value "$machine_key" InstallDir)" "$other_win"
check "without the Run value" no_value "$machine_run" Pausora
check "and uninstalls" msiexec /x "$(winepath -w "$msi")" /qn
check "leaving no files" test ! -e "$other_dir"

echo "msi: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
