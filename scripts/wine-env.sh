# Shared by the run and test scripts: a private X display and Wine prefixes.
# Source it; it defines functions only.

# Starts Xvfb on a display number it picks itself (free at that moment, so
# that runs side by side never share one); sets DISPLAY and PAUSORA_XVFB_PID.
start_private_display() {
    local number_file tries number
    number_file=$(mktemp "${TMPDIR:-/tmp}/pausora-display.XXXXXX")
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
    PAUSORA_XVFB_PID=$!
    for tries in $(seq 100); do
        number=$(head -1 "$number_file")
        if [ -n "$number" ]; then
            rm -f "$number_file"
            export DISPLAY=":$number"
            return 0
        fi
        kill -0 "$PAUSORA_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$number_file"
    kill "$PAUSORA_XVFB_PID" 2>/dev/null || true
    PAUSORA_XVFB_PID=
    echo "Could not start a private Xvfb display." >&2
    return 1
}

stop_private_display() {
    if [ -n "${PAUSORA_XVFB_PID:-}" ]; then
        kill "$PAUSORA_XVFB_PID" 2>/dev/null || true
        wait "$PAUSORA_XVFB_PID" 2>/dev/null || true
        PAUSORA_XVFB_PID=
    fi
}

wine_defaults() {
    export WINEDEBUG=-all
    # No Mono or Gecko installer dialogs: the program needs neither.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEARCH=win64
}

# Creates a Wine prefix at $1 (once; serially) with the crash dialog off.
make_wine_prefix() {
    local prefix=$1
    wine_defaults
    if [ -f "$prefix/system.reg" ]; then
        return 0
    fi
    mkdir -p "$prefix"
    WINEPREFIX="$prefix" wineboot -i >/dev/null 2>&1
    WINEPREFIX="$prefix" wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    WINEPREFIX="$prefix" wineserver -w
}

# Sets the display scaling of the current prefix to $1 dots per inch (96 is
# 100 %, 144 is 150 %) and restarts its server, which takes it when it starts.
set_wine_dpi() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    wineserver -k
    wineserver -w
}

# Ends every Wine process of prefix $1 and waits for its server.
stop_wine_prefix() {
    local prefix=$1
    if [ -d "$prefix" ]; then
        WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
        WINEPREFIX="$prefix" wineserver -w 2>/dev/null || true
    fi
}

# Screenshot scripts: with DPI set (120, 144, 192...), the current prefix's
# display scaling becomes $DPI (a fresh server takes it), and $suffix, which
# ends the pictures' names, becomes -<dpi>dpi; without it, $suffix is empty.
apply_screenshot_dpi() {
    suffix=
    if [ -n "${DPI:-}" ]; then
        set_wine_dpi "$DPI"
        suffix=-${DPI}dpi
    fi
}
