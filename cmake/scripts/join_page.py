#!/usr/bin/env python3
"""Writes the page's script, tesmirol-page.js: the bridge, the views and the
user's texts in one gzip stream, packed as packed_script.py writes it, and
the loader that unpacks and runs them.

The page opens straight from disk (file://), where it can load classic
scripts but no modules and fetch no JSON file; so its script files (one per
view, web/page/parts/) are joined at build time, in the order given, inside
one function, which keeps their names out of the window's. Before them come
the bridge (web/page/bridge.js) and the texts the page shows, in both
languages, from the text tables' JSON: the page's own ("page.") and a few of
the shared tables (the reports' labels, the link's verdicts, the catalogue's
chips), as the constant TESMIROL_TEXTS. What the browser never needs is left
out: lines that are only a comment, the indentation and blank lines. The
page's sources have no text that spans lines (no multi-line template), which
this relies on; the build stops where one appears. The whole is compressed
by zopfli, which takes a third less than plain text packed would; only the
loader (web/page/loader.js) stays plain text, after the packed bytes.

    join_page.py ZOPFLI TEXTS.json OUTPUT.js LOADER.js BRIDGE.js PART.js...
"""
import json
import os
import re
import subprocess
import sys
import tempfile

from packed_script import write_packed_script

# The keys the page reads: its own, and the shared texts it shows.
PAGE_KEYS = re.compile(r"page\..*|report\..*|link\.verdict-.*|target\.[^.]+\.chips"
                       r"|clock\.(exact|worst|is-common|from-common|common-.*)|timer\.number")


def stripped_lines(path):
    """The lines of a script that the browser needs, without their indentation."""
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


def page_texts(source):
    """The texts of both languages that the page shows, as JSON."""
    with open(source, encoding="utf-8") as tables:
        texts = json.load(tables)
    page = {language: {key: value for key, value in table.items() if PAGE_KEYS.fullmatch(key)}
            for language, table in texts.items()}
    return json.dumps(page, ensure_ascii=False, separators=(",", ":"))


def main():
    zopfli, texts, output, loader, bridge, *parts = sys.argv[1:]
    lines = ['"use strict";', f"const TESMIROL_TEXTS = {page_texts(texts)};"]
    lines += stripped_lines(bridge)
    lines.append("(function () {")
    for part in parts:
        lines += stripped_lines(part)
    lines.append("})();")
    with tempfile.TemporaryDirectory() as folder:
        joined = os.path.join(folder, "page.js")
        with open(joined, "w", encoding="utf-8") as script:
            script.write("\n".join(lines) + "\n")
        compressed = subprocess.run([zopfli, "-c", "--gzip", joined], check=True, capture_output=True).stdout
    write_packed_script(output, "web/page/ and res/texts/", "TESMIROL_PAGE_GZIP", compressed,
                        "\n".join(stripped_lines(loader)) + "\n")


if __name__ == "__main__":
    main()
