#!/usr/bin/env python3
"""Runs the real tesmirol-cli with the options for build scripts: the code
alone and to a file, the deviation check, the table of presets and the reverse
look-up of a reload value. Checks bytes, files and exit statuses.

Usage: cli_options_test.py [--emulator PART]... --golden FILE CLI

The golden file is the generated code for 11.0592MHz and 9600 in GBK with
CR LF line ends, as the dialog's output box holds it.
"""

import argparse
import json
import os
import sys
import tempfile
import unittest
from pathlib import Path

import cli_test
from cli_test import Run

GOLDEN = b""
NATIVE = True

# Exit statuses.
DONE, NO_RESULT, CHECK_FAILED, WRITE_FAILED = 0, 1, 3, 4


def golden_as(encoding="gbk", lf=False):
    """The golden code in the given encoding and line ends."""
    code = GOLDEN.decode("gbk").encode(encoding)
    return code.replace(b"\r\n", b"\n") if lf else code


class CodeOutputTest(unittest.TestCase):
    def test_code_bytes(self):
        cases = [
            ("UTF-8 with CR LF by default", [], golden_as("utf-8")),
            ("GBK as generated", ["--encoding", "gbk"], golden_as("gbk")),
            ("UTF-8 with LF", ["--lf", "--encoding=utf-8"], golden_as("utf-8", lf=True)),
            ("GBK with LF, names in any case", ["--encoding", "GBK", "--lf"], golden_as("gbk", lf=True)),
            ("-o - is standard output", ["-o", "-"], golden_as("utf-8")),
        ]
        for name, options, expected in cases:
            with self.subTest(name):
                run = Run(["--code"] + options + ["11.0592MHz", "9600"], language="zh")
                self.assertEqual((run.status, run.err), (DONE, ""), run)
                self.assertEqual(run.raw, expected, run)

    def test_file_is_replaced_whole(self):
        cases = [
            ("-o FILE", ["-o", "{file}"], golden_as("utf-8")),
            ("-oFILE in GBK", ["-o{file}", "--encoding", "gbk"], golden_as("gbk")),
            ("--output=FILE with LF", ["--output={file}", "--lf"], golden_as("utf-8", lf=True)),
        ]
        for name, options, expected in cases:
            with self.subTest(name), tempfile.TemporaryDirectory() as folder:
                target = Path(folder, "sio_init.c")
                target.write_bytes(b"old contents that are longer than nothing\n" * 100)
                options = [option.replace("{file}", str(target)) for option in options]
                run = Run(options + ["11.0592MHz", "9600"], language="zh")
                self.assertEqual((run.status, run.out, run.err), (DONE, "", ""), run)
                self.assertEqual(target.read_bytes(), expected)
                self.assertEqual(os.listdir(folder), ["sio_init.c"], "no temporary file is left")

    def test_failures_leave_files_alone(self):
        with tempfile.TemporaryDirectory() as folder:
            existing = Path(folder, "sio_init.c")
            existing.write_bytes(b"keep me")
            directory = Path(folder, "a folder")
            directory.mkdir()
            # Arguments, status, a text stderr must name.
            cases = [
                ("no code for a warning", ["-o", str(existing), "12MHz", "9600"], NO_RESULT, "no code"),
                ("no code below the range", ["--code", "11.0592MHz", "110"], NO_RESULT, "range"),
                ("no result", ["-o", str(existing), "MHz", "9600"], NO_RESULT, '"MHz"'),
                ("missing folder", ["-o", str(Path(folder, "missing", "x.c"))], WRITE_FAILED, "x.c"),
                ("target is a folder", ["-o", str(directory)], WRITE_FAILED, "a folder"),
            ]
            for name, arguments, status, named in cases:
                with self.subTest(name):
                    run = Run(arguments)
                    self.assertEqual((run.status, run.out), (status, ""), run)
                    self.assertIn(named, run.err, run)
                    self.assertEqual(run.err.count("\n"), 1, "one line on stderr")
            self.assertEqual(existing.read_bytes(), b"keep me")
            self.assertEqual(sorted(os.listdir(folder)), ["a folder", "sio_init.c"])
            self.assertEqual(os.listdir(directory), [])


