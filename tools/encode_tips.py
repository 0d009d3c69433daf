#!/usr/bin/env python3
"""Builds the tips file the program reads (all.txt) from its readable source.

Every character is stored shifted up by the program's kTipsShift, read out of
the C++ header so that the two can never disagree; lines end in CR LF.

The source is checked on the way, because a bad line would only show as a
garbled or missing saying at some break weeks later:
  - only printable ASCII, so that no shifted byte becomes a line end or a
    control character, and the popup's font draws every character;
  - no "&", which the popup would draw as an underline prefix;
  - line 0 is a heading, and no saying stands above the first heading;
  - sayings fit the popup's body (MAX_SAYING characters, three short lines);
  - no saying appears twice.
"""

import argparse
import re
import sys

MAX_SAYING = 100
MAX_SOURCE = 40


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


def check(lines, source_path):
    problems = []
    seen = {}
    heading_seen = False
    for number, line in enumerate(lines):
        where = f"{source_path}:{number + 1}"
        if any(byte < 0x20 or byte > 0x7E for byte in line):
            problems.append(f"{where}: only printable ASCII is allowed")
            continue
        text = line.decode("ascii")
        if text != text.strip():
            problems.append(f"{where}: leading or trailing blanks")
        if not text:
            continue
        if text.startswith("["):
            heading_seen = True
            if not text.endswith("]") or len(text) - 2 > MAX_SOURCE:
                problems.append(f"{where}: a heading is [Source], at most {MAX_SOURCE} characters")
            continue
        if number == 0 or not heading_seen:
            problems.append(f"{where}: a saying needs a heading above it")
        if "&" in text:
            problems.append(f"{where}: '&' would show as an underline")
        if len(text) > MAX_SAYING:
            problems.append(f"{where}: {len(text)} characters, at most {MAX_SAYING} fit")
        key = re.sub(r"[^a-z0-9]+", " ", text.lower()).strip()
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
    args = parser.parse_args()

    shift = read_shift(args.header)
    lines = source_lines(args.source)
    problems = check(lines, args.source)
    if problems:
        sys.exit("\n".join(problems))
    if args.output:
        encoded = b"".join(bytes((byte + shift) % 256 for byte in line) + b"\r\n" for line in lines)
        with open(args.output, "wb") as output:
            output.write(encoded)


if __name__ == "__main__":
    main()
