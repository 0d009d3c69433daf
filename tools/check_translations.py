#!/usr/bin/env python3
"""Checks the translated sayings files against the English one.

Each res/tips/tips.<lang>.txt must hold every saying of res/tips/tips.txt on the
same line (the program picks sayings by line number): the same number of lines,
headings and empty lines in the same places, UTF-8 without a byte-order mark, CR LF
line ends. With hunspell installed, every word must be known to the language's
dictionary or listed in res/tips/words.<lang>.txt.
"""
import pathlib
import shutil
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
TIPS = ROOT / "res" / "tips"
# The languages the program ships, and their spelling dictionaries (none for
# Japanese and Chinese).
LANGUAGES = {
    "de-DE": "de_DE", "fr-FR": "fr_FR", "es-ES": "es_ES", "it-IT": "it_IT",
    "pt-BR": "pt_BR", "nl-NL": "nl_NL", "pl-PL": "pl_PL", "ru-RU": "ru_RU",
    "uk-UA": "uk_UA", "ja-JP": None, "zh-CN": None,
}


def read_lines(path, problems):
    data = path.read_bytes()
    if data.startswith(b"\xef\xbb\xbf"):
        problems.append(f"{path.name}: starts with a byte-order mark")
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError as error:
        problems.append(f"{path.name}: not UTF-8 ({error})")
        return []
    if "\n" in text.replace("\r\n", "") or "\r" in text.replace("\r\n", ""):
        problems.append(f"{path.name}: a line end that is not CR LF")
    return text.split("\r\n")


def kind(line):
    if line.startswith("["):
        return "heading"
    return "empty" if not line.strip() else "saying"


def check_structure(english, lang, problems):
    path = TIPS / f"tips.{lang}.txt"
    if not path.exists():
        problems.append(f"{path.name}: missing")
        return
    lines = read_lines(path, problems)
    if len(lines) != len(english):
        problems.append(f"{path.name}: {len(lines)} lines, the English file {len(english)}")
    for number, (ours, theirs) in enumerate(zip(english, lines), start=1):
        if kind(ours) != kind(theirs):
            problems.append(f"{path.name}:{number}: a {kind(theirs)} where English has a {kind(ours)}")


def check_spelling(lang, dictionary, problems):
    path = TIPS / f"tips.{lang}.txt"
    words = TIPS / f"words.{lang}.txt"
    command = ["hunspell", "-d", dictionary, "-l", "-i", "utf-8"]
    if words.exists():
        command += ["-p", str(words)]
    result = subprocess.run(command + [str(path)], capture_output=True, text=True, check=False)
    unknown = sorted(set(result.stdout.split()))
    if result.returncode != 0 or unknown:
        problems.append(f"{path.name}: not in the {dictionary} dictionary nor in {words.name}: "
                        + " ".join(unknown[:20]) + (result.stderr.strip() and f" ({result.stderr.strip()})"))


def main():
    problems = []
    english = read_lines(TIPS / "tips.txt", problems)
    spelling = shutil.which("hunspell") is not None
    for lang, dictionary in LANGUAGES.items():
        check_structure(english, lang, problems)
        if spelling and dictionary and (TIPS / f"tips.{lang}.txt").exists():
            check_spelling(lang, dictionary, problems)
    for problem in problems[:50]:
        print(problem, file=sys.stderr)
    if not spelling:
        print("hunspell is not installed: spelling not checked", file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
