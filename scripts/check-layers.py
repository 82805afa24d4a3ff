#!/usr/bin/env python3
"""Fails when a source file under src/ includes a header of a higher layer than its own.

The order of the layers is the one docs/architecture.md gives on its line starting with
"Layer order (lowest first):". A folder named qt/ belongs to the layer of its parent; a file
belongs to the longest layer folder that holds it.
"""
import pathlib
import re
import sys

root = pathlib.Path(__file__).resolve().parent.parent
doc = (root / "docs" / "architecture.md").read_text(encoding="utf-8")
m = re.search(r"^Layer order \(lowest first\):(.*)$", doc, re.M)
if not m:
    sys.exit("check-layers: docs/architecture.md has no 'Layer order (lowest first):' line")
order = re.findall(r"`([a-z_/]+)/`", m.group(1))
rank = {name: i for i, name in enumerate(order)}


def layer_of(rel):
    """The layer of a path relative to src/ ('shell/qt/x.cpp' -> 'shell'), or None."""
    parts = [p for p in rel.split("/")[:-1] if p != "qt"]
    for n in range(len(parts), 0, -1):
        name = "/".join(parts[:n])
        if name in rank:
            return name
    return None


include = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
bad = []
unknown = set()
for path in sorted((root / "src").rglob("*")):
    if path.suffix not in (".h", ".cpp"):
        continue
    rel = path.relative_to(root / "src").as_posix()
    own = layer_of(rel)
    if own is None:
        unknown.add(rel.rsplit("/", 1)[0] if "/" in rel else rel)
        continue
    for inc in include.findall(path.read_text(encoding="utf-8", errors="replace")):
        target = layer_of(inc)
        if target is not None and rank[target] > rank[own]:
            bad.append(f"src/{rel}: includes {inc} ({target} is above {own})")
for folder in sorted(unknown):
    bad.append(f"src/{folder}/: not in the layer order of docs/architecture.md")
for line in bad:
    print(line)
print(f"check-layers: {len(order)} layers, {len(bad)} problem(s)")
sys.exit(1 if bad else 0)
