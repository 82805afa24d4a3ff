#!/usr/bin/env python3
"""Fails when a command is named by its bare number outside the command table.

The table in src/tools/command_ids.h is the one place where command numbers are written; the
code names commands (`Cmd::RoundLand`). This looks for integer literals 97..499 passed to the
calls that take commands or edit operations, and for such literals as `case` labels.
"""
import pathlib
import re
import sys

root = pathlib.Path(__file__).resolve().parent.parent
table = root / "src" / "tools" / "command_ids.h"
number = r"(?:9[7-9]|[1-4][0-9][0-9])"
calls = re.compile(
    r"\b(command|tool|editOperation|toolBar\w*|setToolBar\w*|menuState|action|chooseTool|viewTool)"
    r"\s*\(\s*" + number + r"\b")
case = re.compile(r"\bcase\s+" + number + r"\s*:")
bad = []
for folder in ("src", "cli", "tests", "bench", "fuzz"):
    for path in sorted((root / folder).rglob("*")):
        if path.suffix not in (".h", ".cpp") or path == table:
            continue
        for n, text in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
            if calls.search(text) or case.search(text):
                bad.append(f"{path.relative_to(root)}:{n}: {text.strip()}")
for line in bad:
    print(line)
print(f"check-commands: {len(bad)} command number(s) outside the command table")
sys.exit(1 if bad else 0)
