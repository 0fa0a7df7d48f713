#!/usr/bin/env python3
"""Holds tesmirol-cli --json to its published bytes: the reports the
answers' JSON writer prints (the classic calculation, a target's and a
family's, their links, and the rates of a reload; a plan of several UARTs,
its links and its conflict; the preset lists) are the files in golden/,
byte for byte, as the
command line printed them before answers/ wrote them. Each is also held to
docs/tesmirol-cli.schema.json.

Usage: cli_json_golden_test.py [--emulator PART]... CLI
"""

import json
import pathlib
import unittest

import cli_test
from cli_test import Run

GOLDEN = pathlib.Path(__file__).resolve().parent / "golden"

# name: the report's arguments. The name is the file in golden/ (.json).
# A plan's conflict is reported, then the run ends with status 3.
CONFLICT_STATUS = {"plan_conflict": 3}
CASES = {
    "classic": ["--json", "11.0592MHz", "9600"],
    "classic_warning": ["--json", "12MHz", "19200"],
    "classic_link_adapter": ["--json", "--peer", "ch340", "11.0592MHz", "115200"],
    "classic_link_no_exact_rate": ["--json", "--peer", "ideal", "11.0592000000000000001MHz", "9600"],
    "classic_link_peer_cannot": ["--json", "--peer", "cp2102", "1MHz", "100"],
    "classic_link_no_setting": ["--json", "--peer", "ideal", "11.0592MHz", "10"],
    "family": ["--json", "--target", "stc8", "24MHz", "115200"],
    "target_out_of_range": ["--json", "--target", "stc-t2-1t", "11.0592MHz", "3000000"],
    "target_link_second_8051": ["--json", "--peer", "stc15@22.1184MHz", "--target", "stc8", "--frame", "8E1",
                                "11.0592MHz", "9600"],
    "reload_classic": ["--json", "--reload", "0xFD", "11.0592mhz"],
    "reload_classic_negative": ["--json", "--reload", "0", "-12MHz"],
    "reload_target_16_bit": ["--json", "--target", "stc-t2-1t", "--reload", "0xFFE8", "11.0592MHz"],
    "reload_target_fraction": ["--json", "--target", "t1-12t", "--reload", "0xF9", "12MHz"],
    "reload_target_mantissa": ["--json", "--target", "cc253x-usart0", "--reload", "255", "32MHz"],
    "reload_target_against_rate": ["--json", "--target", "t1-12t", "--reload", "0xF9", "12MHz", "4800"],
    "plan_link_frame": ["--target", "stc8", "--uart", "1:115200", "--uart", "2:9600", "--peer", "ch340", "--frame", "8E1",
                        "--json", "22.1184MHz"],
    "plan_own_peer": ["--target", "stc8", "--uart", "1:115200", "--uart", "2:9600", "--peer", "UART2=ideal", "--json",
                      "22.1184MHz"],
    "plan_part": ["--target", "STC8H1K08", "--uart", "1:115200", "--uart", "2:9600", "--json", "22.1184MHz"],
    "plan_conflict": ["--target", "n76e003", "--uart", "0:110", "--uart", "1:9600", "--json", "16.6MHz"],
    "presets": ["--list-presets", "--json"],
}


class JsonGoldenTest(unittest.TestCase):
    def test_reports_keep_their_bytes(self):
        for name, arguments in CASES.items():
            with self.subTest(name):
                run = Run(arguments)
                self.assertEqual(run.status, CONFLICT_STATUS.get(name, 0), run)
                expected = (GOLDEN / f"{name}.json").read_bytes()
                self.assertEqual(run.raw.replace(b"\r\n", b"\n"), expected, name)
                run.json()  # and the schema


if __name__ == "__main__":
    cli_test.run_tests_on_command()