class MaxErrorTest(unittest.TestCase):
    def test_check(self):
        # Arguments, status, a text stderr must hold ("" for none at all).
        cases = [
            ("exact rate passes a zero limit", ["0", "11.0592MHz", "19200"], DONE, ""),
            ("SMOD=1 is the chosen setting", ["0.5", "24MHz", "1200"], CHECK_FAILED, "SMOD=1 -0.83 %"),
            ("within the limit", ["1", "24MHz", "1200"], DONE, ""),
            ("exactly the limit passes", ["1%", "12MHz", "300"], DONE, ""),
            ("just beyond the limit", ["0.99", "12MHz", "300"], CHECK_FAILED, "more than 0.99 %"),
            ("a warning fails any limit", ["50", "12MHz", "9600"], CHECK_FAILED, "both settings"),
            ("nothing fails any limit", ["50", "11.0592MHz", "110"], CHECK_FAILED, "range"),
            ("no result fails", ["50", "MHz", "9600"], CHECK_FAILED, "no result"),
        ]
        for name, arguments, status, message in cases:
            with self.subTest(name):
                run = Run(["--max-error"] + arguments)
                self.assertEqual((run.status, run.out), (status, ""), run)
                if message:
                    self.assertIn(message, run.err, run)
                    self.assertEqual(run.err.count("\n"), 1, "one line on stderr")
                else:
                    self.assertEqual(run.err, "", run)

    def test_check_comes_before_the_output(self):
        run = Run(["--max-error", "1", "--json", "11.0592MHz", "9600"])
        self.assertEqual(run.status, DONE, run)
        self.assertEqual(run.json()["outcome"], "Code")

        with tempfile.TemporaryDirectory() as folder:
            target = Path(folder, "sio_init.c")
            run = Run(["--max-error", "0.5", "-o", str(target), "24MHz", "1200"])
            self.assertEqual(run.status, CHECK_FAILED, run)
            self.assertFalse(target.exists(), "a failed check writes no file")


TABLE_HEADER = "crystal  baud  SMOD=0 TH1  rate  deviation  SMOD=1 TH1  rate  deviation  code\n"


