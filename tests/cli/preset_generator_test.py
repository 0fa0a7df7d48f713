#!/usr/bin/env python3
"""Runs the build's preset-list generator on small preset files.

Usage: preset_generator_test.py --cmake CMAKE --script generate_preset_lists.cmake

A malformed file must stop the build with the file's line and what is wrong;
a good one must give the entries in order, duplicates kept.
"""

import argparse
import os
import re
import subprocess
import sys
import tempfile
import unittest

CMAKE = ""
SCRIPT = ""

# File content, then the text the error message must hold.
MALFORMED_CASES = [
    ("unknown section", "[crystal]\n6MHz\n\n[bogus]\n1\n", ":4: unknown section [bogus]"),
    ("entry before any section", "# lists\n6MHz\n[crystal]\n", ':2: entry "6MHz" stands outside a section'),
    ("section twice", "[crystal]\n1\n[baud]\n1\n[crystal]\n2\n", ":5: section [crystal] appears a second time"),
    ("quote in an entry", '[crystal]\n6"MHz\n[baud]\n1\n', ':2: entry "6"MHz" holds a character'),
    ("semicolon in an entry", "[crystal]\n6;MHz\n[baud]\n1\n", ':2: entry "6;MHz" holds a character'),
    ("bracket in an entry", "[crystal]\n6[M]Hz\n[baud]\n1\n", ':2: entry "6[M]Hz" holds a character'),
    ("non-ASCII entry", "[crystal]\n6兆赫\n[baud]\n1\n", ":2: entry"),
    ("missing section", "[crystal]\n6MHz\n", "section [baud] is missing or empty"),
    ("empty section", "[crystal]\n[baud]\n1\n", "section [crystal] is missing or empty"),
]


def generate(content):
    """Runs the generator on content; returns (exit status, message, source)."""
    with tempfile.TemporaryDirectory() as folder:
        input_path = os.path.join(folder, "presets.txt")
        output_path = os.path.join(folder, "preset_lists.cpp")
        with open(input_path, "w", encoding="utf-8", newline="") as file:
            file.write(content)
        completed = subprocess.run(
            [CMAKE, f"-DINPUT={input_path}", f"-DOUTPUT={output_path}", "-P", SCRIPT],
            capture_output=True, text=True, check=False)
        source = ""
        if os.path.exists(output_path):
            with open(output_path, encoding="utf-8") as file:
                source = file.read()
        # CMake wraps long messages; join the lines to search them whole.
        message = " ".join(completed.stderr.split())
        return completed.returncode, message, source


def entries(source, name):
    """The string literals of the named array in the generated source."""
    body = re.search(name + r"\{\{(.*?)\}\};", source, re.S).group(1)
    return re.findall(r'"([^"]*)"sv', body)


class PresetGeneratorTest(unittest.TestCase):
    def test_malformed_files_stop_the_build(self):
        for name, content, expected in MALFORMED_CASES:
            with self.subTest(name):
                status, message, source = generate(content)
                self.assertNotEqual(status, 0, message)
                self.assertIn(expected, message)
                self.assertEqual(source, "")

    def test_entries_in_order_with_duplicates(self):
        content = (
            "# comment line\r\n"
            "[crystal]\r\n"
            "  6MHz  \r\n"
            "\r\n"
            "11.0592MHz   # trailing comment\r\n"
            "6MHz\r\n"
            "[baud]\r\n"
            "9600\r\n"
            "110")
        status, message, source = generate(content)
        self.assertEqual(status, 0, message)
        self.assertEqual(entries(source, "kCrystalPresets"), ["6MHz", "11.0592MHz", "6MHz"])
        self.assertEqual(entries(source, "kBaudPresets"), ["9600", "110"])
        self.assertIn("std::array<std::string_view, 3> kCrystalPresets", source)


def main():
    global CMAKE, SCRIPT
    parser = argparse.ArgumentParser()
    parser.add_argument("--cmake", required=True)
    parser.add_argument("--script", required=True)
    options, rest = parser.parse_known_args()
    CMAKE = options.cmake
    SCRIPT = options.script
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
