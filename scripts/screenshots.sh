#!/usr/bin/env bash
# Saves screenshots of the program's windows at the moments the end-to-end
# tests mark, for a person to look at: scripts/screenshots.sh [folder]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=${1:-$root/build/screenshots}
mkdir -p "$out"
. scripts/wine-env.sh
scripts/build.sh windows >/dev/null

run_dir=$(mktemp -d "${TMPDIR:-/tmp}/pausora-shots.XXXXXX")
cleanup() {
    stop_wine_prefix "$run_dir/template"
    stop_private_display
    rm -rf "$run_dir"
}
trap cleanup EXIT
start_private_display
make_wine_prefix "$run_dir/template"
export PAUSORA_WINE_TEMPLATE=$run_dir/template
export PAUSORA_SCREENSHOT_PAUSE_MS=1500

for test in build/windows/bin/e2e_*.exe; do
    # The update tests need their stand-in servers around them.
    servers=()
    case "$test" in *update*) servers=(python3 tests/win/update_servers.py) ;; esac
    "${servers[@]}" scripts/wine-fresh "$test" --gtest_color=no 2>/dev/null |
        while read -r line; do
            line=${line%$'\r'}
            case "$line" in
                "SCREENSHOT "*)
                    sleep 0.7
                    name=${line#SCREENSHOT }
                    import -window root "$out/$name.png"
                    echo "saved $out/$name.png"
                    ;;
            esac
        done
done
