#!/usr/bin/env python3
"""Runs the real tesmirol-cli and checks what it prints and its exit status.

Usage: cli_test.py [--emulator PART]... --presets FILE --version VERSION CLI

In the cross build the emulator (Wine through the project's wrapper) runs the
Windows executable; its standard output, standard error and exit status pass
through unchanged.
"""

import argparse
import json
import os
import pathlib
import struct
import subprocess
import sys
import unittest

WARNING = "生成的波特率存在偏差，不建议使用该方案！"

COMMAND = []
PRESETS_FILE = ""
VERSION = ""


class Run:
    """The outcome of one run: exit status, standard output and error.

    The run speaks the language asked for (--lang, English unless told), or
    with language None the one the environment's locale names (C.UTF-8, not
    English, unless the environment given says otherwise).
    """

    def __init__(self, arguments, language="en", environment=None):
        run_environment = dict(os.environ)
        for name in ("LC_ALL", "LC_MESSAGES", "LANG"):
            run_environment.pop(name, None)
        # Wine turns the arguments into UTF-16 by the locale's character set.
        run_environment["LC_ALL"] = "C.UTF-8"
        run_environment.update(environment or {})
        language_options = ["--lang", language] if language else []
        completed = subprocess.run(
            COMMAND + language_options + arguments,
            capture_output=True,
            env=run_environment,
            timeout=120,
            check=False,
        )
        self.arguments = arguments
        self.status = completed.returncode
        self.raw = completed.stdout
        self.out = completed.stdout.decode("utf-8", errors="replace")  # raw holds the bytes
        self.err = completed.stderr.decode("utf-8", errors="replace")

    def json(self):
        document = json.loads(self.out)
        check_report_schema(self.arguments, document)
        return document

    def __str__(self):
        return f"{self.arguments}: status {self.status}\nstdout: {self.out!r}\nstderr: {self.err!r}"


# The published shape of the reports (docs/tesmirol-cli.schema.json): every
# report a test reads is held to it.
SCHEMA_FILE = pathlib.Path(__file__).resolve().parents[2] / "docs" / "tesmirol-cli.schema.json"
_report_validators = {}


def table_definition(arguments):
    """The schema's definition of the table --table prints: a plan's when a
    --uart gives a rate, a target's with --target, else the classic one."""
    uarts = [value for option, value in zip(arguments, arguments[1:]) if option == "--uart"]
    uarts += [argument.split("=", 1)[1] for argument in arguments if argument.startswith("--uart=")]
    if any(":" in uart for uart in uarts):
        return "planTable"
    if "--target" in arguments or any(argument.startswith("--target=") for argument in arguments):
        return "targetTable"
    return "classicTable"


def report_definition(arguments, document):
    """The schema's definition of the document the arguments print: a
    table or a listing by its option, a plan (a --target report with --uart that planned
    its UARTs) by its "plan" member, which the clock finder's report also
    has; None for the reports the root's oneOf tells apart (the classic
    calculation, a target's or family's, null, the rates of a reload, the
    rates finder's and the clock finder's)."""
    if "--table" in arguments:
        return table_definition(arguments)
    if "--list-presets" in arguments:
        return "presetListing"
    if "--list-targets" in arguments:
        return "partListing" if "--parts" in arguments else "targetListing"
    if isinstance(document, dict) and "plan" in document and "--find-clock" not in arguments:
        return "planReport"
    return None


def check_report_schema(arguments, document):
    """Validates a --json report (or --table's JSON) against the published
    schema, by the definition of its mode (report_definition)."""
    formats = [value for option, value in zip(arguments, arguments[1:]) if option == "--format"]
    if "--json" not in arguments and "json" not in formats:
        return
    definition = report_definition(arguments, document)
    validator = _report_validators.get(definition)
    if validator is None:
        import jsonschema  # Debian's python3-jsonschema

        schema = json.loads(SCHEMA_FILE.read_text(encoding="utf-8"))
        validator_class = jsonschema.validators.validator_for(schema)
        validator_class.check_schema(schema)
        if definition is not None:
            schema = {key: value for key, value in schema.items() if key != "oneOf"} | {"$ref": f"#/$defs/{definition}"}
        validator = _report_validators[definition] = validator_class(schema)
    errors = sorted(validator.iter_errors(document), key=lambda error: list(error.absolute_path))
    if errors:
        error = errors[0]
        where = "/".join(str(part) for part in error.absolute_path)
        raise AssertionError(
            f"{arguments}: the report breaks {SCHEMA_FILE.name} ({definition or 'root'}) at /{where}: {error.message}")


def as_float32(value):
    """The value rounded to float32 and widened back, as Python's float."""
    return struct.unpack("<f", struct.pack("<f", value))[0]


