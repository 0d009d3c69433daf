#!/usr/bin/env python3
"""Checks the administrative templates against the settings the program has.

    check_policies.py [repository root]

Every policy of installer/policies/Pausora.admx must write a value the
program reads, with its type and range as src/store/time_settings.cpp has
them; every setting but "Bonus" must have a policy; every string and
presentation the template uses must be in en-US/Pausora.adml; every value
must be in the README's table; and xmllint must find both files well formed.
Prints what is wrong and ends non-zero.
"""
import ast
import operator
import re
import subprocess
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

NS = {"p": "http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions"}
POLICY_KEY = r"Software\Policies\Pausora\TimeSettings"
# Experience points are a counter, not a setting.
NO_POLICY = {"Bonus"}
# Values only an administrator sets: switches that default to 1.
POLICY_ONLY = {name: ("REG_DWORD", 0, 1) for name in ("AllowExit", "AllowStop", "UpdateCheck")}


def arithmetic(text, constants):
    """The value of a constant expression of the table: numbers (decimal or
    hex), names defined before, + - * / and brackets."""
    ops = {ast.Add: operator.add, ast.Sub: operator.sub, ast.Mult: operator.mul,
           ast.FloorDiv: operator.floordiv, ast.Div: operator.floordiv}

    def value(node):
        if isinstance(node, ast.Constant) and isinstance(node.value, int):
            return node.value
        if isinstance(node, ast.Name) and node.id in constants:
            return constants[node.id]
        if isinstance(node, ast.BinOp) and type(node.op) in ops:
            return ops[type(node.op)](value(node.left), value(node.right))
        raise ValueError(f"cannot work out '{text}'")

    cleaned = re.sub(r"\b(0[xX][0-9a-fA-F]+|\d+)[uUlL]*\b", r"\1", text.strip())
    return value(ast.parse(cleaned, mode="eval").body)


def settings_values(source, header):
    """{value name: (registry type, least, most)} from the settings table."""
    constants = {}
    for name, expr in re.findall(r"constexpr\s+std::uint32_t\s+(\w+)\s*=\s*([^;]+);", source):
        constants[name] = arithmetic(expr, constants)
    values = {}
    table = re.search(r"kNumericFields\[\]\s*=\s*\{(.*?)\n\};", source, re.S)
    if not table:
        raise ValueError("no kNumericFields table in the settings source")
    body = re.sub(r"//[^\n]*", "", table.group(1))
    for row in re.findall(r"\{\s*(\"[^}]*)\}", body):
        fields = [f.strip() for f in row.split(",")]
        name = fields[0].strip('"')
        least, most = (fields[4], fields[5]) if len(fields) >= 6 else ("0", "1")
        values[name] = ("REG_DWORD", arithmetic(least, constants), arithmetic(most, constants))
    sounds = re.search(r"kSoundEvents\s*=\s*\{\{(.*?)\}\};", source, re.S)
    if not sounds:
        raise ValueError("no kSoundEvents table in the settings source")
    for name in re.findall(r"\{\s*\"(\w+)\"", sounds.group(1)):
        values[name] = ("REG_SZ", None, None)
    # A list of names is a field of strings, kept as one REG_MULTI_SZ.
    record = re.search(r"struct STimeSettings\s*\{(.*?)\n\};", header, re.S)
    for name in re.findall(r"std::vector<std::string>\s+(\w+)\s*;", record.group(1) if record else ""):
        values[name] = ("REG_MULTI_SZ", None, None)
    # A text field of the record is a REG_SZ of its own name.
    for name in re.findall(r"^\s*std::string\s+(\w+)\s*;", record.group(1) if record else "", re.M):
        values[name] = ("REG_SZ", None, None)
    return values


