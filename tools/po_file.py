"""Reads gettext catalogues: the (msgid, msgstr) pairs of a .po or .pot file."""

import re
import subprocess

# Each language po/ may hold, by its catalogue's code: the language tag the
# program names it by (its sayings file is all.<tag>.txt), NSIS's name for it
# and its spelling dictionary (none for Japanese and Chinese).
LANGUAGES = {
    "de": ("de-DE", "German", "de_DE"),
    "fr": ("fr-FR", "French", "fr_FR"),
    "es": ("es-ES", "Spanish", "es_ES"),
    "it": ("it-IT", "Italian", "it_IT"),
    "pt_BR": ("pt-BR", "PortugueseBR", "pt_BR"),
    "nl": ("nl-NL", "Dutch", "nl_NL"),
    "pl": ("pl-PL", "Polish", "pl_PL"),
    "ru": ("ru-RU", "Russian", "ru_RU"),
    "uk": ("uk-UA", "Ukrainian", "uk_UA"),
    "ja": ("ja-JP", "Japanese", None),
    "zh_CN": ("zh-CN", "SimpChinese", None),
}


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


if __name__ == "__main__":
    # po_file.py tag CODE: the language tag of a catalogue's code, for the build.
    import sys
    if sys.argv[1:2] != ["tag"] or len(sys.argv) != 3 or sys.argv[2] not in LANGUAGES:
        sys.exit("usage: po_file.py tag CODE, CODE one of " + " ".join(LANGUAGES))
    print(LANGUAGES[sys.argv[2]][0])
