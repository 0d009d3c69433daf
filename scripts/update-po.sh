#!/usr/bin/env bash
# Regenerates po/pausora.pot from the resource scripts (res/*.rc) and the
# installer's texts (installer/pausora.nsi), and merges
# it into every po/<lang>.po, after an English text was added or changed.
# Texts that changed come out marked fuzzy, new ones untranslated: the test
# command fails until a translator has seen to them.
set -euo pipefail
cd "$(dirname "$0")/.."
python3 tools/make_pot.py po/pausora.pot
for po in po/*.po; do
    [ -e "$po" ] || continue
    msgmerge --quiet --update --backup=none "$po" po/pausora.pot
    # A text the program no longer has is only noise for the next translator.
    msgattrib --no-obsolete --output-file="$po" "$po"
done