def read_presets(path):
    """The two sections of res/presets.txt, the way the build reads them."""
    sections = {}
    current = None
    with open(path, encoding="ascii") as file:
        for line in file:
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            if line.startswith("[") and line.endswith("]"):
                current = sections.setdefault(line[1:-1], [])
            else:
                current.append(line)
    return sections


def mode(reload, achieved, text, status="Ok", out_of_tolerance=False):
    return {
        "reload": reload,
        "divisor": 256 - reload,
        "achieved": achieved,
        "deviationText": text,
        "status": status,
        "outOfTolerance": out_of_tolerance,
    }


# JSON reports: arguments, then the fields expected at the top level, then the
# two modes.
JSON_CASES = [
    (
        "defaults",
        [],
        {"crystalText": "11.0592MHZ", "baudText": "9600", "baud": 9600, "crystalHz": 11059200,
         "minBps": 112, "maxBps": 57600, "outcome": "Code"},
        [mode(0xFD, 9600, "0.00"), mode(0xFA, 9600, "0.00")],
    ),
    (
        "12MHz/9600: both settings beyond 1 %, warning",
        ["12MHz", "9600"],
        {"crystalHz": 12000000, "minBps": 122, "maxBps": 62500, "outcome": "Warning",
         "output": WARNING},
        [mode(0xFC, 7812, "-18.63", out_of_tolerance=True),
         mode(0xF9, 8928, "-7.00", out_of_tolerance=True)],
    ),
    (
        "11.0592MHz/110: too low for the crystal, nothing generated",
        ["11.0592MHz", "110"],
        {"outcome": "Nothing", "output": ""},
        [mode(-5, 110, "0.00", "TooLow"), mode(-267, 110, "0.00", "TooLow")],
    ),
    (
        "12MHz/300: exactly 1 % is within tolerance",
        ["12MHz", "300"],
        {"outcome": "Code"},
        [mode(0x97, 297, "-1.00"), mode(0x2F, 299, "-0.33")],
    ),
    (
        "negative baud rate is a value, not an option",
        ["11.0592MHz", "-9600"],
        {"baud": -9600, "baudText": "-9600", "outcome": "Nothing"},
        [mode(0x103, -9600, "0.00", "TooLow"), mode(0x106, -9600, "0.00", "TooLow")],
    ),
    (
        "negative crystal starting with a point is a value",
        ["-.5MHz", "1200"],
        {"crystalText": "-.5MHZ", "crystalHz": -500000},
        [],
    ),
    (
        "-- ends the options",
        ["--", "-1MHz", "-9600"],
        {"crystalText": "-1MHZ", "baud": -9600, "crystalHz": -1000000},
        [],
    ),
    (
        "options may follow the values",
        ["24MHz", "1200", "--json"],
        {"crystalHz": 24000000, "outcome": "Code"},
        [mode(0xCB, 1179, "-1.75", out_of_tolerance=True), mode(0x97, 1190, "-0.83")],
    ),
    (
        "Chinese text round-trips through GBK and is upper-cased",
        ["11.0592mhz晶振", "9600波特"],
        {"crystalText": "11.0592MHZ晶振", "baudText": "9600波特", "crystalHz": 11059200,
         "outcome": "Code"},
        [mode(0xFD, 9600, "0.00"), mode(0xFA, 9600, "0.00")],
    ),
]

# Usage errors: arguments, then a text that the message on standard error
# must name.
USAGE_ERROR_CASES = [
    ("unknown option", ["--bogus"], "--bogus"),
    ("unknown short option", ["-x", "9600"], "-x"),
    ("third value", ["12MHz", "9600", "3"], '"3"'),
    ("presets with values", ["--list-presets", "12MHz"], "--list-presets"),
    ("crystal outside GBK", ["\U0001F600"], "CRYSTAL"),
    ("baud outside GBK", ["12MHz", "9600\U0001F600"], "BAUD"),
    ("crystal not UTF-8", [b"12\xffMHz"], "CRYSTAL"),
    ("json usage error prints no JSON", ["--json", "--bogus"], "--bogus"),
]

# Plain reports without a result: arguments, then a text that the message on
# standard error must hold.
NO_RESULT_CASES = [
    ("crystal without a number", ["MHz", "9600"], '"MHz" does not start with a number'),
    ("empty crystal", ["", "9600"], "crystal text is empty"),
    ("empty baud", ["12MHz", ""], "baud text is empty"),
    ("baud reads as 0", ["12MHz", "abc"], '"abc" reads as a rate of 0'),
]