def check(root):
    problems = []
    admx_path = root / "installer/policies/Pausora.admx"
    adml_path = root / "installer/policies/en-US/Pausora.adml"
    lint = subprocess.run(["xmllint", "--noout", str(admx_path), str(adml_path)],
                          capture_output=True, text=True)
    if lint.returncode != 0:
        return [f"xmllint: {lint.stderr.strip()}"]

    source = (root / "src/store/time_settings.cpp").read_text()
    header = (root / "src/store/time_settings.h").read_text()
    known = settings_values(source, header)
    known.update(POLICY_ONLY)

    admx = ET.parse(admx_path).getroot()
    adml = ET.parse(adml_path).getroot()
    strings = {s.get("id"): (s.text or "").strip() for s in adml.iterfind(".//p:string", NS)}
    presentations = {p.get("id"): p for p in adml.iterfind(".//p:presentation", NS)}
    categories = {c.get("name") for c in admx.iterfind(".//p:category", NS)}
    supported = {d.get("name") for d in admx.iterfind(".//p:supportedOn/p:definitions/p:definition", NS)}

    for match in re.finditer(r"\$\(string\.([^)]+)\)", admx_path.read_text()):
        if not strings.get(match.group(1)):
            problems.append(f"string '{match.group(1)}' is missing or empty in the ADML")

    written = {}
    for policy in admx.iterfind(".//p:policy", NS):
        name = policy.get("name")
        where = f"policy {name}"
        if policy.get("class") != "Both":
            problems.append(f"{where}: class is not Both")
        if policy.get("key") != POLICY_KEY:
            problems.append(f"{where}: key is not {POLICY_KEY}")
        parent = policy.find("p:parentCategory", NS)
        if parent is None or parent.get("ref") not in categories:
            problems.append(f"{where}: no known parent category")
        support = policy.find("p:supportedOn", NS)
        if support is None or support.get("ref") not in supported:
            problems.append(f"{where}: no known supportedOn")

        if policy.get("valueName"):
            # A switch: enabled writes 1, disabled 0.
            value = policy.get("valueName")
            written.setdefault(value, []).append(where)
            on = policy.find("p:enabledValue/p:decimal", NS)
            off = policy.find("p:disabledValue/p:decimal", NS)
            if on is None or off is None or on.get("value") != "1" or off.get("value") != "0":
                problems.append(f"{where}: a switch must write 1 when enabled and 0 when disabled")
            if known.get(value) != ("REG_DWORD", 0, 1):
                problems.append(f"{where}: {value} is not a switch the program has "
                                f"(it has {known.get(value)})")

        elements = list(policy.find("p:elements", NS) or [])
        controls = {}
        if elements:
            match = re.fullmatch(r"\$\(presentation\.([^)]+)\)", policy.get("presentation") or "")
            shown = presentations.get(match.group(1)) if match else None
            if shown is None:
                problems.append(f"{where}: its presentation is missing from the ADML")
            else:
                controls = {c.get("refId"): c for c in shown}
        for element in elements:
            kind = element.tag.split("}")[1]
            value = element.get("valueName")
            written.setdefault(value, []).append(where)
            if element.get("key") not in (None, POLICY_KEY):
                problems.append(f"{where}: {value} is written under another key")
            control = controls.get(element.get("id"))
            if controls and control is None:
                problems.append(f"{where}: no control in the ADML shows {element.get('id')}")
            have = known.get(value)
            if kind == "decimal":
                # storeAsText would write a REG_SZ the program ignores.
                lo, hi = int(element.get("minValue", 0)), int(element.get("maxValue", 9999))
                if element.get("storeAsText") == "true" or have != ("REG_DWORD", lo, hi):
                    problems.append(f"{where}: {value} as REG_DWORD {lo}..{hi}; the program has {have}")
                if have and have[1:] == (0, 1):
                    problems.append(f"{where}: {value} is a switch: make it an enabled/disabled policy")
                default = control.get("defaultValue") if control is not None else None
                if default is not None and not lo <= int(default) <= hi:
                    problems.append(f"{where}: default {default} of {value} is out of range")
            elif kind == "text":
                if element.get("expandable") == "true":
                    problems.append(f"{where}: {value} would be a REG_EXPAND_SZ; the program reads REG_SZ")
                elif have != ("REG_SZ", None, None):
                    problems.append(f"{where}: {value} as REG_SZ; the program has {have}")
            elif kind == "multiText":
                if have != ("REG_MULTI_SZ", None, None):
                    problems.append(f"{where}: {value} as REG_MULTI_SZ; the program has {have}")
            else:
                problems.append(f"{where}: element <{kind}> writes no value the program reads")

    for value, policies in sorted(written.items()):
        if len(policies) > 1:
            problems.append(f"{value} is written by more than one policy: {', '.join(policies)}")
    for value in sorted(set(known) - set(written) - NO_POLICY):
        problems.append(f"{value} has no policy")
    for value in sorted(NO_POLICY & set(written)):
        problems.append(f"{value} must have no policy")

    # The README's table: | `Value` | type | range | what it does |
    readme = (root / "README.md").read_text()
    rows = {m.group(1): (m.group(2), m.group(3).strip())
            for m in re.finditer(r"^\| `(\w+)` \| (\w+) \| ([^|]*)\|", readme, re.M)}
    for value in sorted(written):
        kind, least, most = known.get(value, (None, None, None))
        if value not in rows:
            problems.append(f"README.md: the policy table lacks `{value}`")
        elif rows[value][0] != kind:
            problems.append(f"README.md: `{value}` is a {kind}, not a {rows[value][0]}")
        elif kind == "REG_DWORD":
            text = "0, 1" if (least, most) == (0, 1) else f"{least}\N{EN DASH}{most}"
            if rows[value][1] not in (text, text + " s"):
                problems.append(f"README.md: the range of `{value}` is {text}, not {rows[value][1]}")
    return problems


def main():
    root = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent)
    try:
        problems = check(root)
    except (ValueError, ET.ParseError, OSError) as error:
        problems = [str(error)]
    for problem in problems:
        print(f"check_policies: {problem}", file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
