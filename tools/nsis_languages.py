#!/usr/bin/env python3
"""The installer's own texts in every language of po/LINGUAS.

    nsis_languages.py pot               the English texts as .pot entries
    nsis_languages.py nsh PO_DIR OUT    OUT.nsh: MUI_LANGUAGE and LangStrings

installer/pausora.nsi holds the English: one `LangString Name ${LANG_ENGLISH}
"text"` per text, a line break written $\\r$\\n. Translators see it in
po/<lang>.po with the program's texts, a line break as \\n; $_CLICK and the
like are NSIS's own and stay as they are.
"""

import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
NSI = os.path.join(ROOT, "installer", "pausora.nsi")
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import wrc_resources  # noqa: E402
from po_file import LANGUAGES, messages, quote  # noqa: E402

LANG_STRING = re.compile(r'^LangString (\w+) \$\{LANG_ENGLISH\} "(.*)"$')


def english():
    """(name, line number, text) of each English LangString."""
    texts = []
    with open(NSI, encoding="utf-8") as file:
        for number, line in enumerate(file, start=1):
            match = LANG_STRING.match(line.strip())
            if match:
                text = match.group(2).replace("$\\r$\\n", "\n").replace('$\\"', '"')
                texts.append((match.group(1), number, text))
    return texts


def pot_entries():
    return "".join(f"\n#. The installer\n#: installer/pausora.nsi:{number}\n"
                   f"msgid {quote(text)}\nmsgstr \"\"\n" for _, number, text in english())


def nsh(po_dir, out):
    lines = ["; Written by tools/nsis_languages.py from po/: do not edit."]
    for language in wrc_resources.linguas(po_dir):
        if language not in LANGUAGES:
            sys.exit(f"nsis_languages.py: {language} is not in LANGUAGES of tools/po_file.py")
        name = LANGUAGES[language][1]
        translated = dict(messages(os.path.join(po_dir, language + ".po")))
        lines.append(f'!insertmacro MUI_LANGUAGE "{name}"')
        for key, _, text in english():
            text = translated.get(text) or text
            text = text.replace('"', '$\\"').replace("\n", "$\\r$\\n")
            lines.append(f'LangString {key} ${{LANG_{name.upper()}}} "{text}"')
    with open(out, "w", encoding="utf-8") as file:
        file.write("\n".join(lines) + "\n")


def main():
    if sys.argv[1:2] == ["pot"] and len(sys.argv) == 2:
        sys.stdout.write(pot_entries())
    elif sys.argv[1:2] == ["nsh"] and len(sys.argv) == 4:
        nsh(sys.argv[2], sys.argv[3])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