class TableTest(unittest.TestCase):
    def test_single_rows(self):
        cases = [
            ("warning", ["12MHz", "9600"],
             TABLE_HEADER
             + "12MHz    9600  0xFC        7812    -18.63%  0xF9        8928     -7.00%  warning\n"),
            ("too low, and a wide character counts two columns", ["11.0592MHz晶振", "110"],
             "crystal         baud  SMOD=0 TH1  rate  deviation  SMOD=1 TH1  rate  deviation  code\n"
             "11.0592MHz晶振   110  too low      110      0.00%  too low      110      0.00%  nothing\n"),
            ("no result", ["MHz", "9600"],
             TABLE_HEADER + "MHz      9600  -              -          -  -              -          -  no result\n"),
            ("markdown", ["--format", "markdown", "24MHz", "1200"],
             "| crystal | baud | SMOD=0 TH1 | rate | deviation | SMOD=1 TH1 | rate | deviation | code |\n"
             "|---|---:|---|---:|---:|---|---:|---:|---|\n"
             "| 24MHz | 1200 | 0xCB | 1179 | -1.75% | 0x97 | 1190 | -0.83% | SMOD=1 |\n"),
            ("csv quotes a comma", ["--format", "CSV", "1,5MHz", "9600"],
             "crystal,baud,smod0_reload,smod0_status,smod0_rate,smod0_deviation,"
             "smod1_reload,smod1_status,smod1_rate,smod1_deviation,outcome,chosen_smod\n"
             '"1,5MHz",9600,0xFF,Ok,2604,-72.88,0xFF,Ok,5208,-45.75,Warning,\n'),
            ("csv writes a reload below zero as the generated code would", ["--format", "csv", "6MHz", "110"],
             "crystal,baud,smod0_reload,smod0_status,smod0_rate,smod0_deviation,"
             "smod1_reload,smod1_status,smod1_rate,smod1_deviation,outcome,chosen_smod\n"
             "6MHz,110,0x71,Ok,109,-0.91,0xFFFFFFE4,Ok,110,0.00,Code,0\n"),
        ]
        for name, arguments, expected in cases:
            with self.subTest(name):
                run = Run(["--table"] + arguments)
                self.assertEqual(run.status, DONE, run)
                self.assertEqual(run.out, expected, run)

    def test_preset_lists(self):
        presets = cli_test.read_presets(cli_test.PRESETS_FILE)
        crystals, bauds = presets["crystal"], presets["baud"]

        run = Run(["--table", "all", "9600"])  # every crystal, one rate
        lines = run.out.splitlines()
        self.assertEqual([line.split()[0] for line in lines[1:]], crystals)
        self.assertEqual({line.split()[1] for line in lines[1:]}, {"9600"})
        self.assertIn("11.0592MHz    9600  0xFD        9600      0.00%  0xFA        9600      0.00%  SMOD=0",
                      lines)
        # Right-aligned columns end at the same place on every line.
        self.assertEqual(len({line.index("%") for line in lines[1:]}), 1, run.out[:400])
        self.assertNotIn("\x1b", run.out, "no colour into a pipe")

        run = Run(["--table", "11.0592MHz", "--format", "csv"])  # one crystal, every rate
        rows = run.out.splitlines()[1:]
        self.assertEqual([row.split(",")[1] for row in rows], bauds)
        self.assertIn("11.0592MHz,19200,0xFE,Ok,14400,-25.00,0xFD,Ok,19200,0.00,Code,1", rows)

        run = Run(["--table", "--json"])  # both lists
        self.assertEqual(run.status, DONE, run)
        table = run.json()
        self.assertEqual([(row["crystal"], row["baud"]) for row in table],
                         [(crystal, baud) for crystal in crystals for baud in bauds])
        row = table[crystals.index("22.1184MHz") * len(bauds) + bauds.index("115200")]
        self.assertEqual((row["outcome"], row["chosenSmod"], row["crystalHz"]), ("Code", 1, 22118400))
        self.assertEqual([mode["reloadText"] for mode in row["modes"]], ["0xFF", "0xFF"])
        self.assertEqual([mode["deviationText"] for mode in row["modes"]], ["-50.00", "0.00"])

    @unittest.skipUnless(sys.platform.startswith("linux"), "needs a pseudo-terminal")
    def test_colour_on_a_terminal_only(self):
        if not NATIVE:
            self.skipTest("Wine's console does not run on a pseudo-terminal here")
        blue, red, reset = "\x1b[34m", "\x1b[31m", "\x1b[0m"
        coloured = run_on_terminal(["--table", "12MHz", "300"], {})
        self.assertIn(f"{blue}0x97{reset}", coloured)  # a reload within the range
        self.assertIn(f"{blue}-1.00%{reset}", coloured)  # exactly 1 % is within tolerance
        coloured = run_on_terminal(["--table", "12MHz", "9600"], {"NO_COLOR": ""})
        self.assertIn(f"{red}-18.63%{reset}", coloured)
        plain = run_on_terminal(["--table", "12MHz", "9600"], {"NO_COLOR": "1"})
        self.assertNotIn("\x1b", plain)
        self.assertIn("-18.63%", plain)


def run_on_terminal(arguments, environment):
    """Standard output of a run whose standard output is a pseudo-terminal."""
    import pty  # pylint: disable=import-outside-toplevel
    import subprocess  # pylint: disable=import-outside-toplevel

    controller, terminal = pty.openpty()
    env = dict(os.environ)
    env.pop("NO_COLOR", None)
    env.update(environment)
    process = subprocess.Popen(cli_test.COMMAND + arguments, stdout=terminal, stderr=subprocess.DEVNULL,
                               env=env)
    os.close(terminal)
    output = b""
    while True:
        try:
            chunk = os.read(controller, 4096)
        except OSError:  # the terminal closed
            break
        if not chunk:
            break
        output += chunk
    os.close(controller)
    process.wait(timeout=60)
    return output.decode("utf-8").replace("\r\n", "\n")


