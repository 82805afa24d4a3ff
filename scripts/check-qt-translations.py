#!/usr/bin/env python3
"""Fails when a Japanese text of the Qt windows is not translated.

Every string literal with non-ASCII characters in the Qt sources (src/**/qt/*.cpp and .h, the
programs' main.cpp files) must be the argument of T("...") (context "Zevo", see
src/interface/qt/interface_language.h), and translations/zevo_en.ts must hold each such text with
a finished English translation. Texts the sources no longer use are reported too.

--update adds the missing texts to the file as unfinished entries and drops the unused ones, so
that a translator only fills in the new lines.
"""
import pathlib
import re
import sys
import xml.etree.ElementTree as ET
from xml.sax.saxutils import escape

import cppsource

root = pathlib.Path(__file__).resolve().parent.parent
ts_file = root / "translations" / "zevo_en.ts"
CONTEXT = "Zevo"



def sources():
    for path in sorted((root / "src").rglob("*")):
        if path.suffix in (".cpp", ".h") and "qt" in path.relative_to(root / "src").parts:
            yield path


def scan():
    """(texts used through T, problems)"""
    used = {}
    problems = []
    call = re.compile(r"\bT\(\s*$")
    for path in sources():
        code, lits = cppsource.scan(path.read_text(encoding="utf-8"))
        rel = path.relative_to(root).as_posix()
        for lit in lits:
            if lit.quote != '"' or lit.raw:
                continue
            value = lit.value(unknown_escape_keeps_backslash=False)
            if value.isascii():
                continue
            line = lit.line
            if not call.search(code[max(0, lit.start - 40) : lit.start]):
                problems.append(f'{rel}:{line}: "{value}" is not inside T(...)')
                continue
            used.setdefault(value, f"{rel}:{line}")
    return used, problems


def read_ts():
    """[(source, translation or None when unfinished)] in file order."""
    if not ts_file.exists():
        return []
    entries = []
    for ctx in ET.parse(ts_file).getroot().iter("context"):
        if ctx.findtext("name") != CONTEXT:
            continue
        for msg in ctx.iter("message"):
            t = msg.find("translation")
            done = t is not None and t.get("type") not in ("unfinished", "obsolete", "vanished")
            text = (t.text or "") if t is not None else ""
            entries.append((msg.findtext("source") or "", text if done and text else None))
    return entries


def write_ts(entries):
    lines = ['<?xml version="1.0" encoding="utf-8"?>', "<!DOCTYPE TS>",
             '<TS version="2.1" language="en_US" sourcelanguage="ja_JP">', "<context>",
             f"    <name>{CONTEXT}</name>"]
    for source, translation in entries:
        lines.append("    <message>")
        lines.append(f"        <source>{escape(source)}</source>")
        if translation is None:
            lines.append('        <translation type="unfinished"></translation>')
        else:
            lines.append(f"        <translation>{escape(translation)}</translation>")
        lines.append("    </message>")
    lines += ["</context>", "</TS>", ""]
    ts_file.write_text("\n".join(lines), encoding="utf-8")


def main():
    used, problems = scan()
    entries = read_ts()
    known = {s for s, _ in entries}
    if "--update" in sys.argv[1:]:
        kept = [(s, t) for s, t in entries if s in used]
        kept += [(s, None) for s in used if s not in known]
        write_ts(kept)
        entries, known = kept, {s for s, _ in kept}
    for source, where in used.items():
        if source not in known:
            problems.append(f'{where}: "{source}" is missing from {ts_file.name}')
    for source, translation in entries:
        if source not in used:
            problems.append(f'{ts_file.name}: "{source}" is no longer used')
        elif translation is None:
            problems.append(f'{ts_file.name}: "{source}" has no finished translation')
        elif not translation.isascii():
            problems.append(f'{ts_file.name}: the translation of "{source}" is not English')
    for p in problems:
        print(p)
    print(f"check-qt-translations: {len(used)} text(s), {len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