class JsonReportTest(unittest.TestCase):
    def test_fields(self):
        for name, arguments, fields, modes in JSON_CASES:
            with self.subTest(name):
                if "--json" not in arguments:
                    arguments = ["--json"] + arguments
                run = Run(arguments)
                self.assertEqual(run.status, 0, run)
                report = run.json()
                for key, value in fields.items():
                    self.assertEqual(report[key], value, f"{key} in {run}")
                for smod, expected in enumerate(modes):
                    actual = report["modes"][smod]
                    self.assertEqual(actual["smod"], smod)
                    for key, value in expected.items():
                        self.assertEqual(actual[key], value, f"SMOD={smod} {key} in {run}")

    def test_shape(self):
        report = Run(["--json", "12MHz", "9600"]).json()
        self.assertEqual(
            list(report),
            ["crystalText", "baudText", "baud", "frequency", "crystalHz", "minBps", "maxBps",
             "modes", "outcome", "output"])
        self.assertEqual(len(report["modes"]), 2)
        for entry in report["modes"]:
            self.assertEqual(
                list(entry),
                ["smod", "reload", "divisor", "achieved", "deviation", "deviationAbs",
                 "deviationText", "status", "outOfTolerance"])
            self.assertIsInstance(entry["deviation"], float)

    def test_numbers_read_back_exactly(self):
        # 11.0592 without a unit is 11 Hz; its float32 value is not a whole
        # number, so the frequency must come out as that float, not rounded.
        report = Run(["--json", "11.0592", "9600"]).json()
        self.assertEqual(report["frequency"], as_float32(11.0592))
        self.assertEqual(report["crystalHz"], 11)

        # The double nearest to -10.715 must come back as that very double.
        report = Run(["--json", "24MHz", "20000"]).json()
        smod1 = report["modes"][1]
        self.assertEqual(smod1["achieved"], 17857)
        self.assertEqual(smod1["deviation"], (17857 - 20000) * 100 / 20000.0)
        self.assertEqual(smod1["deviationAbs"], abs(as_float32(smod1["deviation"])))
        self.assertEqual(smod1["deviationText"], "-10.72")

    def test_code_output(self):
        report = Run(["--json", "11.0592MHz", "9600"]).json()
        output = report["output"]
        lines = output.split("\r\n")
        self.assertNotIn("\n", "".join(lines), "every line ends in CRLF")
        self.assertEqual(len(lines), 68)  # 67 lines, each ending in CRLF
        self.assertIn("// 说明: 11.0592MHZ晶震下初始化串口波特率为9600bps", lines)
        self.assertIn("\tTH1 = 0xFD;", lines)
        self.assertIn("\tTL1 = 0xFD;", lines)
        self.assertIn("\tPCON &= 0x7F;", lines)

        output = Run(["--json", "11.0592MHz", "19200"]).json()["output"]
        self.assertIn("\tTH1 = 0xFD;\r\n", output)
        self.assertIn("\tPCON |= 0x80;\r\n", output)

    def test_no_result_is_null(self):
        for arguments in (["MHz", "9600"], ["--", "--help"], ["12MHz", "0"]):
            with self.subTest(arguments):
                run = Run(["--json"] + arguments)
                self.assertEqual(run.status, 1, run)
                self.assertIsNone(run.json(), run)


