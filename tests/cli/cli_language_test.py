#!/usr/bin/env python3
"""Runs every output mode of the real tesmirol-cli in Chinese and English:
--lang en prints no Chinese character, Chinese (the default) prints none of
the words only the English text table uses, --json is the same bytes in both
languages, and --lang comes before the locale, the locale before the default.

Usage: cli_language_test.py [--emulator PART]... --texts-en FILE --texts-zh FILE CLI

The files are res/texts/en.txt and res/texts/zh.txt. The generated code's
own words are the code generator's: in English the whole output, code
included, must hold no Chinese; in Chinese the code (the JSON's "output",
which is the Chinese code with every --lang) is cut out of each report
before its words are checked. CSV, like
JSON, is for programs and the same in both languages: its columns are
named by identifiers, its outcomes by the JSON's names.
"""

import argparse
import re
import sys
import unittest

import cli_test
from cli_test import Run

TEXTS = {}

# Every output mode: its name, arguments and whether it carries the
# generated code: "report" (in Chinese the JSON's "output", with --json
# added, is the same code), "code" (the output is the code alone), or not.
MODES = [
    ("report", ["11.0592MHz", "9600"], "report"),
    ("report, warning", ["12MHz", "9600"], "report"),
    ("report, out of range", ["11.0592MHz", "110"], None),
    ("target report", ["--target", "t1-12t", "12MHz", "9600"], "report"),
    ("family report", ["--target", "stc15", "11.0592MHz", "115200"], "report"),
    ("plan", ["--target", "stc8", "--uart", "1:115200", "--uart", "2:9600", "22.1184MHz"], "report"),
    ("plan, shared timer", ["--target", "n76e003", "--uart", "0:110", "--uart", "1:220", "24MHz"], "report"),
    ("reload", ["--reload", "0xFD", "11.0592MHz"], None),
    ("target reload", ["--target", "stc-t2-1t", "--reload", "0xFFE8", "11.0592MHz"], None),
    ("table, text", ["--table", "all", "115200"], None),
    ("table, markdown", ["--table", "11.0592MHz", "--format", "markdown"], None),
    ("target table", ["--target", "stc8", "--table", "all", "9600"], None),
    ("plan table", ["--table", "--target", "n76e003", "--uart", "0:110", "--uart", "1:9600"], None),
    ("rates", ["--rates", "9600,115200"], None),
    ("rates on a target", ["--rates", "9600,115200", "--target", "stc8"], None),
    ("clock finder", ["--find-clock", "9600,115200", "--target", "stc8", "--clock-range", "11MHz..12MHz"], None),
    ("clock finder for a plan", ["--find-clock", "--target", "stc8", "--uart", "1:115200", "--uart", "2:9600",
                                 "--clock-range", "11MHz..12MHz"], None),
    ("no clock", ["--find-clock", "9600,115200", "--target", "t1-12t", "--clock-range", "1000Hz..1100Hz"], None),
    ("serial link", ["--peer", "ch340", "--clock-tolerance", "1.5%", "--target", "stc8", "24MHz", "115200"], "report"),
    ("serial link that fails", ["--peer", "ft232r", "--require-link", "12MHz", "9600"], None),
    ("code", ["--code", "11.0592MHz", "9600"], "code"),
    ("code of a target", ["--code", "--target", "stc8", "22.1184MHz", "115200"], "code"),
    ("code of a plan", ["--code"] + ["--target", "stc8", "--uart", "1:115200", "--uart", "2:9600", "22.1184MHz"], "code"),
    ("driver", ["--driver", "--target", "stc8", "22.1184MHz", "115200"], "code"),
    ("assembly", ["--asm", "a51", "--target", "stc8", "22.1184MHz", "115200"], "code"),
    ("list targets", ["--list-targets"], None),
    ("list presets", ["--list-presets"], None),
    ("help", ["--help"], None),
    ("no result", ["abc", "9600"], None),
    ("no code", ["--code", "12MHz", "9600"], None),
    ("check fails", ["--max-error", "0.5", "12MHz", "9600"], None),
    ("check fails beyond the limit", ["--max-error", "0.1", "12MHz", "4800"], None),
    ("target check fails", ["--target", "t1-12t", "--max-error", "0.5", "12MHz", "9600"], None),
    ("target check fails beyond the limit", ["--target", "stc8", "--max-error", "0.0001", "11.0592MHz", "115201"],
     None),
    ("no plan", ["--target", "n76e003", "--uart", "0:110", "--uart", "1:9600", "24MHz"], None),
    ("no crystal", ["--rates", "9600,115200", "16MHz"], None),
    ("code to a folder that is not there", ["-o", "/nonexistent/sio.c", "11.0592MHz", "9600"], None),
]

