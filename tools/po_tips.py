#!/usr/bin/env python3
"""The sayings in the translators' catalogues.

    po_tips.py pot                  the sayings of res/tips/tips.txt as .pot entries
    po_tips.py tips PO OUT          OUT: the sayings file of PO's language

res/tips/tips.txt is the English; each heading and saying is a message of
po/pausora.pot, beside the program's texts. A language's sayings file holds
the English file line for line (the program picks a saying by its line), each
heading and saying in its translation, as UTF-8 with CR LF line ends; the
build then encodes it like the English one (encode_tips.py --utf8).
"""

import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TIPS = os.path.join(ROOT, "res", "tips", "tips.txt")
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from po_file import messages, quote  # noqa: E402


def english_lines():
    with open(TIPS, encoding="cp1252", newline="") as file:
        return file.read().split("\r\n")


def pot_entries():
    entries = []
    seen = set()
    for number, line in enumerate(english_lines(), start=1):
        if not line.strip() or line in seen:
            continue
        seen.add(line)
        what = "A heading of the sayings: keep the brackets" if line.startswith("[") \
            else "A saying: at most about 150 characters"
        entries.append(f"\n#. {what}\n#: res/tips/tips.txt:{number}\nmsgid {quote(line)}\n"
                       'msgstr ""\n')
    return "".join(entries)


def tips(po, out):
    translated = dict(messages(po))
    lines = [translated.get(line) or line if line.strip() else line for line in english_lines()]
    with open(out, "w", encoding="utf-8", newline="") as file:
        file.write("\r\n".join(lines))


def main():
    if sys.argv[1:2] == ["pot"] and len(sys.argv) == 2:
        sys.stdout.write(pot_entries())
    elif sys.argv[1:2] == ["tips"] and len(sys.argv) == 4:
        tips(sys.argv[2], sys.argv[3])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
