#!/usr/bin/env bash
# Runs a Windows test program at another display scaling, in the fresh prefix
# that scripts/wine-fresh --script made:  at_dpi.sh DPI PROGRAM [ARGS...]
# (96 is 100 %, 144 is 150 %, 192 is 200 %).
set -u
dpi=$1
shift
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
# The server takes the scaling when it starts.
wineserver -k
wineserver -w
wine "$@"