# Usage errors: name and arguments.
USAGE_ERRORS = [
    ("unknown option", ["--frequency", "12MHz"]),
    ("option without its value", ["--target"]),
    ("bad --lang", ["--lang", "fr"]),
    ("bad --format", ["--table", "--format", "xml"]),
    ("unknown target", ["--target", "z80", "12MHz"]),
    ("two views", ["--table", "--reload", "0xFD"]),
    ("a value too many", ["12MHz", "9600", "4800"]),
    ("UART given twice", ["--target", "stc8", "--uart", "2:9600", "--uart", "uart2:4800", "12MHz"]),
    ("driver buffers", ["--target", "stc8", "--driver", "--rx-size", "128", "--tx-size", "128"]),
    ("--uart-mode without a target", ["--uart-mode", "3", "12MHz"]),
    ("a reload too wide", ["--target", "t1-12t", "--reload", "0x1FF", "12MHz"]),
    ("an unknown peer", ["--peer", "rs485", "12MHz"]),
    ("a clock range that is no range", ["--find-clock", "9600", "--target", "stc8", "--clock-range", "12MHz"]),
]

CJK = re.compile(r"[\u3000-\u303f\u3400-\u9fff\uff00-\uffef]")
WORD = re.compile(r"[A-Za-z]{3,}")
# Option names ("--max-error", "-o") stay as they are in both languages.
OPTION = re.compile(r"(?<![A-Za-z0-9])--?[A-Za-z][A-Za-z0-9-]*")


def words_of(text):
    """The words of a text, lower-cased, without option names and without
    the names written in capitals (registers, CRYSTAL, the help's FILE)."""
    return {word.lower() for word in WORD.findall(OPTION.sub(" ", text)) if not word.isupper()}


def read_table(path):
    """The values of a text table, escapes and placeholders left as written."""
    values = {}
    with open(path, encoding="utf-8") as file:
        for line in file:
            if line.startswith("#") or " = " not in line:
                continue
            key, value = line.rstrip("\n").split(" = ", 1)
            values[key] = value
    return values


def english_only_words():
    """Words of the English table that the Chinese table never uses (so not
    option names, option values, register or chip names), without the
    placeholders' and escapes' names."""
    def words(values):
        found = set()
        for value in values:
            found |= words_of(re.sub(r"\{[A-Za-z0-9]*\}|\\[ns\\]", " ", value))
        return found
    return words(TEXTS["en"].values()) - words(TEXTS["zh"].values())


def without_code(arguments, text):
    """The Chinese text with the generated code (the JSON's "output", which
    is the Chinese code in every language) cut out."""
    output = Run(arguments + ["--json"], language="zh").json()["output"]
    return text.replace(output, "") if output else text


