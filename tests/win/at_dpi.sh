#!/usr/bin/env bash
# Runs a Windows test program at another display scaling, in the fresh prefix
# that scripts/wine-fresh --script made:  at_dpi.sh DPI PROGRAM [ARGS...]
# (96 is 100 %, 144 is 150 %, 192 is 200 %).
set -u
dpi=$1
shift
. "$(dirname "$0")/../../scripts/wine-env.sh"
set_wine_dpi "$dpi"
wine "$@"
