#!/usr/bin/env python3
"""Joins the page's script files (one per view, web/page/parts/) into one.

The page opens straight from disk (file://), where it can load classic
scripts but no modules; so its parts are joined at build time, in the order
given, inside one function, which keeps their names out of the window's.
What the browser never needs is left out: lines that are only a comment,
the indentation and blank lines. The page's sources have no text that spans
lines (no multi-line template), which this relies on; the build stops where
one appears.

    join_page.py OUTPUT.js [--wrap] PART.js...
"""
import sys


def stripped_lines(path):
    """The lines of a part that the browser needs, without their indentation."""
    with open(path, encoding="utf-8") as part:
        lines = part.read().split("\n")
    kept = []
    for number, line in enumerate(lines, 1):
        if line.count("`") % 2 == 1 or "/*" in line:
            sys.exit(f"join_page: {path}:{number}: a template or comment across lines; write it on one line")
        line = line.strip()
        if line and not line.startswith("//") and line != '"use strict";':
            kept.append(line)
    return kept


def main():
    output, *parts = sys.argv[1:]
    wrap = parts[:1] == ["--wrap"]
    if wrap:
        parts = parts[1:]
    lines = ["// Generated from web/page/ by cmake/scripts/join_page.py; do not edit.", '"use strict";']
    if wrap:
        lines.append("(function () {")
    for part in parts:
        lines += stripped_lines(part)
    if wrap:
        lines.append("})();")
    text = "\n".join(lines) + "\n"
    try:
        with open(output, encoding="utf-8") as existing:
            if existing.read() == text:
                return
    except FileNotFoundError:
        pass
    with open(output, "w", encoding="utf-8") as joined:
        joined.write(text)


if __name__ == "__main__":
    main()