class BothLanguagesTest(unittest.TestCase):
    def test_each_mode_speaks_the_language_asked_for(self):
        english_words = english_only_words()
        self.assertIn("achieved", english_words)
        for name, arguments, carries_code in MODES:
            with self.subTest(name):
                chinese = Run(arguments, language="zh")
                english = Run(arguments, language="en")
                default = Run(arguments, language=None)
                self.assertEqual(chinese.status, english.status, english)
                self.assertEqual((default.raw, default.err), (chinese.raw, chinese.err), "the default is Chinese")
                # In English the generated code is English too: everything is checked.
                english_text = english.out + english.err
                self.assertTrue(english_text.strip(), english)
                self.assertIsNone(CJK.search(english_text), english)
                chinese_text = chinese.err if carries_code == "code" else chinese.out + chinese.err
                if carries_code == "report":
                    chinese_text = without_code(arguments, chinese_text)
                leaked = words_of(chinese_text) & english_words
                self.assertFalse(leaked, f"{chinese}: English words {sorted(leaked)}")

    def test_usage_errors_in_both_languages(self):
        english_words = english_only_words()
        for name, arguments in USAGE_ERRORS:
            with self.subTest(name):
                chinese = Run(arguments, language="zh")
                english = Run(arguments, language="en")
                for run in (chinese, english):
                    self.assertEqual((run.status, run.out, run.err.count("\n")), (2, "", 1), run)
                self.assertIn("--help", english.err)
                self.assertIsNone(CJK.search(english.err), english)
                self.assertIsNotNone(CJK.search(chinese.err), chinese)
                leaked = words_of(chinese.err) & english_words
                self.assertFalse(leaked, f"{chinese}: English words {sorted(leaked)}")

    def test_bad_lang_lists_both_languages(self):
        run = Run(["--lang", "de"], language=None)
        self.assertEqual(run.status, 2, run)
        self.assertIn('"de"', run.err)
        self.assertIn("zh", run.err)
        self.assertIn("en", run.err)

    def test_json_and_csv_are_the_same_in_both_languages(self):
        cases = [
            ["11.0592MHz", "9600"],
            ["12MHz", "9600"],
            ["abc", "9600"],
            ["--target", "stc15", "11.0592MHz", "115200"],
            ["--target", "stc8", "--uart", "1:115200", "--uart", "2:9600", "22.1184MHz"],
            ["--target", "n76e003", "--uart", "0:110", "--uart", "1:9600", "24MHz"],
            ["--reload", "0xFD", "11.0592MHz"],
            ["--target", "stc-t2-1t", "--reload", "0xFFE8", "11.0592MHz"],
            ["--table", "11.0592MHz"],
            ["--table", "all", "115200", "--format", "csv"],
            ["--target", "stc8", "--table", "1MHz", "2000000", "--format", "csv"],
            ["--table", "--target", "n76e003", "--uart", "0:110", "--uart", "1:9600", "--format", "csv"],
            ["--rates", "9600,115200", "--target", "stc8", "--format", "csv"],
            ["--target", "stc8", "--table", "all", "9600"],
            ["--table", "--target", "n76e003", "--uart", "0:110", "--uart", "1:9600"],
            ["--rates", "9600,115200"],
            ["--find-clock", "9600,115200", "--target", "stc8", "--clock-range", "11MHz..12MHz"],
            ["--list-targets"],
            ["--list-presets"],
        ]
        for arguments in cases:
            with self.subTest(" ".join(arguments)):
                machine = arguments if "csv" in arguments else arguments + ["--json"]
                chinese = Run(machine, language="zh")
                english = Run(machine, language="en")
                self.assertEqual((chinese.status, chinese.raw), (english.status, english.raw))
                self.assertTrue(english.raw, english)

    def test_lang_before_locale_before_default(self):
        # Name, --lang (None: not given), locale variables, the language.
        cases = [
            ("no locale", None, {}, "zh"),
            ("LC_ALL English", None, {"LC_ALL": "en_US.UTF-8"}, "en"),
            ("LC_ALL Chinese", None, {"LC_ALL": "zh_CN.UTF-8"}, "zh"),
            ("LC_MESSAGES when LC_ALL is empty", None, {"LC_ALL": "", "LC_MESSAGES": "en_GB.UTF-8"}, "en"),
            ("LANG alone", None, {"LC_ALL": "", "LANG": "en_US.UTF-8"}, "en"),
            ("the first set wins", None, {"LC_ALL": "", "LC_MESSAGES": "zh_CN.UTF-8", "LANG": "en_US.UTF-8"}, "zh"),
            ("C is not English", None, {"LC_ALL": "C", "LANG": "en_US.UTF-8"}, "zh"),
            ("--lang zh over an English locale", "zh", {"LC_ALL": "en_US.UTF-8"}, "zh"),
            ("--lang en over a Chinese locale", "en", {"LC_ALL": "zh_CN.UTF-8"}, "en"),
            ("the last --lang", None, {"LC_ALL": "en_US.UTF-8"}, "zh"),
        ]
        expected = {"zh": "选用晶震：", "en": "selected crystal: "}
        for name, language, environment, answer in cases:
            with self.subTest(name):
                arguments = ["--lang", "en", "--lang", "zh"] if name == "the last --lang" else []
                run = Run(arguments + ["11.0592MHz", "110"], language=language, environment=environment)
                self.assertEqual(run.status, 0, run)
                self.assertTrue(run.out.startswith(expected[answer]), run)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--emulator", action="append", default=[])
    parser.add_argument("--texts-en", required=True)
    parser.add_argument("--texts-zh", required=True)
    parser.add_argument("cli")
    options, rest = parser.parse_known_args()
    cli_test.COMMAND = options.emulator + [options.cli]
    TEXTS["en"] = read_table(options.texts_en)
    TEXTS["zh"] = read_table(options.texts_zh)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
