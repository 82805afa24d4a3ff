"""Reading C++ sources for the checks: comments and literals found in one pass.

scan(text) gives the text with every comment and the inside of every string and character
literal blanked (newlines kept, so offsets and line numbers stay those of the file), and the
literals themselves. Good enough for our own sources: no trigraphs, no macros that make quotes.
"""
from typing import NamedTuple

ESCAPES = {"n": "\n", "t": "\t", "r": "\r", "\\": "\\", '"': '"', "'": "'", "0": "\0"}


class Literal(NamedTuple):
    start: int  # offset of the opening quote (or of the R of a raw string)
    end: int  # offset just past the closing quote
    line: int  # line of the opening quote, from 1
    body: str  # the text between the quotes, escapes as written
    quote: str  # '"' or "'"
    raw: bool

    def value(self, unknown_escape_keeps_backslash=True):
        """The literal's characters with the common escapes decoded."""
        if self.raw:
            return self.body
        out, i, n = [], 0, len(self.body)
        while i < n:
            c = self.body[i]
            if c == "\\" and i + 1 < n:
                e = self.body[i + 1]
                out.append(ESCAPES.get(e, ("\\" + e) if unknown_escape_keeps_backslash else e))
                i += 2
            else:
                out.append(c)
                i += 1
        return "".join(out)


def _blank(s):
    return "".join(ch if ch == "\n" else " " for ch in s)


def _is_digit_separator(text, i):
    """Whether the quote at i sits inside a number such as 1'000'000."""
    j = i
    while j > 0 and (text[j - 1].isalnum() or text[j - 1] in "_'"):
        j -= 1
    return j < i and text[j].isdigit()


def scan(text):
    """(blanked text, [Literal]) of C++ source `text`."""
    out, lits = [], []
    i, n, line = 0, len(text), 1
    while i < n:
        c = text[i]
        if c == "\n":
            out.append(c)
            line += 1
            i += 1
        elif text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            out.append(_blank(text[i:j]))
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append(_blank(text[i:j]))
            line += text.count("\n", i, j)
            i = j
        elif text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")) \
                and text.find("(", i + 2) >= 0:
            k = text.find("(", i + 2)
            delim = ")" + text[i + 2:k] + '"'
            j = text.find(delim, k + 1)
            j = n if j < 0 else j
            end = min(n, j + len(delim))
            lits.append(Literal(i, end, line, text[k + 1:j], '"', True))
            out.append(text[i:k + 1] + _blank(text[k + 1:j]) + text[j:end])
            line += text.count("\n", i, end)
            i = end
        elif c == '"' or (c == "'" and not _is_digit_separator(text, i)):
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            j = min(j, n)
            lits.append(Literal(i, min(n, j + 1), line, text[i + 1:j], c, False))
            out.append(c + _blank(text[i + 1:j]) + (c if j < n and text[j] == c else ""))
            i = j + 1 if j < n and text[j] == c else j
        else:
            out.append(c)
            i += 1
    return "".join(out), lits


def string_literals(text):
    """The string literals of `text` as (line, Literal list) groups: adjacent literals, which the
    compiler joins, come as one group."""
    blanked, lits = scan(text)
    groups = []
    for lit in lits:
        if lit.quote != '"':
            continue
        if groups:
            prev = groups[-1][1][-1]
            gap = blanked[prev.end:lit.start]
            # Whitespace, a macro's line continuation or an encoding prefix between them.
            if gap.replace("\\", "").strip() in ("", "u8", "L", "u", "U"):
                groups[-1][1].append(lit)
                continue
        groups.append((lit.line, [lit]))
    return groups
