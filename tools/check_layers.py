#!/usr/bin/env python3
"""Fails when a folder of src/ includes a folder above it, or one that is not
in the list at all (test doubles under tests/ among them).

The folders form layers, from the top down; a file may include headers of its
own folder and of folders below it, never above."""
import pathlib
import re
import sys

LAYERS = ["app", "settings", "history", "wizards", "exercises", "update", "scheduler", "notify",
          "sound", "tips", "store", "ui", "inputwatch"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([A-Za-z_]+)/')


def main() -> int:
    src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src")
    rank = {name: i for i, name in enumerate(LAYERS)}
    faults = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in {".h", ".c", ".cpp"}:
            continue
        folder = path.relative_to(src).parts[0]
        if folder not in rank:
            faults.append(f"{path}: the folder {folder}/ has no place in the layers")
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            target = match.group(1)
            if target not in rank:
                faults.append(f"{path}:{number}: includes {target}/, which is not a layer of src/")
            elif rank[target] < rank[folder]:
                faults.append(f"{path}:{number}: {folder}/ includes {target}/, a layer above it")
    for fault in faults:
        print(fault, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
