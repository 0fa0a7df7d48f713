#!/usr/bin/env python3
"""Writes the page's texts, tesmirol-texts.js, from the text tables' JSON.

The page shows its own texts ("page.") and a few of the shared tables (the
reports' labels, the link's verdicts, the catalogue's chips); the rest of
the tables (the command line's help, its messages) it never shows, and
leaves out. A page opened straight from disk may load scripts but not fetch
a JSON file, so the texts travel as a script that sets self.TESMIROL_TEXTS,
written as UTF-8, not as \\u escapes, which would double the Chinese.

    embed_texts.py TEXTS.json OUTPUT.js
"""
import json
import re
import sys

# The keys the page reads: its own, and the shared texts it shows.
PAGE_KEYS = re.compile(r"page\..*|report\..*|link\.verdict-.*|target\.[^.]+\.chips")


def main():
    source, output = sys.argv[1:]
    with open(source, encoding="utf-8") as tables:
        texts = json.load(tables)
    page = {language: {key: value for key, value in table.items() if PAGE_KEYS.fullmatch(key)}
            for language, table in texts.items()}
    script = ("// Generated from res/texts/zh.txt and res/texts/en.txt; do not edit.\n"
              f"self.TESMIROL_TEXTS = {json.dumps(page, ensure_ascii=False, separators=(',', ':'))};\n")
    try:
        with open(output, encoding="utf-8") as existing:
            if existing.read() == script:
                return
    except FileNotFoundError:
        pass
    with open(output, "w", encoding="utf-8") as written:
        written.write(script)


if __name__ == "__main__":
    main()
