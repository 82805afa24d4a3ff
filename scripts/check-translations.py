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

from cppsource import string_literals

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
    joined as the compiler joins them."""
    return [(line, "".join(lit.value() for lit in group)) for line, group in string_literals(text)]


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
