#!/usr/bin/env python3
"""Runs the command lines the manual's pages show and compares what they print.

Usage: manual_examples_test.py --cli TESMIROL_CLI PAGE.html...
       manual_examples_test.py --cli TESMIROL_CLI --write PAGE.html...

In a <pre> block of a page, a line that starts with "tesmirol-cli " is a
command; the lines after it, up to the next command or the end of the
block, are what it prints (standard output and standard error together;
blank lines are not compared, so that blank lines may part the commands and
the generated code keeps its own). A last line "（退出状态 N）" is not
printed output: it is the status the command must end with. A command shown
without output must print nothing and succeed, as the commands that write
files do. Each runs in an empty folder of its own, in the program's own
language (no locale variable set), the language the manual is written in.

With --write, each command's shown output (and its status line, where the
page states one) is replaced by what the program prints now: for pages
whose commands have changed their output on purpose. Read the difference
before committing it.
"""

import argparse
import html
import os
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
STATUS = re.compile(r"^（退出状态 (\d+)）$")
LOCALE_VARIABLES = ("LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE")
COMMAND = "tesmirol-cli "


def plain(line):
    """A line of a block as the reader sees it."""
    return html.unescape(TAG.sub("", line))


def examples_in(text):
    """The commands of the page's text and the lines each is shown to print,
    blank lines included."""
    found = []
    for block in PRE.findall(text):
        command = None
        for line in plain(block).splitlines():
            if line.startswith(COMMAND):
                command = (line, [])
                found.append(command)
            elif command is not None:
                command[1].append(line)
    return found


def examples(page):
    return examples_in(page.read_text(encoding="utf-8"))


def expected(shown):
    """The shown lines that are not blank, without a closing status line,
    and that status (None when the page states none)."""
    lines = [line.rstrip() for line in shown if line.strip()]
    if lines:
        stated = STATUS.match(lines[-1].strip())
        if stated:
            return lines[:-1], int(stated.group(1))
    return lines, None


def run_command(command):
    """What the command prints, line by line, and its status; run in an
    empty folder in the program's own language."""
    with tempfile.TemporaryDirectory() as folder:
        arguments = shlex.split(command)
        if "--driver-dir" in arguments:
            Path(folder, arguments[arguments.index("--driver-dir") + 1]).mkdir(exist_ok=True)
        environment = {name: value for name, value in os.environ.items() if name not in LOCALE_VARIABLES}
        run = subprocess.run([CLI] + arguments[1:], cwd=folder, env=environment, capture_output=True, check=False)
    printed = [line.rstrip() for line in (run.stdout + run.stderr).decode("utf-8").splitlines()]
    while printed and not printed[-1]:
        printed.pop()
    return printed, run.returncode


def write_outputs(page):
    """Replaces the output shown after each command of the page's blocks by
    what the command prints now; a blank line parts one command from the
    next."""
    def rewrite(block):
        lines = block.group(1).split("\n")
        written = []
        index = 0
        while index < len(lines):
            line = lines[index]
            index += 1
            if not plain(line).startswith(COMMAND):
                written.append(line)
                continue
            shown = []
            while index < len(lines) and not plain(lines[index]).startswith(COMMAND):
                shown.append(plain(lines[index]))
                index += 1
            printed, status = run_command(plain(line))
            written.append(line)
            written.extend(html.escape(printed_line, quote=False) for printed_line in printed)
            if expected(shown)[1] is not None:
                written.append(f"（退出状态 {status}）")
            if index < len(lines):
                written.append("")
        return "<pre>" + "\n".join(written) + "</pre>"

    page.write_text(PRE.sub(rewrite, page.read_text(encoding="utf-8")), encoding="utf-8")


class PageReading(unittest.TestCase):
    """How a page's blocks are read: a misread block would check nothing."""

    def test_blocks_are_read_into_commands_outputs_and_statuses(self):
        cases = [
            ("<pre>tesmirol-cli a\nx\n\ntesmirol-cli b</pre>", [("tesmirol-cli a", ["x"], None),
                                                             ("tesmirol-cli b", [], None)]),
            ("<pre>tesmirol-cli a\n&lt;x&gt;\n\ny\n（退出状态 1）\n</pre>", [("tesmirol-cli a", ["<x>", "y"], 1)]),
            ("<pre>tesmirol-cli a\ntesmirol-cli b\ny\n（退出状态 3）</pre>", [("tesmirol-cli a", [], None),
                                                                        ("tesmirol-cli b", ["y"], 3)]),
            ("<pre>make:\n\ttesmirol-cli a\n</pre><p>tesmirol-cli b</p>", []),
        ]
        for text, wanted in cases:
            with self.subTest(text=text):
                read = [(command,) + expected(lines) for command, lines in examples_in(text)]
                self.assertEqual(read, wanted)


class ManualExamples(unittest.TestCase):
    def test_each_command_prints_what_the_page_shows(self):
        count = 0
        for page in PAGES:
            for command, lines in examples(page):
                count += 1
                shown, status = expected(lines)
                with self.subTest(page=page.name, command=command):
                    printed, returncode = run_command(command)
                    self.assertEqual([line for line in printed if line], shown)
                    if status is not None:
                        self.assertEqual(returncode, status)
                    elif not shown:
                        self.assertEqual(returncode, 0)
        self.assertGreater(count, 0, "the pages show no command")


def main():
    global CLI, PAGES
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--write", action="store_true", help="rewrite the pages' outputs instead of checking them")
    parser.add_argument("pages", nargs="+")
    arguments, rest = parser.parse_known_args()
    CLI, PAGES = str(Path(arguments.cli).resolve()), [Path(page) for page in arguments.pages]
    if arguments.write:
        for page in PAGES:
            write_outputs(page)
        return
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
