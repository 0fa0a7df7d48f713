#!/usr/bin/env python3
"""Runs the build's text-table generator on small tables.

Usage: text_table_generator_test.py --cmake CMAKE --iconv ICONV --script generate_text_tables.cmake

A table that would leave a text out, or fill it differently in the two
languages, must stop the build naming the key; good tables must give the
keys as an enum, each language's values in GBK in key order, and both
tables as UTF-8 JSON.
"""

import argparse
import json
import os
import re
import subprocess
import sys
import tempfile
import unittest

CMAKE = ""
ICONV = ""
SCRIPT = ""

TARGETS = "[target t1-12t]\nuart = UART0\n"
TARGET_EN = "target.t1-12t.chips = classic 8051\ntarget.t1-12t.registers = TMOD, TH1\n"
TARGET_ZH = "target.t1-12t.chips = 经典 8051\ntarget.t1-12t.registers = TMOD、TH1\n"

# English table, Chinese table (the target's texts added to both), and the
# text the error message must hold.
MALFORMED_CASES = [
    ("key missing in Chinese", "a.b = x\na.c = y\n", "a.b = 甲\n", "the key 'a.c' is missing"),
    ("key missing in English", "a.b = x\n", "a.b = 甲\na.c = 乙\n", "the key 'a.c' is missing"),
    ("placeholders differ", "a.b = at {rate} bps\n", "a.b = {baud} 波特\n", "placeholders of 'a.b'"),
    ("placeholder missing", "a.b = {rate} on {crystal}\n", "a.b = {rate}\n", "placeholders of 'a.b'"),
    ("empty value", "a.b = \n", "a.b = 甲\n", "'a.b' is empty"),
    ("blank value", "a.b = \\s\n", "a.b = 甲\n", "'a.b' is empty"),
    ("non-ASCII English", "a.b = café\n", "a.b = 咖啡\n", "'a.b' holds a byte above 0x7F"),
    ("key twice", "a.b = x\na.b = y\n", "a.b = 甲\n", "'a.b' is given a second time"),
    ("upper-case key", "A.b = x\n", "A.b = 甲\n", "not 'key = value'"),
    ("no blank around =", "a.b=x\n", "a.b = 甲\n", "not 'key = value'"),
    ("lone brace", "a.b = {rate\n", "a.b = {rate\n", "'a.b'"),
    ("unknown escape", "a.b = C:\\temp\n", "a.b = 甲\n", "'a.b' holds a '\\'"),
    ("character GBK lacks", "a.b = x\n", "a.b = \U0001F600\n", "'a.b' is not UTF-8 that GBK can hold"),
    ("two keys, one name", "a.b-c = x\na-b.c = y\n", "a.b-c = 甲\na-b.c = 乙\n", "'a-b.c' gives the name ABC"),
]


def generate(english, chinese, targets=TARGETS, target_texts=True):
    """Runs the generator; returns (exit status, message, key header, table
    source, JSON)."""
    with tempfile.TemporaryDirectory() as folder:
        paths = {name: os.path.join(folder, name) for name in
                 ("en.txt", "zh.txt", "targets.txt", "text_key.h", "tables.cpp", "texts.json")}
        contents = {"en.txt": english + (TARGET_EN if target_texts else ""),
                    "zh.txt": chinese + (TARGET_ZH if target_texts else ""), "targets.txt": targets}
        for name, content in contents.items():
            with open(paths[name], "w", encoding="utf-8", newline="") as file:
                file.write(content)
        completed = subprocess.run(
            [CMAKE, f"-DEN={paths['en.txt']}", f"-DZH={paths['zh.txt']}", f"-DTARGETS={paths['targets.txt']}",
             f"-DKEY_HEADER={paths['text_key.h']}", f"-DTABLE_SOURCE={paths['tables.cpp']}",
             f"-DJSON_OUTPUT={paths['texts.json']}", f"-DICONV={ICONV}", "-P", SCRIPT],
            capture_output=True, text=True, check=False)
        outputs = []
        for name in ("text_key.h", "tables.cpp", "texts.json"):
            outputs.append(open(paths[name], encoding="utf-8").read() if os.path.exists(paths[name]) else "")
        # CMake wraps long messages; join the lines to search them whole.
        return (completed.returncode, " ".join(completed.stderr.split()), *outputs)


