#!/usr/bin/env python3
"""Runs the build's target-catalogue generator on res/targets.txt with one
chip family's memory record broken in each case: the build must stop and say
which family and what is wrong. The catalogue as it is must pass, with every
family's record in the generated table.

Usage: family_memory_check_test.py --cmake CMAKE --script generate_target_catalogue.cmake
       --catalogue res/targets.txt --texts res/texts/en.txt
"""

import argparse
import re
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

OPTIONS = None
RECORD = "[family 8052]\niram = 256\nxram = 0\nxram-enable = none\n"

# name, what replaces the 8052's record, the text the message must hold
BROKEN = [
    ("internal RAM of another size", RECORD.replace("iram = 256", "iram = 192"), "family 8052: iram must be 128 or 256"),
    ("XRAM that is no number", RECORD.replace("xram = 0", "xram = 1K"), "xram '1K' is not a number of bytes"),
    ("XRAM without a way to enable it", RECORD.replace("xram = 0", "xram = 256"), "says how it is enabled"),
    ("an enable bit without XRAM", RECORD.replace("xram-enable = none", "xram-enable = always"),
     "a family without XRAM has xram-enable = none"),
    ("an unknown enable bit", RECORD.replace("xram-enable = none", "xram-enable = pcon-bit2"),
     "xram-enable 'pcon-bit2' is not one of"),
    ("an unknown key", RECORD + "flash = 8192\n", "unknown key 'flash' in a family record"),
    ("a missing key", RECORD.replace("xram = 0\n", ""), "family 8052: the key 'xram' is missing"),
    ("a family without its record", "", "family '8052' has no [family 8052] record"),
    ("a record twice", RECORD + "source = x\n\n" + RECORD, "family '8052' has a second record"),
    ("a record no target names", RECORD + "source = x\n\n[family z80]\niram = 128\nxram = 0\nxram-enable = none\n"
     "source = y\n", "[family z80] is named by no target"),
]


def generate(catalogue, folder):
    path = Path(folder) / "targets.txt"
    path.write_text(catalogue, encoding="utf-8")
    return subprocess.run([OPTIONS.cmake, f"-DINPUT={path}", f"-DTEXTS={OPTIONS.texts}",
                           f"-DOUTPUT={Path(folder) / 'catalogue.cpp'}", "-P", OPTIONS.script],
                          capture_output=True, text=True, check=False)


class FamilyMemoryCheck(unittest.TestCase):
    def setUp(self):
        self.catalogue = Path(OPTIONS.catalogue).read_text(encoding="utf-8")
        found = re.search(r"\[family 8052\]\n(?:[a-z-]+ = .*\n)+", self.catalogue)
        self.assertIsNotNone(found, "the catalogue has a [family 8052] record")
        self.record = found.group(0)
        self.source = re.search(r"source = .*\n", self.record).group(0)

    def test_broken_records_stop_the_build(self):
        for name, record, message in BROKEN:
            with self.subTest(name), tempfile.TemporaryDirectory() as folder:
                # a replacement without a source keeps the catalogue's own
                replacement = record if "source" in record or not record else record + self.source
                run = generate(self.catalogue.replace(self.record, replacement), folder)
                self.assertNotEqual(run.returncode, 0, name)
                self.assertIn(message, " ".join(run.stderr.split()))

    def test_the_catalogue_gives_every_family_its_memory(self):
        with tempfile.TemporaryDirectory() as folder:
            run = generate(self.catalogue, folder)
            self.assertEqual(run.returncode, 0, run.stderr)
            generated = (Path(folder) / "catalogue.cpp").read_text(encoding="utf-8")
        named = set(re.findall(r"^families = (.*)$", self.catalogue, re.MULTILINE))
        families = {family for line in named for family in line.split()}
        recorded = set(re.findall(r'ChipFamily\{\s*\.name = "([^"]+)"', generated))
        self.assertEqual(recorded, families)
        self.assertIn('.name = "8051",\n        .memory = ChipMemory{.iramBytes = 128, .xramBytes = 0', generated)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    for option in ("--cmake", "--script", "--catalogue", "--texts"):
        parser.add_argument(option, required=True)
    OPTIONS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0], *rest], verbosity=2)
