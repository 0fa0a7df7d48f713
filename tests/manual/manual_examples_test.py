#!/usr/bin/env python3
"""Runs the command lines the manual's pages show and compares what they print.

Usage: manual_examples_test.py --cli TESMIROL_CLI PAGE.html...

In a <pre> block of a page, a line that starts with "tesmirol-cli " is a
command; the lines after it, up to a blank line or the next command, are
what it prints (standard output and standard error together). A command
shown without output must print nothing and succeed, as the commands that
write files do. Each runs in an empty folder of its own, with --lang en:
the pages show the messages in English.
"""

import argparse
import html
import re
import shlex
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

CLI = ""
PAGES = []

PRE = re.compile(r"<pre>(.*?)</pre>", re.S)
TAG = re.compile(r"<[^>]+>")


def examples(page):
    """The page's commands and the lines each is shown to print."""
    found = []
    for block in PRE.findall(page.read_text(encoding="utf-8")):
        command = None
        for line in html.unescape(TAG.sub("", block)).splitlines():
            if line.startswith("tesmirol-cli "):
                command = (line, [])
                found.append(command)
            elif not line.strip():
                command = None
            elif command is not None:
                command[1].append(line)
    return found


class ManualExamples(unittest.TestCase):
    def test_each_command_prints_what_the_page_shows(self):
        count = 0
        for page in PAGES:
            for command, shown in examples(page):
                count += 1
                with self.subTest(page=page.name, command=command), tempfile.TemporaryDirectory() as folder:
                    arguments = shlex.split(command)
                    if "--driver-dir" in arguments:
                        Path(folder, arguments[arguments.index("--driver-dir") + 1]).mkdir(exist_ok=True)
                    run = subprocess.run([CLI, "--lang", "en"] + arguments[1:], cwd=folder, capture_output=True,
                                         check=False)
                    printed = (run.stdout + run.stderr).decode("utf-8").splitlines()
                    self.assertEqual([line.rstrip() for line in printed if line.strip()],
                                     [line.rstrip() for line in shown])
                    if not shown:
                        self.assertEqual(run.returncode, 0)
        self.assertGreater(count, 0, "the pages show no command")


def main():
    global CLI, PAGES
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("pages", nargs="+")
    arguments, rest = parser.parse_known_args()
    CLI, PAGES = str(Path(arguments.cli).resolve()), [Path(page) for page in arguments.pages]
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
