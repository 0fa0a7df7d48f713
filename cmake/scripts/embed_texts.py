#!/usr/bin/env python3
"""Writes the page's texts, tesmirol-texts.js, from the text tables' JSON.

The page shows its own texts ("page.") and a few of the shared tables (the
reports' labels, the link's verdicts, the catalogue's chips); the rest of
the tables (the command line's help, its messages) it never shows, and
leaves out. A page opened straight from disk may load scripts but not fetch
a JSON file, so the texts travel as a script: their JSON (UTF-8),
gzip-compressed and packed as packed_script.py writes it, which takes a
third of the JSON's size. The page unpacks it as it starts.

    embed_texts.py TEXTS.json OUTPUT.js
"""
import gzip
import json
import re
import sys

from packed_script import write_packed_script

# The keys the page reads: its own, and the shared texts it shows.
PAGE_KEYS = re.compile(r"page\..*|report\..*|link\.verdict-.*|target\.[^.]+\.chips")


def main():
    source, output = sys.argv[1:]
    with open(source, encoding="utf-8") as tables:
        texts = json.load(tables)
    page = {language: {key: value for key, value in table.items() if PAGE_KEYS.fullmatch(key)}
            for language, table in texts.items()}
    data = json.dumps(page, ensure_ascii=False, separators=(",", ":")).encode("utf-8")
    write_packed_script(output, "res/texts/zh.txt and res/texts/en.txt", "TESMIROL_TEXTS_GZIP",
                        gzip.compress(data, compresslevel=9, mtime=0))


if __name__ == "__main__":
    main()
