# Helpers of the Wine script tests (installer_test.sh, msi_test.sh): sourced
# with WINEPREFIX set to the test's fresh prefix.
passed=0
failed=0
check() {
    local what=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $what"
    fi
}
# The data of a registry value, or nothing (and failure) when it is missing.
value() {
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$2 *REG_[A-Z_]* *//p" | grep .
}
no_value() { ! value "$1" "$2" >/dev/null; }
no_key() { ! wine reg query "$1" >/dev/null 2>&1; }
equals() { [ "$1" = "$2" ] || { echo "  '$1' is not '$2'"; return 1; }; }
set_dword() { wine reg add "$1" /v "$2" /t REG_DWORD /d "$3" /f >/dev/null 2>&1; }
set_string() { wine reg add "$1" /v "$2" /t REG_SZ /d "$3" /f >/dev/null 2>&1; }
env_dir() { winepath -u "$(wine cmd /c echo "%$1%" | tr -d '\r')" 2>/dev/null; }
# Ids of this prefix's processes whose program matches $1 (other tests may
# run programs of the same name in theirs).
prefix_pids() {
    local proc
    for proc in /proc/[0-9]*; do
        { tr '\0' '\n' <"$proc/cmdline"; } 2>/dev/null | head -1 | grep -qiE "$1" || continue
        { tr '\0' '\n' <"$proc/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
        echo "${proc#/proc/}"
    done
}
running() { [ -n "$(prefix_pids '\\pausora\.exe$')" ]; }
stopped() { ! running; }
# The notice's place on the screen (+X+Y), once a 400x159 window shows.
notice_place() {
    local tries line
    for tries in $(seq 100); do
        line=$(xwininfo -root -tree 2>/dev/null | grep -m1 ' 400x159+' || true)
        if [ -n "$line" ]; then
            echo "$line" | awk '{ print $NF }'
            return 0
        fi
        sleep 0.2
    done
    return 1
}
# The settings of a short break every 3 seconds, no first-run wizard, for the
# user of the prefix.
short_schedule() {
    local app_key='HKCU\Software\Pausora'
    set_string "$app_key" FirstUse 1
    set_dword "$app_key\\TimeSettings" Micropause 3
    set_dword "$app_key\\TimeSettings" Micropause_length 30
    set_dword "$app_key\\TimeSettings" UseSounds 0
    set_dword "$app_key\\TimeSettings" CheckForUpdates 0
    set_dword "$app_key\\TimeSettings" AppearanceType 0
}
