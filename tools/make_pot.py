#!/usr/bin/env python3
"""Writes the translators' template, po/pausora.pot or the file named: the
texts of res/*.rc (by wrc), the installer's own (installer/pausora.nsi) and
the sayings (res/tips/tips.txt)."""

import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import nsis_languages  # noqa: E402
import po_tips  # noqa: E402
import wrc_resources  # noqa: E402


def make_pot(out):
    with tempfile.TemporaryDirectory() as work:
        program = os.path.join(work, "program.pot")
        wrc_resources.pot(program)
        parts = [program]
        for name, entries in [("installer", nsis_languages.pot_entries()),
                              ("sayings", po_tips.pot_entries())]:
            parts.append(os.path.join(work, name + ".pot"))
            with open(parts[-1], "w", encoding="utf-8") as file:
                file.write('msgid ""\nmsgstr "Content-Type: text/plain; charset=UTF-8\\n"\n')
                file.write(entries)
        # One entry for a text two of them have, with both places.
        subprocess.run(["msgcat", "--use-first", "-o", out] + parts, check=True)


if __name__ == "__main__":
    make_pot(sys.argv[1] if len(sys.argv) > 1 else
             os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "po",
                          "pausora.pot"))
