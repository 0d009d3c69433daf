#!/usr/bin/env python3
"""Builds the tips file the program reads (all.txt) from its readable source.

Every byte is stored shifted up by the program's kTipsShift, read out of the
C++ header so that the two can never disagree; lines end in CR LF. A
translation (--utf8) is UTF-8 and shifted byte by byte the same way.

The source is checked on the way, because a bad line would only show as a
garbled or missing saying at some break weeks later:
  - only printable ASCII (a translation: printable characters of any script),
    so that no shifted byte becomes a line end and the popup's font draws
    every character;
  - no "&", which the popup would draw as an underline prefix;
  - line 0 is a heading, and no saying stands above the first heading;
  - sayings fit the popup's body (MAX_SAYING characters, three short lines);
  - no saying appears twice.
"""

import argparse
import re
import sys
import unicodedata

MAX_SAYING = 100
MAX_SOURCE = 40
# A translation may run longer: the popup shrinks its font a little, then wraps.
# Wide (East Asian) characters count twice.
MAX_TRANSLATED_SAYING = 150
MAX_TRANSLATED_SOURCE = 60


def width(text):
    return sum(2 if unicodedata.east_asian_width(c) in "WF" else 1 for c in text)


def read_shift(header_path):
    with open(header_path, encoding="ascii") as header:
        text = header.read()
    match = re.search(r"\bkTipsShift\s*=\s*(\d+)\s*;", text)
    if not match:
        sys.exit(f"{header_path}: no 'kTipsShift = <number>;' found")
    shift = int(match.group(1))
    if not 0 < shift < 256:
        sys.exit(f"{header_path}: kTipsShift {shift} is not a byte")
    return shift


def source_lines(source_path):
    with open(source_path, "rb") as source:
        data = source.read()
    lines = data.replace(b"\r\n", b"\n").split(b"\n")
    if lines and lines[-1] == b"":
        lines.pop()
    return lines


def decode(line, utf8):
    """The line's text, or None when it holds what the popup cannot show."""
    if not utf8:
        if any(byte < 0x20 or byte > 0x7E for byte in line):
            return None
        return line.decode("ascii")
    try:
        text = line.decode("utf-8")
    except UnicodeDecodeError:
        return None
    if any(unicodedata.category(c) in ("Cc", "Cs", "Co", "Cn") for c in text):
        return None
    return text


def check(lines, source_path, utf8=False):
    problems = []
    seen = {}
    heading_seen = False
    max_saying = MAX_TRANSLATED_SAYING if utf8 else MAX_SAYING
    max_source = MAX_TRANSLATED_SOURCE if utf8 else MAX_SOURCE
    for number, line in enumerate(lines):
        where = f"{source_path}:{number + 1}"
        text = decode(line, utf8)
        if text is None:
            problems.append(f"{where}: " + ("only printable UTF-8 text is allowed" if utf8
                                           else "only printable ASCII is allowed"))
            continue
        if text != text.strip():
            problems.append(f"{where}: leading or trailing blanks")
        if not text:
            continue
        if text.startswith("["):
            heading_seen = True
            if not text.endswith("]") or width(text) - 2 > max_source:
                problems.append(f"{where}: a heading is [Source], at most {max_source} characters")
            continue
        if number == 0 or not heading_seen:
            problems.append(f"{where}: a saying needs a heading above it")
        if "&" in text:
            problems.append(f"{where}: '&' would show as an underline")
        if width(text) > max_saying:
            problems.append(f"{where}: {width(text)} characters wide, at most {max_saying} fit")
        key = re.sub(r"[\W_]+", " ", text.casefold()).strip()
        if key in seen:
            problems.append(f"{where}: same saying as line {seen[key]}")
        else:
            seen[key] = number + 1
    if not lines or not lines[0].startswith(b"["):
        problems.append(f"{source_path}:1: the first line must be a heading")
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--header", required=True, help="C++ header defining kTipsShift")
    parser.add_argument("--source", required=True, help="readable tips file")
    parser.add_argument("--output", help="encoded file to write (omit to only check)")
    parser.add_argument("--utf8", action="store_true", help="a translation, in UTF-8")
    args = parser.parse_args()

    shift = read_shift(args.header)
    lines = source_lines(args.source)
    problems = check(lines, args.source, args.utf8)
    encoded_lines = [bytes((byte + shift) % 256 for byte in line) for line in lines]
    for number, line in enumerate(encoded_lines):
        if b"\r" in line or b"\n" in line:
            problems.append(f"{args.source}:{number + 1}: a byte would turn into a line end")
    if problems:
        sys.exit("\n".join(problems))
    if args.output:
        encoded = b"".join(line + b"\r\n" for line in encoded_lines)
        with open(args.output, "wb") as output:
            output.write(encoded)


if __name__ == "__main__":
    main()
