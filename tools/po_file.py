"""Reads gettext catalogues: the (msgid, msgstr) pairs of a .po or .pot file."""

import re
import subprocess


def messages(po):
    """The (msgid, msgstr) pairs of a .po file, the header left out."""
    text = subprocess.run(["msgcat", "--no-wrap", "--no-location", po], capture_output=True,
                          text=True, check=True).stdout
    pairs = []
    field = None
    for line in text.splitlines():
        match = re.match(r'^(msgid|msgstr) "(.*)"$', line)
        if match:
            field = match.group(1)
            if field == "msgid":
                pairs.append(["", ""])
            value = match.group(2)
        elif line.startswith('"') and field:
            value = line[1:-1]
        else:
            field = None
            continue
        pairs[-1][0 if field == "msgid" else 1] += value.encode().decode("unicode_escape") \
            .encode("latin-1").decode("utf-8")
    return [(msgid, msgstr) for msgid, msgstr in pairs if msgid]


def quote(text):
    """TEXT as a .po string."""
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"').replace("\n", "\\n") + '"'
