#!/usr/bin/env python3
"""The core and zevo-cli build for Windows too: no POSIX-only header or call outside the places
that may have them.

Allowed places:
  - src/paths/ (the platform's file and process services, written for both),
  - every folder named qt/ and the programs' main.cpp of the Qt front ends (Linux only),
  - files listed in ONLY_POSIX below, which CMake builds on POSIX systems only,
  - code inside a preprocessor block that Windows never compiles: `#ifndef _WIN32`,
    `#if !defined(_WIN32)`, `#ifdef __linux__` / `__unix__` / `__APPLE__`, a ZEVO_POSIX_* macro,
    and the #else branch of `#ifdef _WIN32` / `#if defined(_WIN32)`.

Checked: src/ and cli/ (what the Windows build compiles). Comments and string literals are
skipped. Exit status 1 with one line a finding, else 0.
"""
import re
import subprocess
import sys
from pathlib import Path

from cppsource import scan

ROOT = Path(__file__).resolve().parent.parent
CHECKED = ("src/", "cli/")
ALLOWED_FOLDERS = ("src/paths/",)
# Built only where iconv is (see CMakeLists.txt); its Windows twin is cp932_tables_win.cpp.
ONLY_POSIX = {"src/text/cp932_tables_iconv.cpp"}

HEADERS = re.compile(
    r"#\s*include\s*<(unistd\.h|sys/mman\.h|sys/wait\.h|sys/socket\.h|sys/ioctl\.h|"
    r"sys/resource\.h|sys/utsname\.h|dirent\.h|pthread\.h|dlfcn\.h|termios\.h|poll\.h|"
    r"pwd\.h|grp\.h|langinfo\.h|iconv\.h|fcntl\.h|spawn\.h|execinfo\.h)>")
CALLS = re.compile(
    r"(?<![\w.>:])(?:::)?(sigaction|sigaltstack|sigemptyset|sigaddset|sigprocmask|"
    r"fsync|fdatasync|mmap|munmap|madvise|mprotect|getpid|getppid|fork|vfork|execv|execvp|"
    r"execl|execlp|waitpid|kill|pipe|dup2|readlink|realpath|symlink|localtime_r|gmtime_r|"
    r"nl_langinfo|iconv_open|opendir|readdir|closedir|pthread_\w+|posix_spawn\w*|"
    r"setenv|unsetenv|usleep|sysconf|getuid|geteuid)\s*\(")

# Conditions under which Windows never compiles the block.
POSIX_ONLY = re.compile(
    r"^\s*#\s*(?:if\s+!\s*defined\s*\(?\s*_WIN32\s*\)?\s*$|ifndef\s+_WIN32\b|"
    r"if(?:def)?\s+.*\b(?:__linux__|__unix__|__APPLE__|ZEVO_POSIX_\w+)\b)")
WINDOWS_ONLY = re.compile(r"^\s*#\s*(?:ifdef\s+_WIN32\b|if\s+defined\s*\(?\s*_WIN32\s*\)?\s*$)")


def findings(rel, text):
    # A stack of (this block is POSIX-only, the block's #if was Windows-only) for each open #if.
    stack = []
    for number, line in enumerate(scan(text)[0].split("\n"), 1):
        directive = re.match(r"^\s*#\s*(\w+)", line)
        word = directive.group(1) if directive else ""
        if word in ("if", "ifdef", "ifndef"):
            stack.append([bool(POSIX_ONLY.match(line)), bool(WINDOWS_ONLY.match(line))])
            continue
        if word in ("elif", "else") and stack:
            # The #else of a Windows-only block is POSIX-only; an #elif is judged by itself.
            stack[-1][0] = stack[-1][1] if word == "else" else bool(POSIX_ONLY.match(
                line.replace("elif", "if", 1)))
            stack[-1][1] = False
            continue
        if word == "endif" and stack:
            stack.pop()
            continue
        if any(posix for posix, _ in stack):
            continue
        m = HEADERS.search(line) or CALLS.search(line)
        if m:
            yield f"{rel}:{number}: {m.group(1)} outside a POSIX-only block"


def tracked_sources():
    out = subprocess.run(["git", "ls-files", "--", *CHECKED], cwd=ROOT, capture_output=True,
                         text=True, check=True).stdout.split()
    return [p for p in out if p.endswith((".cpp", ".h"))]


def allowed(rel):
    return (rel.startswith(ALLOWED_FOLDERS) or "/qt/" in rel or rel in ONLY_POSIX)


def main():
    problems = []
    files = [p for p in tracked_sources() if not allowed(p)]
    for rel in files:
        problems += findings(rel, (ROOT / rel).read_text(encoding="utf-8", errors="replace"))
    for p in problems:
        print(p)
    print(f"check-posix: {len(files)} files, {len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
