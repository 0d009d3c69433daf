#!/usr/bin/env python3
"""Wine's resource compiler (wrc) between the resource script and gettext.

    wrc_resources.py pot OUT.pot              the texts of res/*.rc, for translators
    wrc_resources.py res PO_DIR OUT.res       every language of PO_DIR/LINGUAS
    wrc_resources.py dump FILE.res            one line per resource

The English resources stay windres's, built from res/pausora.rc as always;
"res" writes only what the translations add beside them (each translated
dialog, menu, string block and version resource, in its own language), for
windres to turn into an object that is linked beside the English one.

wrc 8.0 takes only plain ASCII as the English of a message, so the script
hands wrc a copy of res/*.rc in which the few characters beyond ASCII are
written in ASCII (a typographic apostrophe as ', the degree sign as "deg"):
translators see these stand-ins, the program never does. wrc's preprocessor
knows no __has_include either; every fragment it names is there, so the copy
takes each as present.
"""

import argparse
import os
import re
import struct
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RES = os.path.join(ROOT, "res")
# Wine's own Windows headers (package libwine-dev, pulled in by wine64-tools).
WINE_INCLUDE = "/usr/include/wine/wine/windows"

# An escape in the script is a character of code page 1252, the English one.
STAND_INS = {
    "\u2018": "'",
    "\u2019": "'",
    "\u201c": '""',
    "\u201d": '""',
    "\u2013": "-",
    "\u2014": "--",
    "\u2026": "...",
    "\u00a0": " ",
    "\u00a9": "(C)",
    "\u00ae": "(R)",
    "\u00b0": "deg",
}
ESCAPE = re.compile(r"(?<!\\)((?:\\\\)*)\\([0-7]{3}|x[0-9a-fA-F]{2})")


def ascii_script(text, name):
    def replace(match):
        code = match.group(2)
        value = int(code[1:], 16) if code[0] == "x" else int(code, 8)
        if value < 0x80:
            return match.group(0)
        char = bytes([value]).decode("cp1252")
        if char not in STAND_INS:
            sys.exit(f"{name}: no ASCII stand-in for U+{ord(char):04X}; add one to {__file__}")
        return match.group(1) + STAND_INS[char]

    return ESCAPE.sub(replace, text)


def prepare(work):
    """Copies res/*.rc into work/res/ for wrc; returns the script to compile,
    named relative to work/ so that the messages' references read res/NAME."""
    os.mkdir(os.path.join(work, "res"))
    for name in sorted(os.listdir(RES)):
        if name.endswith(".rc"):
            with open(os.path.join(RES, name), encoding="ascii") as source:
                text = ascii_script(source.read(), name)
            with open(os.path.join(work, "res", name), "w", encoding="ascii") as copy:
                copy.write(text)
    with open(os.path.join(work, "main.rc"), "w", encoding="ascii") as script:
        script.write('#define __has_include(file) 1\n#include "res/pausora.rc"\n')
    return "main.rc"


def wrc(work, *arguments):
    tool = os.environ.get("WRC", "/usr/lib/wine/wrc")
    command = [tool, "-I", WINE_INCLUDE, "-I", RES, *arguments]
    result = subprocess.run(command, cwd=work)
    if result.returncode != 0:
        sys.exit(f"wrc failed: {' '.join(command)}")


def read_entries(path):
    """The entries of a 32-bit .res file: (type, name, language, raw bytes)."""
    with open(path, "rb") as file:
        data = file.read()

    def identifier(at):
        if struct.unpack_from("<H", data, at)[0] == 0xFFFF:
            return struct.unpack_from("<H", data, at + 2)[0], at + 4
        end = at
        while struct.unpack_from("<H", data, end)[0] != 0:
            end += 2
        return data[at:end].decode("utf-16-le"), end + 2

    at = 0
    while at < len(data):
        size, header = struct.unpack_from("<II", data, at)
        kind, after = identifier(at + 8)
        name, _ = identifier(after)
        language = struct.unpack_from("<H", data, at + header - 10)[0]
        length = (header + size + 3) & ~3
        yield kind, name, language, data[at : at + length]
        at += length


def linguas(po_dir):
    with open(os.path.join(po_dir, "LINGUAS"), encoding="utf-8") as file:
        return [word for line in file for word in line.split("#")[0].split()]


def translations(po_dir, out):
    with tempfile.TemporaryDirectory() as work:
        main = prepare(work)
        english = os.path.join(work, "english.res")
        every = os.path.join(work, "every.res")
        wrc(work, "-o", english, main)
        wrc(work, "--po-dir", os.path.abspath(po_dir), "-o", every, main)
        known = {entry[:3] for entry in read_entries(english)}
        added = [entry for entry in read_entries(every) if entry[:3] not in known]
    # wrc passes over a language whose .mo it cannot read without a word.
    wanted = linguas(po_dir)
    languages = {entry[2] for entry in added}
    if len(languages) != len(wanted):
        sys.exit(f"wrc translated into {len(languages)} languages, {po_dir}/LINGUAS names "
                 f"{len(wanted)}: {' '.join(wanted)}")
    with open(out, "wb") as file:
        # A 32-bit .res file starts with an empty entry.
        file.write(struct.pack("<IIHHHHIHHII", 0, 32, 0xFFFF, 0, 0xFFFF, 0, 0, 0, 0, 0, 0))
        for entry in added:
            file.write(entry[3])


def pot(out):
    with tempfile.TemporaryDirectory() as work:
        main = prepare(work)
        wrc(work, "-O", "pot", "-o", os.path.join(work, "out.pot"), main)
        with open(os.path.join(work, "out.pot"), encoding="utf-8") as file:
            text = file.read()
    # wrc writes Wine's own name and address into the header.
    text = text.replace("Project-Id-Version: Wine", "Project-Id-Version: Pausora")
    text = re.sub(r'"Report-Msgid-Bugs-To: [^"]*"\n', "", text)
    with open(out, "w", encoding="utf-8") as file:
        file.write(text)


def dump(path):
    for kind, name, language, raw in read_entries(path):
        if kind == 0 and name == 0:
            continue
        print(f"type {kind} name {name} language 0x{language:04x} ({len(raw)} bytes)")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    commands = parser.add_subparsers(dest="command", required=True)
    commands.add_parser("pot").add_argument("out")
    res = commands.add_parser("res")
    res.add_argument("po_dir")
    res.add_argument("out")
    commands.add_parser("dump").add_argument("res")
    arguments = parser.parse_args()
    if arguments.command == "pot":
        pot(arguments.out)
    elif arguments.command == "res":
        translations(arguments.po_dir, arguments.out)
    else:
        dump(arguments.res)


if __name__ == "__main__":
    main()
