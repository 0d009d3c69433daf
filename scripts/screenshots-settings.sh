#!/usr/bin/env bash
# Pictures of the settings window for a person to look at: each of its nine
# pages, selected in the tree. Runs on a private X display in a private Wine
# prefix and leaves nothing running.
#
#   scripts/screenshots-settings.sh [output-folder] [windows-build-dir]
#
# Pictures are named settings-N-page.png (N from 1, in the tree's order).
# DPI=120 or DPI=144 takes them at 125 % or 150 % (the prefix's LogPixels);
# the names then end in -120dpi or -144dpi. SHOTS='glob' takes only the
# pictures whose names match, e.g. SHOTS='settings-8*'. POLICY='Micropause=120
# CheckForUpdates=0' sets those DWORDs as the machine's policies first, to see
# the pages with controls an organisation manages; the names then end in
# -managed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/gallery-shots.sh"
gallery_setup settings_gallery "${1:-}" "${2:-}"
if [ -n "${POLICY:-}" ]; then
    for value in $POLICY; do
        wine reg add 'HKLM\Software\Policies\Pausora\TimeSettings' /v "${value%%=*}" \
            /t REG_DWORD /d "${value#*=}" /f >/dev/null 2>&1
    done
    suffix=-managed$suffix
fi

pages=(schedule short-breaks long-breaks working-time time-limits customize startup sounds
    appearance)
for i in "${!pages[@]}"; do
    gallery_shot "settings-$((i + 1))-${pages[$i]}$suffix" "$i" READY
done
echo "Done: pictures in $out"
