#!/usr/bin/env python3
"""Reads the compiled manual back with a CHM reader and checks what it holds.

Usage: manual_check_test.py --enum ENUM_CHMLIB --extract EXTRACT_CHMLIB CHM

The help viewer opens the manual only when it is a compiled HTML help file,
shows its pages only when the contents and links name files it holds, and
shows Chinese text only when the text is in the document's code page (GBK,
declared as gb2312 in each page).
"""

import argparse
import re
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

CHM = Path()
ENUM = ""
EXTRACT = ""

PAGES = [
    "index.html",
    "dialog.html",
    "formula.html",
    "crystals.html",
    "sio_init.html",
    "cli.html",
    "targets.html",
    "uarts.html",
    "driver.html",
    "link.html",
]
SUPPORT_FILES = ["style.css", "toc.hhc", "index.hhk"]

# Links that point into the manual: href and src attributes, and the Local
# parameters of the contents and the index.
LINK = re.compile(r'(?:href|src)="([^"#:]+)(?:#[^"]*)?"|name="Local" value="([^"#]+)', re.IGNORECASE)


def listed_files():
    """The files that the CHM reader lists, as names without the leading slash."""
    listing = subprocess.run([ENUM, str(CHM)], capture_output=True, text=True, check=True).stdout
    names = set()
    for line in listing.splitlines():
        if "normal file" in line:
            names.add(line.split("\t")[-1].lstrip("/"))
    return names


class CompiledManual(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.names = listed_files()
        cls.folder = tempfile.TemporaryDirectory()
        subprocess.run([EXTRACT, str(CHM), cls.folder.name], capture_output=True, check=True)
        cls.root = Path(cls.folder.name)

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def text(self, name):
        return (self.root / name).read_bytes().decode("gbk")

    def test_is_a_compiled_help_file(self):
        self.assertEqual(CHM.read_bytes()[:4], b"ITSF")

    def test_holds_every_page_the_contents_and_the_index(self):
        for name in PAGES + SUPPORT_FILES:
            with self.subTest(name=name):
                self.assertIn(name, self.names)

    def test_texts_are_gbk_as_declared(self):
        for name in PAGES + ["toc.hhc", "index.hhk"]:
            with self.subTest(name=name):
                text = self.text(name)  # raises on bytes that are not GBK
                self.assertIn("charset=gb2312", text)
                self.assertNotIn("charset=utf-8", text)

    def test_every_page_has_a_chinese_title(self):
        for name in PAGES:
            with self.subTest(name=name):
                title = re.search(r"<title>(.*?)</title>", self.text(name), re.S)
                self.assertIsNotNone(title)
                self.assertRegex(title.group(1), "[\u4e00-\u9fff]")

    def test_links_name_files_in_the_manual(self):
        for name in PAGES + SUPPORT_FILES:
            with self.subTest(name=name):
                for match in LINK.finditer(self.text(name)):
                    target = match.group(1) or match.group(2)
                    self.assertIn(target, self.names, f"{name} links to {target}")

    def test_contents_list_every_page(self):
        contents = self.text("toc.hhc")
        for name in PAGES:
            with self.subTest(name=name):
                self.assertIn(f'value="{name}"', contents)


def main():
    global CHM, ENUM, EXTRACT
    parser = argparse.ArgumentParser()
    parser.add_argument("--enum", required=True)
    parser.add_argument("--extract", required=True)
    parser.add_argument("chm")
    arguments, rest = parser.parse_known_args()
    CHM, ENUM, EXTRACT = Path(arguments.chm), arguments.enum, arguments.extract
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
