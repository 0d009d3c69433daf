#!/usr/bin/env bash
# Builds the per-machine package from installer/pausora.wxs with wixl:
#   make-msi.sh VERSION FOLDER OUTPUT
# FOLDER holds Pausora.exe, InputWatch.dll and all.txt as they are to be
# installed. Needs wixl and msibuild (Debian: wixl, msitools).
set -euo pipefail
version=$1
folder=$(realpath "$2")
output=$3
here=$(cd "$(dirname "$0")" && pwd)
# wixl takes only paths relative to the source file.
bin_dir=$(realpath --relative-to="$here" "$folder")
rm -f "$output"
wixl -a x64 -D "Version=$version" -D "BinDir=$bin_dir" -o "$output" "$here/pausora.wxs"
# wixl leaves component conditions out: AUTOSTART=0 must leave out the Run value.
msibuild "$output" -q "UPDATE \`Component\` SET \`Condition\` = 'AUTOSTART = \"1\"' WHERE \`Component\` = 'MachineRun'"
# msibuild makes an empty database of a missing file and reports success on a
# query that changed nothing: see that the condition went in.
components=$(msiinfo export "$output" Component)
if ! grep -q $'^MachineRun\t.*\tAUTOSTART = "1"\t' <<<"$components"; then
    echo "make-msi.sh: the Run value's condition is missing from $output" >&2
    rm -f "$output"
    exit 1
fi