def literals(source, name):
    """The bytes of each string literal of the named array."""
    body = re.search(name + r" = \{(.*?)\n  \};", source, re.S).group(1)
    return [bytes(int(byte, 16) for byte in re.findall(r"\\x([0-9a-f]{2})", literal))
            for literal in re.findall(r'"((?:\\x[0-9a-f]{2})*)"', body)]


class TextTableGeneratorTest(unittest.TestCase):
    def test_malformed_tables_stop_the_build(self):
        for name, english, chinese, expected in MALFORMED_CASES:
            with self.subTest(name):
                status, message, header, source, texts = generate(english, chinese)
                self.assertNotEqual(status, 0, message)
                self.assertIn(expected, message)
                self.assertEqual((header, source, texts), ("", "", ""))

    def test_a_target_without_its_texts_stops_the_build(self):
        status, message, *_ = generate("a.b = x\n", "a.b = 甲\n", target_texts=False)
        self.assertNotEqual(status, 0, message)
        self.assertIn("target.t1-12t.chips", message)

    def test_good_tables(self):
        english = ("# comment\n"
                   "report.achieved = achieved:\\s\n"
                   "run.usage-error = {message} (see {program} --help)\n"
                   "help.footer = line one\\nline two; [braces] {{x}} \\\\ \"quoted\"\n")
        chinese = ("run.usage-error = {message}（参见 {program} --help）\r\n"
                   "report.achieved = 实际：\r\n"
                   "# 注释\r\n"
                   "help.footer = 第一行\\n第二行；[括号] {{x}} \\\\ \"引号\"\r\n")
        status, message, header, source, texts = generate(english, chinese)
        self.assertEqual(status, 0, message)
        names = re.findall(r"^  (\w+),$", header, re.M)
        self.assertEqual(names, ["ReportAchieved", "RunUsageError", "HelpFooter", "TargetT112tChips",
                                 "TargetT112tRegisters"])
        self.assertIn("kTextKeyCount = 5", header)
        expected_english = ["achieved: ", "{message} (see {program} --help)",
                            'line one\nline two; [braces] {{x}} \\ "quoted"', "classic 8051", "TMOD, TH1"]
        expected_chinese = ["实际：", "{message}（参见 {program} --help）", '第一行\n第二行；[括号] {{x}} \\ "引号"',
                            "经典 8051", "TMOD、TH1"]
        self.assertEqual(literals(source, "english"), [text.encode("ascii") for text in expected_english])
        self.assertEqual(literals(source, "chinese"), [text.encode("gbk") for text in expected_chinese])
        self.assertIn('TargetTextKeys{"t1-12t", TextKey::TargetT112tChips, TextKey::TargetT112tRegisters}', source)
        tables = json.loads(texts)
        self.assertEqual(tables["zh"]["help.footer"], expected_chinese[2])
        self.assertEqual(tables["en"]["report.achieved"], "achieved: ")
        self.assertEqual(list(tables["en"]), ["report.achieved", "run.usage-error", "help.footer",
                                              "target.t1-12t.chips", "target.t1-12t.registers"])


def main():
    global CMAKE, ICONV, SCRIPT
    parser = argparse.ArgumentParser()
    parser.add_argument("--cmake", required=True)
    parser.add_argument("--iconv", required=True)
    parser.add_argument("--script", required=True)
    options, rest = parser.parse_known_args()
    CMAKE, ICONV, SCRIPT = options.cmake, options.iconv, options.script
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