class ReloadTest(unittest.TestCase):
    def test_rates(self):
        run = Run(["--reload", "0xFD", "11.0592MHz"], language="zh")
        self.assertEqual(run.status, DONE, run)
        self.assertEqual(run.out,
                         "选用晶震：11059200 Hz\nTH1 = 0xFD (253)\nSMOD=0  实际：9600bps\nSMOD=1  实际：19200bps\n")
        run = Run(["--reload", "0xFD", "11.0592MHz"])
        self.assertEqual(run.status, DONE, run)
        self.assertEqual(run.out, "selected crystal: 11059200 Hz\nTH1 = 0xFD (253)\n"
                         "SMOD=0  achieved: 9600bps\nSMOD=1  achieved: 19200bps\n")

        run = Run(["--json", "--reload=250", "11.0592mhz"])
        self.assertEqual(run.status, DONE, run)
        self.assertEqual(run.json(), {
            "crystalText": "11.0592MHZ", "frequency": 11059200.0, "crystalHz": 11059200,
            "reload": 250, "reloadText": "0xFA", "divisor": 6,
            "modes": [{"smod": 0, "achieved": 4800}, {"smod": 1, "achieved": 9600}]})

    def test_rates_against_a_rate(self):
        # BAUD adds each rate's deviation from it, as the calculation works it out;
        # a BAUD not above 0 compares with nothing.
        run = Run(["--reload", "0xFD", "11.0592MHz", "9700"])
        self.assertEqual(run.status, DONE, run)
        self.assertEqual(run.out, "selected crystal: 11059200 Hz\nTH1 = 0xFD (253)\n"
                         "SMOD=0  achieved: 9600bps  deviation: -1.03%\n"
                         "SMOD=1  achieved: 19200bps  deviation: 97.94%\n")
        modes = Run(["--json", "--reload", "0xFD", "11.0592MHz", "9700"]).json()["modes"]
        self.assertEqual([(m["deviationText"], m["outOfTolerance"]) for m in modes],
                         [("-1.03", True), ("97.94", True)])
        # The calculation's SMOD=0 setting is this reload: the same deviation, bit for bit.
        calculated = Run(["--json", "11.0592MHz", "9700"]).json()["modes"][0]
        self.assertEqual((calculated["reload"], modes[0]["deviation"]), (0xFD, calculated["deviation"]))
        for baud in ("abc", "0", "-9600"):
            with self.subTest(baud):
                run = Run(["--json", "--reload", "0xFD", "11.0592MHz", baud])
                self.assertEqual(run.json(), Run(["--json", "--reload", "0xFD", "11.0592MHz"]).json())

    def test_no_result(self):
        run = Run(["--reload", "0xFD", "MHz"])
        self.assertEqual((run.status, run.out), (NO_RESULT, ""), run)
        self.assertIn('"MHz" does not start with a number', run.err)
        run = Run(["--reload", "0xFD", "--json", "3000MHz"])
        self.assertEqual((run.status, run.json()), (NO_RESULT, None), run)


class ArgumentErrorTest(unittest.TestCase):
    def test_usage_errors(self):
        # Arguments, then a text that the one line on stderr must hold.
        cases = [
            ("reload beyond a byte", ["--reload", "256"], '"256"'),
            ("negative reload is its value", ["--reload", "-1"], '--reload "-1"'),
            ("reload not a number", ["--reload", "0xZZ"], '"0xZZ"'),
            ("reload without a value", ["--reload"], "--reload"),
            ("percentage not a number", ["--max-error", "abc"], '"abc"'),
            ("negative percentage", ["--max-error", "-1"], '"-1"'),
            ("unknown encoding", ["--code", "--encoding", "latin1"], '"latin1"'),
            ("unknown format", ["--table", "--format", "xml"], '"xml"'),
            ("encoding without code", ["--encoding", "gbk"], "--encoding"),
            ("line feeds without code", ["--lf"], "--lf"),
            ("format without table", ["--format", "csv"], "--format"),
            ("two views", ["--table", "--reload", "1"], "--table and --reload"),
            ("JSON code", ["--code", "--json"], "--json"),
            ("check of a table", ["--table", "--max-error", "1"], "--max-error"),
            ("JSON and CSV", ["--table", "--json", "--format", "csv"], "--format csv"),
            ("empty file name", ["-o", ""], "-o"),
            ("table value outside GBK", ["--table", "\U0001F600"], "CRYSTAL"),
        ]
        cli_test.check_usage_errors(self, cases)

    def test_help_names_every_option(self):
        run = Run(["--help"])
        self.assertEqual(run.status, DONE, run)
        for text in ("--code", "-o,--output FILE", "--encoding", "--lf", "--max-error PCT", "--table",
                     "--format", "--reload TH1", "NO_COLOR", "Examples:", "Exit status:",
                     "3  --max-error", "4  the output could not be written"):
            self.assertIn(text, run.out, run)


def main():
    global GOLDEN, NATIVE
    parser = argparse.ArgumentParser()
    parser.add_argument("--emulator", action="append", default=[])
    parser.add_argument("--presets", required=True)
    parser.add_argument("--golden", required=True)
    parser.add_argument("cli")
    options, rest = parser.parse_known_args()
    cli_test.COMMAND = options.emulator + [options.cli]
    cli_test.PRESETS_FILE = options.presets
    NATIVE = not options.emulator
    GOLDEN = Path(options.golden).read_bytes()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
