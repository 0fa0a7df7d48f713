#!/usr/bin/env python3
"""Runs the build's part-catalogue generator on res/parts.txt with one record
broken in each case: the build must stop and say where and what is wrong.
The catalogue as it is must pass, every "{A,B}" group written out.

Usage: part_catalogue_check_test.py --cmake CMAKE --script generate_part_catalogue.cmake
       --parts res/parts.txt --targets res/targets.txt
"""

import argparse
import re
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

OPTIONS = None
RECORD = "[parts ch554]\nsource = s\nnames = CH554{T,E}\n"

# name, a record added to the catalogue, the text the message must hold
BROKEN = [
    ("a part named by two records", "[parts ch552]\nsource = s\nnames = CH554T\n",
     "CH554T is named again (first by [parts ch554])"),
    ("a part that is a family name", "[parts x2]\nsource = s\nnames = STC15\n",
     "STC15 is a target or family name"),
    ("a part that is a target name", "[parts x2]\nsource = s\nnames = T1-12T\n", "not capitals, digits"),
    ("lower-case letters", "[parts x2]\nsource = s\nnames = p89v51rd2\n", "'p89v51rd2' is not capitals"),
    ("a group of one", "[parts x2]\nsource = s\nnames = P89V51RD{2}\n", "needs two or more alternatives"),
    ("a group left open", "[parts x2]\nsource = s\nnames = P89V51R{B,C\n", "leaves a '{' open"),
    ("a group nested", "[parts x2]\nsource = s\nnames = P89V51R{B,{C,D}}2\n", "no '{'"),
    ("a group closed first", "[parts x2]\nsource = s\nnames = P89V51R}B,C{2\n", "a '}' before its '{'"),
    ("a family name in capitals", "[parts X2]\nsource = s\nnames = P89V51RD2\n", "family name 'X2'"),
    ("a record without a source", "[parts x2]\nnames = P89V51RD2\n", "the key 'source' is missing"),
    ("a key twice", "[parts x2]\nsource = s\nsource = t\nnames = P89V51RD2\n", "'source' is given a second time"),
    ("an unknown key", "[parts x2]\nsource = s\nnames = P89V51RD2\nfamily = x2\n", "unknown key 'family'"),
]


def generate(catalogue, folder):
    path = Path(folder) / "parts.txt"
    path.write_text(catalogue, encoding="utf-8")
    return subprocess.run([OPTIONS.cmake, f"-DINPUT={path}", f"-DTARGETS={OPTIONS.targets}",
                           f"-DOUTPUT={Path(folder) / 'parts.cpp'}", "-P", OPTIONS.script],
                          capture_output=True, text=True, check=False)


class PartCatalogueCheck(unittest.TestCase):
    def setUp(self):
        self.catalogue = Path(OPTIONS.parts).read_text(encoding="utf-8")
        self.assertIn(RECORD.splitlines()[0], self.catalogue)

    def test_broken_records_stop_the_build(self):
        for name, record, message in BROKEN:
            with self.subTest(name), tempfile.TemporaryDirectory() as folder:
                run = generate(self.catalogue + "\n" + record, folder)
                self.assertNotEqual(run.returncode, 0, name)
                self.assertIn(message, " ".join(run.stderr.split()))

    def test_groups_are_written_out_and_sorted(self):
        with tempfile.TemporaryDirectory() as folder:
            extra = "[parts x2]\nsource = s\nnames = P89V51R{B,C,D}2{,FA,FN}\n"
            run = generate(self.catalogue + "\n" + extra, folder)
            self.assertEqual(run.returncode, 0, run.stderr)
            generated = (Path(folder) / "parts.cpp").read_text(encoding="utf-8")
        names = re.findall(r'PartName\{"([^"]+)", \d+\}', generated)
        self.assertEqual(names, sorted(names, key=lambda name: name.encode()))
        p89 = [name for name in names if name.startswith("P89V51")]
        self.assertEqual(p89, ["P89V51RB2", "P89V51RB2FA", "P89V51RB2FN", "P89V51RC2", "P89V51RC2FA",
                               "P89V51RC2FN", "P89V51RD2", "P89V51RD2FA", "P89V51RD2FN"])


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    for option in ("--cmake", "--script", "--parts", "--targets"):
        parser.add_argument(option, required=True)
    OPTIONS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0], *rest], verbosity=2)
