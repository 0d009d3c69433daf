#!/usr/bin/env python3
"""Checks the translations in po/: that po/pausora.pot holds the texts of
res/*.rc, the installer's and the sayings as they are now (wherever they
stand), that po/LINGUAS names exactly the po/<lang>.po files, and that every one of them translates every message of the .pot
(nothing missing, untranslated or fuzzy), passes msgfmt --check-format and
keeps each message's placeholders (%1, %s...), line breaks and access key.
With hunspell installed, every translated word must be known to the language's
dictionary or listed in po/words.<tag>.txt, its short list of names.
Ends non-zero on any fault, with what to do."""

import os
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PO = os.path.join(ROOT, "po")
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import wrc_resources  # noqa: E402
from make_pot import make_pot  # noqa: E402
from po_file import LANGUAGES, messages  # noqa: E402

# printf's and FormatMessage's, and the installer's NSIS variables ($_CLICK).
PLACEHOLDER = re.compile(r"\$_\w+|%(?:[0-9]+|[-+ #0]*[0-9]*(?:\.[0-9]+)?(?:l|ll|h)?[sdiuxXcfgp%])")


def access_key(text):
    return re.search(r"&[^&]", text.replace("&&", "")) is not None


def shape_faults(po):
    faults = []
    for msgid, msgstr in messages(po):
        if not msgstr:
            continue  # msgcmp reports it
        if sorted(PLACEHOLDER.findall(msgid)) != sorted(PLACEHOLDER.findall(msgstr)):
            faults.append(f"placeholders differ: {msgid!r}")
        if msgid.count("\n") != msgstr.count("\n"):
            faults.append(f"line breaks differ: {msgid!r}")
        if access_key(msgid) != access_key(msgstr):
            faults.append(f"access key (&) differs: {msgid!r}")
    return faults


def spelling_faults(language, po):
    tag, _, dictionary = LANGUAGES.get(language, (None, None, None))
    if not dictionary or not shutil.which("hunspell"):
        return []
    # Access keys and placeholders are not words, nor are file names, paths,
    # addresses and names in capitals (HKEY_CURRENT_USER, CSV).
    text = "\n".join(re.sub(r"&(?!&)", "", PLACEHOLDER.sub(" ", msgstr))
                      for _, msgstr in messages(po))
    text = re.sub(r"\b[0-9]+-|\S*[.\\_/]\w\S*|\b[A-Z]{2,}\b-?", " ", text)
    command = ["hunspell", "-d", dictionary, "-l", "-i", "utf-8"]
    words = os.path.join(PO, f"words.{tag}.txt")
    if os.path.exists(words):
        command += ["-p", words]
    result = subprocess.run(command, input=text, capture_output=True, text=True)
    unknown = sorted(set(word for word in result.stdout.split() if any(c.isalpha() for c in word)))
    if result.returncode != 0 or unknown:
        return [f"not in the {dictionary} dictionary nor in words.{tag}.txt: "
                + " ".join(unknown[:30]) + (result.stderr.strip() and f" ({result.stderr.strip()})")]
    return []


def main():
    faults = []
    pot = os.path.join(PO, "pausora.pot")
    with tempfile.TemporaryDirectory() as work:
        fresh = os.path.join(work, "pausora.pot")
        make_pot(fresh)
        # Only the messages count: a text that moved to another line of its
        # script changes nothing for translators.
        if messages(fresh) != messages(pot):
            faults.append("po/pausora.pot is out of date: run scripts/update-po.sh")

    files = sorted(name[:-3] for name in os.listdir(PO) if name.endswith(".po"))
    listed = wrc_resources.linguas(PO)
    if sorted(listed) != files:
        faults.append(f"po/LINGUAS names {' '.join(listed) or 'nothing'}, po/ has "
                      f"{' '.join(files) or 'no .po file'}")

    for language in files:
        po = os.path.join(PO, language + ".po")
        checks = [["msgfmt", "--check-format", "-o", os.devnull, po], ["msgcmp", po, pot]]
        for command in checks:
            result = subprocess.run(command, capture_output=True, text=True)
            if result.returncode != 0:
                faults.append(f"{command[0]}, po/{language}.po:\n{result.stderr.strip()}")
        faults += [f"po/{language}.po: {fault}" for fault in shape_faults(po)]
        faults += [f"po/{language}.po: {fault}" for fault in spelling_faults(language, po)]

    for fault in faults:
        print(fault, file=sys.stderr)
    print(f"Translations: {len(files)} languages, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
