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

The page's markup and style go in the same stream: the index.html written
beside the script keeps the source's head (less the style sheet's link), a
box for a message should the script not unpack, and the two scripts; the
packed script begins by putting the source's body markup (without its
indentation) and the style sheet (without comments and indentation) into
the page. They are a third of the page as plain text and a tenth packed.

    join_page.py ZOPFLI TEXTS.json INDEX.html STYLE.css OUTPUT_FOLDER LOADER.js BRIDGE.js PART.js...
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


# The shell's box for a message, shown by the loader when the packed
# script cannot be unpacked; the markup brings its own.
MESSAGE_BOX = '<p id="load-error" role="alert" hidden></p>'


def split_index(path):
    """The source page's head (without the style sheet's link), its body markup
    (up to the scripts, without indentation) and its script tags."""
    with open(path, encoding="utf-8") as index:
        source = index.read()
    head, rest = source.split("<body>\n", 1)
    markup, scripts = rest.split("\n<script", 1)
    head = head.replace('<link rel="stylesheet" href="style.css">\n', "")
    if re.search(r"<pre[^>]*>[^<]", markup):
        sys.exit(f"join_page: {path}: a <pre> with text, whose indentation would be lost")
    if MESSAGE_BOX not in markup:
        sys.exit(f"join_page: {path}: the markup lacks {MESSAGE_BOX}")
    markup = "\n".join(line.strip() for line in markup.split("\n") if line.strip())
    return head, markup, "<script" + scripts


def minified_style(path):
    """The style sheet without comments, indentation and blank lines."""
    with open(path, encoding="utf-8") as style:
        sheet = re.sub(r"/\*.*?\*/", "", style.read(), flags=re.S)
    return "\n".join(line.strip() for line in sheet.split("\n") if line.strip())


def write_if_changed(path, content):
    try:
        with open(path, encoding="utf-8") as existing:
            if existing.read() == content:
                return
    except FileNotFoundError:
        pass
    with open(path, "w", encoding="utf-8") as written:
        written.write(content)


def main():
    zopfli, texts, index, style, folder_out, loader, bridge, *parts = sys.argv[1:]
    head, markup, scripts = split_index(index)
    write_if_changed(os.path.join(folder_out, "index.html"), f"{head}<body>\n{MESSAGE_BOX}\n{scripts}")
    lines = ['"use strict";',
             'document.getElementById("load-error").remove();',
             "document.head.append(Object.assign(document.createElement(\"style\"), "
             f"{{ textContent: {json.dumps(minified_style(style), ensure_ascii=False)} }}));",
             f'document.body.insertAdjacentHTML("afterbegin", {json.dumps(markup, ensure_ascii=False)});',
             f"const TESMIROL_TEXTS = {page_texts(texts)};"]
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
    write_packed_script(os.path.join(folder_out, "tesmirol-page.js"), "web/page/ and res/texts/", "TESMIROL_PAGE_GZIP",
                        compressed,
                        "\n".join(stripped_lines(loader)) + "\n")


if __name__ == "__main__":
    main()
