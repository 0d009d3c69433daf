# Shared by the gallery screenshot scripts: a gallery program of the Windows
# build shows one window, writes its rectangle to a file when it is ready, and
# waits for a second file before it ends. Source it after setting root; it
# defines functions only.

# Makes the output folder (build/screenshots unless one was given), builds
# (unless a build folder was given) and finds the gallery program, then
# starts a private display and a private Wine prefix in which Wine draws
# window frames itself; sets out, gallery, work and WINEPREFIX. With DPI set
# (120, 144...) the prefix takes that display scaling, and suffix (which the
# pictures' names end in) is -<DPI>dpi; otherwise it is empty.
# gallery_setup <target> <output-folder-or-empty> <build-dir-or-empty>
gallery_setup() {
    local target=$1 given=$3
    out=${2:-$root/build/screenshots}
    mkdir -p "$out"
    out=$(cd "$out" && pwd)
    local build=${given:-$root/build/windows}
    gallery=$build/bin/$target.exe
    if [ -z "$given" ]; then
        (cd "$root" && scripts/build.sh windows --target "$target" >/dev/null)
    fi
    if [ ! -f "$gallery" ]; then
        echo "$gallery is missing: build the $target target of the Windows build first." >&2
        exit 1
    fi
    . "$root/scripts/wine-env.sh"
    work=$(mktemp -d "${TMPDIR:-/tmp}/pausora-shots.XXXXXX")
    trap gallery_cleanup EXIT
    start_private_display
    echo "Display $DISPLAY; making a Wine prefix (about ten seconds)..."
    make_wine_prefix "$work/prefix"
    export WINEPREFIX=$work/prefix
    # No window manager runs here: Wine draws the caption and frame itself.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    apply_screenshot_dpi
}

gallery_cleanup() {
    stop_wine_prefix "$work/prefix"
    stop_private_display
    rm -rf "$work"
}

# Runs the gallery with the arguments after the name, READY standing for the
# file it writes its rectangle to, and saves just its window as <name>.png.
# Names that do not match the glob in SHOTS are skipped.
# gallery_shot <name> <argument>...
gallery_shot() {
    local name=$1 ready=$work/ready
    shift
    # shellcheck disable=SC2053
    [[ $name == ${SHOTS:-*} || $name == ${SHOTS:-*}$suffix ]] || return 0
    local args=() arg
    for arg in "$@"; do
        [ "$arg" = READY ] && arg="Z:${ready//\//\\}"
        args+=("$arg")
    done
    rm -f "$ready" "$ready.done"
    wine "$gallery" "${args[@]}" >/dev/null 2>&1 &
    local pid=$!
    for _ in $(seq 300); do
        [ -s "$ready" ] && break
        sleep 0.1
    done
    if [ -s "$ready" ]; then
        sleep 0.3
        import -window root -crop "$(head -n 1 "$ready")" +repage "$out/$name.png"
        echo "  $out/$name.png"
    else
        echo "  $name: the gallery did not get ready" >&2
    fi
    touch "$ready.done"
    wait "$pid" || true
}
