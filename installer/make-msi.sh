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
# Nor can it mark properties secure: without that, a user's AUTOSTART or
# INSTALLDIR would not reach the elevated part of the installation.
msibuild "$output" -q "UPDATE \`Property\` SET \`Value\` = 'AUTOSTART;INSTALLDIR;WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED' WHERE \`Property\` = 'SecureCustomProperties'"
# msibuild makes an empty database of a missing file and reports success on a
# query that changed nothing: see that the condition went in.
components=$(msiinfo export "$output" Component)
properties=$(msiinfo export "$output" Property)
if ! grep -q $'^MachineRun\t.*\tAUTOSTART = "1"\t' <<<"$components" ||
    ! grep -q $'^SecureCustomProperties\tAUTOSTART;INSTALLDIR;' <<<"$properties"; then
    echo "make-msi.sh: the Run value's condition or the secure properties are missing from $output" >&2
    rm -f "$output"
    exit 1
fi