class PlainReportTest(unittest.TestCase):
    def test_default_report(self):
        # Without --lang, in a locale that is not English: Chinese.
        run = Run([], language=None)
        self.assertEqual(run.status, 0, run)
        header = (
            "选用晶震：11059200 Hz\n"
            "最低：112bps  最高：57600bps\n"
            "SMOD=0  TH = 0xFD  实际：9600bps  偏差：0.00%\n"
            "SMOD=1  TH = 0xFA  实际：9600bps  偏差：0.00%\n"
            "\n")
        self.assertTrue(run.out.startswith(header), run)
        # The code after the header is the output box's text byte for byte:
        # CRLF kept, not doubled to CR CR LF by a text-mode stream.
        code = Run(["--json"]).json()["output"]
        self.assertEqual(run.out[len(header):], code)
        self.assertNotIn(b"\r\r", run.raw)

    def test_report_lines(self):
        # Arguments, the lines expected, and whether they end the report.
        cases = [
            ("warning, deviations beyond 1 % marked", ["12MHz", "9600"],
             "SMOD=0  TH = 0xFC  实际：7812bps  偏差：-18.63%（超出1%）\n"
             "SMOD=1  TH = 0xF9  实际：8928bps  偏差：-7.00%（超出1%）\n"
             "\n" + WARNING + "\n", True),
            ("too low, nothing generated", ["11.0592MHz", "110"],
             "SMOD=0  波特率太低  实际：110bps  偏差：0.00%\n"
             "SMOD=1  波特率太低  实际：110bps  偏差：0.00%\n", True),
            ("too high", ["-.5MHz", "1200"],
             "选用晶震：-500000 Hz\n"
             "最低：-5bps  最高：-2604bps\n"
             "SMOD=0  波特率太高  实际：1302bps  偏差：8.50%（超出1%）\n"
             "SMOD=1  波特率太高  实际：1302bps  偏差：8.50%（超出1%）\n", True),
            ("a negative deviation that rounds to zero keeps its sign", ["1880MHz", "57600"],
             "实际：57598bps  偏差：-0.00%\n", False),
            ("in English, deviations beyond 1 % marked", ["--lang", "en", "12MHz", "9600"],
             "selected crystal: 12000000 Hz\n"
             "lowest: 122bps  highest: 62500bps\n"
             "SMOD=0  TH = 0xFC  achieved: 7812bps  deviation: -18.63% (beyond 1%)\n"
             "SMOD=1  TH = 0xF9  achieved: 8928bps  deviation: -7.00% (beyond 1%)\n", False),
            ("in English, too low", ["--lang", "en", "11.0592MHz", "110"],
             "SMOD=0  baud rate too low  achieved: 110bps  deviation: 0.00%\n"
             "SMOD=1  baud rate too low  achieved: 110bps  deviation: 0.00%\n", True),
            ("in English, too high", ["--lang", "en", "-.5MHz", "1200"],
             "SMOD=0  baud rate too high  achieved: 1302bps  deviation: 8.50% (beyond 1%)\n", False),
        ]
        for name, arguments, lines, at_end in cases:
            with self.subTest(name):
                run = Run(arguments, language="zh")
                self.assertEqual(run.status, 0, run)
                if at_end:
                    self.assertTrue(run.out.endswith(lines), run)
                else:
                    self.assertIn(lines, run.out, run)

    def test_no_result(self):
        for name, arguments, reason in NO_RESULT_CASES:
            with self.subTest(name):
                run = Run(arguments)
                self.assertEqual(run.status, 1, run)
                self.assertEqual(run.out, "", run)
                self.assertIn(reason, run.err, run)


class CommandLineTest(unittest.TestCase):
    def test_usage_errors(self):
        for name, arguments, named in USAGE_ERROR_CASES:
            with self.subTest(name):
                run = Run(arguments)
                self.assertEqual(run.status, 2, run)
                self.assertEqual(run.out, "", run)
                self.assertIn(named, run.err, run)

    def test_version(self):
        run = Run(["--version"])
        self.assertEqual((run.status, run.out), (0, f"tesmirol-cli {VERSION}\n"), run)

    def test_help(self):
        run = Run(["--help"])
        self.assertEqual(run.status, 0, run)
        for text in ("Usage:", "CRYSTAL", "BAUD", "--json", "--list-presets", "--version"):
            self.assertIn(text, run.out, run)

    def test_preset_lists_match_the_file(self):
        expected = read_presets(PRESETS_FILE)
        self.assertEqual((len(expected["crystal"]), len(expected["baud"])), (252, 17))

        run = Run(["--list-presets", "--json"])
        self.assertEqual(run.status, 0, run)
        self.assertEqual(run.json(), {"crystal": expected["crystal"], "baud": expected["baud"]})

        run = Run(["--list-presets"])
        self.assertEqual(run.status, 0, run)
        self.assertEqual(
            run.out,
            "[crystal]\n" + "".join(f"{entry}\n" for entry in expected["crystal"])
            + "\n[baud]\n" + "".join(f"{entry}\n" for entry in expected["baud"]))


def check_usage_errors(test, cases):
    """Each case (name, arguments, texts) ends with status 2, nothing on
    standard output, and one line on standard error naming every text."""
    for name, arguments, named in cases:
        with test.subTest(name):
            run = Run(arguments)
            test.assertEqual((run.status, run.out), (2, ""), run)
            for text in [named] if isinstance(named, str) else named:
                test.assertIn(text, run.err, run)
            test.assertEqual(run.err.count("\n"), 1, "one line on stderr")


def run_tests_on_command():
    """The main of a test file that needs only the program (and, for the
    Windows build, the emulator that runs it)."""
    global COMMAND
    parser = argparse.ArgumentParser()
    parser.add_argument("--emulator", action="append", default=[])
    parser.add_argument("cli")
    options, rest = parser.parse_known_args()
    COMMAND = options.emulator + [options.cli]
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


def main():
    global COMMAND, PRESETS_FILE, VERSION
    parser = argparse.ArgumentParser()
    parser.add_argument("--emulator", action="append", default=[])
    parser.add_argument("--presets", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("cli")
    options, rest = parser.parse_known_args()
    COMMAND = options.emulator + [options.cli]
    PRESETS_FILE = options.presets
    VERSION = options.version
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
