#!/usr/bin/env python3
"""Fails when a Japanese text of the core has no English.

Every string literal with non-ASCII characters in src/ (outside the `qt/` folders and the
main.cpp files, which Qt's own translation files cover) must be
  - a key of the English catalog (src/text/catalog_en.cpp), byte for byte, or
  - a text of the string table (src/text/strings.cpp), which has its own English table, or
  - one of the texts below that only ever go into files (they stay Japanese in every language),
    or a sign or name that is no word of a language.
Catalog keys that match no literal any more are reported too, so that the catalog follows the
code when a text is reworded. Prints what is missing; `--list` prints every literal found.
"""
import pathlib
import sys

root = pathlib.Path(__file__).resolve().parent.parent
src = root / "src"
catalog_file = src / "text" / "catalog_en.cpp"
table_file = src / "text" / "strings.cpp"
table_en_file = src / "text" / "strings_en.cpp"

# Texts that only go into files stay Japanese in every language. Today every such text is a
# text of the string table, taken with TableTextJapanese or TableTextCp932; a literal that only
# goes into a file would be listed here, with the file it goes into.
FILE_ONLY = set()

# Not words of a language: signs and names that read the same in English.
NOT_WORDS = {
    "×",  # the key pad's multiplication and division keys
    "÷",
    "⇔",  # between the two layers of a component side pair
    "ＭＳ ゴシック",  # the font of the trace characters: a font's name
}


def literals(text):
    """The string literals of C++ source `text` as (line, value) pairs; adjacent literals are
    joined. Comments, character literals and raw strings are understood well enough for our
    sources."""
    out = []
    i, n, line = 0, len(text), 1
    pending = None  # (line, value) of a literal that a following literal may continue
    while i < n:
        c = text[i]
        if c == "\n":
            line += 1
            i += 1
        elif text.startswith("//", i):
            j = text.find("\n", i)
            i = n if j < 0 else j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            line += text.count("\n", i, j)
            i = j
        elif c == "R" and text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            k = text.find("(", i + 2)
            delim = ")" + text[i + 2:k] + '"'
            j = text.find(delim, k + 1)
            value = text[k + 1:j]
            j += len(delim)
            pending = (pending[0], pending[1] + value) if pending else (line, value)
            line += text.count("\n", i, j)
            i = j
            continue
        elif c == '"':
            j = i + 1
            buf = []
            while j < n and text[j] != '"':
                if text[j] == "\\" and j + 1 < n:
                    esc = text[j + 1]
                    buf.append({"n": "\n", "t": "\t", "\\": "\\", '"': '"', "'": "'"}.get(esc, "\\" + esc))
                    j += 2
                else:
                    buf.append(text[j])
                    j += 1
            value = "".join(buf)
            pending = (pending[0], pending[1] + value) if pending else (line, value)
            i = j + 1
            continue
        elif c == "'":
            j = i + 1
            while j < n and text[j] != "'":
                j += 2 if text[j] == "\\" else 1
            i = j + 1
        elif c in " \t\r\\":
            i += 1
            continue  # whitespace (and macro line continuations) keeps a literal open
        else:
            i += 1
        if pending and c not in " \t\r\n":
            out.append(pending)
            pending = None
    if pending:
        out.append(pending)
    return out


def japanese(s):
    return any(ord(ch) > 127 for ch in s)


def catalog_pairs(path):
    """The (Japanese, English) pairs of the catalog: `{"ja", "en"},` rows in order."""
    text = path.read_text(encoding="utf-8")
    start = text.find("kCatalog[] = {")
    text = text[start:text.find("\n};", start)] if start >= 0 else ""
    values = [v for _, v in literals(text)]
    return list(zip(values[0::2], values[1::2]))


def main():
    if not catalog_file.exists():
        print(f"check-translations: {catalog_file.relative_to(root)} is missing")
        return 1
    pairs = catalog_pairs(catalog_file)
    catalog = {ja for ja, _ in pairs}
    table = {v for _, v in literals(table_file.read_text(encoding="utf-8")) if japanese(v)}
    found = {}
    for path in sorted(src.rglob("*")):
        rel = path.relative_to(root)
        if path.suffix not in (".h", ".cpp") or "qt" in rel.parts or path.name == "main.cpp":
            continue
        if path in (catalog_file, table_file, table_en_file):
            continue
        for line, value in literals(path.read_text(encoding="utf-8")):
            if japanese(value):
                found.setdefault(value, f"{rel}:{line}")
    if "--list" in sys.argv:
        for value, where in found.items():
            print(f"{where}\t{value}")
        return 0
    missing = [(w, v) for v, w in found.items() if v not in catalog and v not in table and v not in FILE_ONLY | NOT_WORDS]
    stale = [ja for ja in sorted(catalog) if ja not in found]
    dupes = sorted({ja for ja, _ in pairs if sum(1 for k, _ in pairs if k == ja) > 1})
    empty = [ja for ja, en in pairs if not en.strip() or japanese(en)]
    for where, value in missing:
        print(f"{where}: no English for \"{value}\"")
    for ja in stale:
        print(f"{catalog_file.relative_to(root)}: \"{ja}\" is no text of the sources any more")
    for ja in dupes:
        print(f"{catalog_file.relative_to(root)}: \"{ja}\" is in the catalog twice")
    for ja in empty:
        print(f"{catalog_file.relative_to(root)}: \"{ja}\" has no English text")
    bad = len(missing) + len(stale) + len(dupes) + len(empty)
    print(f"check-translations: {len(found)} Japanese text(s), {len(catalog)} in the catalog, "
          f"{len(missing)} without English, {len(stale) + len(dupes) + len(empty)} catalog fault(s)")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
