#!/usr/bin/env python3
"""Fails when a folder of src/ includes a folder above it, or one that is not
in the list at all (test doubles under tests/ among them).

The folders form layers, from the top down; a file may include headers of its
own folder and of folders below it, never above. Below them all lie the id
headers of res/ (defines only), which any file may include by their bare
name; any other bare name (a header found through an include path, or one
that is not there) is a fault too.

Device contexts and the objects selected into them are owned by ui/handles.h
(WindowDc, MemoryDc, SelectedObject): a raw call outside ui/ is a fault."""
import pathlib
import re
import sys

LAYERS = ["app", "settings", "history", "wizards", "exercises", "update", "scheduler", "notify",
          "sound", "tips", "store", "ui", "inputwatch"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
RAW_DRAWING = re.compile(r'::(SelectObject|GetDC|ReleaseDC|DeleteDC)\(')


def main() -> int:
    src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src")
    res = src.parent / "res"
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
            if folder != "ui" and RAW_DRAWING.search(line):
                faults.append(f"{path}:{number}: a raw device-context call; use the owners "
                              "of ui/handles.h")
            match = INCLUDE.match(line)
            if not match:
                continue
            name = match.group(1)
            if "/" not in name:
                if not (res / name).is_file() and not (path.parent / name).is_file():
                    faults.append(f"{path}:{number}: includes {name}, which is no header of res/")
                elif (path.parent / name).is_file() and folder != "inputwatch":
                    faults.append(f"{path}:{number}: includes {name} by its bare name; "
                                  f"write {folder}/{name}")
                continue
            target = name.split("/")[0]
            if target not in rank:
                faults.append(f"{path}:{number}: includes {target}/, which is not a layer of src/")
            elif rank[target] < rank[folder]:
                faults.append(f"{path}:{number}: {folder}/ includes {target}/, a layer above it")
    for fault in faults:
        print(fault, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
