#!/usr/bin/env python3
"""Runs the real tesmirol-cli with --target, --list-targets and --rates: the
exact solver's choices as a user sees them, the code for a target, the
crystal finder, part numbers as printed on chips, and the usage errors that
list what is valid.

Usage: cli_target_test.py [--emulator PART]... --targets FILE CLI

FILE is res/targets.txt: --list-targets must show every target it holds.
"""

import argparse
import os
import re
import sys
import tempfile
import unittest
from pathlib import Path

import cli_test
from cli_test import Run

TARGET_NAMES = []

DONE, NO_RESULT, CHECK_FAILED = 0, 1, 3


class TargetReportTest(unittest.TestCase):
    def test_best_setting(self):
        # Arguments; the best target, its SMOD and reload, the exact rate as
        # numerator/denominator, and the outcome of the code.
        cases = [
            ("classic reload, exact", ["--target", "t1-12t", "11.0592MHz", "9600"],
             "t1-12t", 0, 0xFD, (9600, 1), "Code"),
            ("nearest neighbour, beyond 1 %", ["--target", "t1-12t", "12MHz", "9600"],
             "t1-12t", 1, 0xF9, (62500, 7), "Warning"),
            ("16-bit Timer 2", ["--target", "t2-12t", "12MHz", "9600"],
             "t2-12t", 0, 0xFFD9, (125000, 13), "Code"),
            ("family picks Timer 2 of the STC15", ["--target", "stc15", "11.0592MHz", "115200"],
             "stc-t2-1t", 0, 0xFFE8, (115200, 1), "Code"),
            ("family of the 8052 prefers Timer 2", ["--target", "8052", "12MHz", "9600"],
             "t2-12t", 0, 0xFFD9, (125000, 13), "Code"),
            ("name in any case", ["--target", "STC12-BRT-1T", "11.0592MHz", "9600"],
             "stc12-brt-1t", 0, 0xDC, (9600, 1), "Code"),
            # 2 x 16777216 / (2^(3-1) x (9 + 64)): DIV = 3, T3FD = 9.
            ("ADuC Timer 3 with its fractional divider", ["--target", "aduc84x", "16.777216MHz", "115200"],
             "aduc84x-t3", 0, 9, (8388608, 73), "Code"),
        ]
        for name, arguments, target, smod, reload, rate, outcome in cases:
            with self.subTest(name):
                run = Run(["--json"] + arguments)
                self.assertEqual(run.status, DONE, run)
                report = run.json()
                self.assertEqual(report["bestTarget"], target, run)
                best = next(s["best"] for s in report["solutions"] if s["target"] == target)
                self.assertEqual((best["smod"], best["reload"]), (smod, reload), run)
                self.assertEqual((best["achievedNumerator"], best["achievedDenominator"]), rate, run)
                self.assertEqual(report["outcome"], outcome, run)

    def test_out_of_range_is_a_status(self):
        cases = [
            ("above the fastest rate", ["t1-12t", "11.0592MHz", "115200"], "TooHigh"),
            ("below the slowest rate", ["t1-12t", "11.0592MHz", "110"], "TooLow"),
        ]
        for name, (target, crystal, baud), status in cases:
            with self.subTest(name):
                run = Run(["--json", "--target", target, crystal, baud])
                self.assertEqual(run.status, DONE, run)
                report = run.json()
                self.assertEqual(report["solutions"][0]["status"], status)
                self.assertIsNone(report["bestTarget"])
                self.assertEqual(report["output"], "")
                code = Run(["--code", "--target", target, crystal, baud])
                self.assertEqual((code.status, code.out), (NO_RESULT, ""), code)
                self.assertIn("no code", code.err)

    def test_text_report_marks_the_winner(self):
        run = Run(["--target", "t1-12t", "12MHz", "9600"])
        self.assertEqual(run.status, DONE, run)
        self.assertIn("SMOD=1  TH1 = 0xF9  achieved: 8928.57bps (62500/7)  deviation: -6.99% (beyond 1%)  <- best",
                      run.out)
        self.assertIn("SMOD=0  TH1 = 0xFC", run.out, "the other neighbour is shown too")
        chinese = Run(["--target", "t1-12t", "12MHz", "9600"], language="zh")
        self.assertIn("SMOD=1  TH1 = 0xF9  实际：8928.57bps (62500/7)  偏差：-6.99%（超出1%）  <- 最佳", chinese.out)
        self.assertIn("最佳：12T  SMOD=1  TH1 = 0xF9", chinese.out)

    def test_no_result(self):
        cases = [
            ("JSON null", ["--json", "--target", "t1-12t", "MHz", "9600"], NO_RESULT, "null\n", ""),
            ("negative crystal", ["--target", "t1-12t", "-12MHz", "9600"], NO_RESULT, "", "exact solver"),
            ("rate of 0", ["--target", "stc15", "12MHz", "abc"], NO_RESULT, "", '"abc"'),
            ("check without a result", ["--max-error", "1", "--target", "t1-12t", "MHz", "9600"],
             CHECK_FAILED, "", "MHz"),
        ]
        for name, arguments, status, out, named in cases:
            with self.subTest(name):
                run = Run(arguments)
                self.assertEqual((run.status, run.out), (status, out), run)
                self.assertIn(named, run.err, run)


class TargetClockChoiceTest(unittest.TestCase):
    def test_each_clock_and_smod_is_its_own_mode(self):
        # Target, crystal, baud; the (clocks per cycle, SMOD) of every mode in
        # order; a line of the text report that names its clock.
        prescaler = [1, 2, 4, 8, 16, 32, 64, 128]
        cases = [
            ("Timer 3 prescaler and SMOD", "n76-t3-uart0", "24MHz", "110",
             [(p, smod) for p in prescaler for smod in (0, 1)], "/128  SMOD=1  RH3,RL3 = "),
            ("1T or 12T, no SMOD", "stc-u3-t3", "22.1184MHz", "9600", [(1, 0), (12, 0)], "12T  SMOD=0  T3H,T3L = 0xFFD0"),
            ("4T or 12T with SMOD", "ds-t1", "11.0592MHz", "9600", [(4, 0), (4, 1), (12, 0), (12, 1)],
             "12T  SMOD=0  TH1 = 0xFD"),
        ]
        for name, target, crystal, baud, modes, line in cases:
            with self.subTest(name):
                report = Run(["--json", "--target", target, crystal, baud]).json()
                solution = report["solutions"][0]
                self.assertEqual([(m["clocksPerCycle"], m["smod"]) for m in solution["modes"]], modes)
                for mode in solution["modes"]:
                    for setting in mode["tried"]:
                        self.assertEqual((setting["clocksPerCycle"], setting["smod"]),
                                         (mode["clocksPerCycle"], mode["smod"]))
                text = Run(["--target", target, crystal, baud])
                self.assertIn(line, text.out, text)
                self.assertEqual(text.out.count("<- best"), 1, "one setting wins, whatever its clock")


class TargetCodeTest(unittest.TestCase):
    def test_code_is_the_reports_output(self):
        for target, crystal, baud in [("stc-t2-1t", "22.1184MHz", "115200"), ("stc12", "11.0592MHz", "9600"),
                                      ("t2-6t", "11.0592MHz", "57600")]:
            with self.subTest(target):
                report = Run(["--json", "--target", target, crystal, baud], language="zh").json()
                code = Run(["--code", "--lf", "--target", target, crystal, baud], language="zh")
                self.assertEqual(code.status, DONE, code)
                self.assertEqual(code.out, report["output"].replace("\r\n", "\n"))
                self.assertIn("SIO_Init", code.out)

    def test_uart_mode(self):
        for mode, scon in [(["--uart-mode", "1"], "SCON = 0x40;"), (["--uart-mode", "3"], "SCON = 0xC0;"),
                           ([], "SCON = 0x40;")]:
            with self.subTest(mode):
                run = Run(["--code", "--target", "t1-12t"] + mode + ["11.0592MHz", "9600"])
                self.assertEqual(run.status, DONE, run)
                self.assertIn(scon, run.out)

    def test_check_then_file(self):
        with tempfile.TemporaryDirectory() as folder:
            target = Path(folder, "sio.c")
            cases = [
                ("within the limit", ["--max-error", "0.2", "--target", "stc15", "12MHz", "115200"], DONE, True),
                ("beyond the limit", ["--max-error", "0.1", "--target", "stc15", "12MHz", "115200"],
                 CHECK_FAILED, False),
                # The best setting is -6.99 %: a limit beyond 1 % is the code's tolerance too.
                ("code within a limit beyond 1 %", ["--max-error", "7.5", "--target", "t1-12t", "12MHz", "9600"],
                 DONE, True),
                ("beyond a limit beyond 1 %", ["--max-error", "6", "--target", "t1-12t", "12MHz", "9600"],
                 CHECK_FAILED, False),
            ]
            for name, arguments, status, written in cases:
                with self.subTest(name):
                    if target.exists():
                        target.unlink()
                    run = Run(["-o", str(target), "--encoding", "gbk"] + arguments)
                    self.assertEqual(run.status, status, run)
                    self.assertEqual(target.exists(), written, run)
                    if written:
                        self.assertIn("SIO_Init".encode(), target.read_bytes())
                        self.assertEqual(os.listdir(folder), ["sio.c"])


class TargetListingTest(unittest.TestCase):
    def test_every_catalogue_target_is_listed(self):
        text = Run(["--list-targets"])
        listing = Run(["--list-targets", "--json"])
        self.assertEqual((text.status, listing.status), (DONE, DONE))
        names = [entry["name"] for entry in listing.json()["targets"]]
        self.assertEqual(names, TARGET_NAMES)
        for name in TARGET_NAMES:
            self.assertIn(name + "  ", text.out)
        families = listing.json()["families"]
        self.assertEqual(families["stc15"], ["stc-t2-1t", "stc-t2-12t", "stc-t1m0-1t", "stc-t1m0-12t",
                                             "stc-t1-1t", "stc-t1-12t"])
        for entry in listing.json()["targets"]:
            self.assertTrue(entry["source"] and entry["formula"] and entry["chips"], entry["name"])


    def test_uart_timer_function_and_every_clock(self):
        # Target; its UART, timer, init function and the P of every clock choice.
        cases = [
            ("classic Timer 1", "t1-12t", "UART0", "timer1", "SIO_Init", [12]),
            ("STC UART2, 1T or 12T", "stc-u2-t2", "UART2", "timer2", "SIO2_Init", [1, 12]),
            ("Nuvoton prescaler", "n76-t3-uart1", "UART1", "timer3", "SIO1_Init", [1, 2, 4, 8, 16, 32, 64, 128]),
            ("Silicon Labs SCA", "silabs-t1", "UART0", "timer1", "SIO_Init", [1, 4, 12, 48]),
        ]
        listing = Run(["--list-targets", "--json"]).json()
        text = Run(["--list-targets"]).out
        entries = {entry["name"]: entry for entry in listing["targets"]}
        for name, target, uart, timer, function, periods in cases:
            with self.subTest(name):
                entry = entries[target]
                self.assertEqual((entry["uart"], entry["timer"], entry["function"]), (uart, timer, function))
                self.assertEqual([clock["clocksPerCycle"] for clock in entry["clocks"]], periods)
                line = next(line for line in text.splitlines() if line.startswith(target + "  "))
                self.assertIn(f"{uart} on Timer {timer[-1]}, {function}", line)
                for period in periods:
                    self.assertRegex(line, rf"[ /]{period}T? ")
        self.assertEqual(list(listing["familyUarts"]["stc8"]), ["UART1", "UART2", "UART3", "UART4"])
        self.assertEqual(listing["familyUarts"]["n76e003"]["UART1"], ["n76-t3-uart1"])
        self.assertIn("stc12: UART1: stc-t1-1t stc-t1-12t stc12-brt-1t stc12-brt-12t; UART2: stc12-u2-brt", text)


class TargetTableTest(unittest.TestCase):
    def test_rows(self):
        # Arguments, the number of rows, and one row that must be there.
        cases = [
            ("one crystal, every rate", ["--target", "t1-12t", "11.0592MHz"], 17,
             "11.0592MHz,9600,t1-12t,Ok,12,0,0xFD,0,253,9600,1,9600,0.00,code"),
            ("one rate, every crystal", ["--target", "t2-12t", "all", "110"], 252,
             "6MHz,110,t2-12t,Ok,12,0,0xF957,249,87,37500,341,109.97,-0.03,code"),
            ("family", ["--target", "stc15", "12MHz", "115200"], 1,
             "12MHz,115200,stc-t2-1t,Ok,1,0,0xFFE6,255,230,1500000,13,115384.62,0.16,code"),
            ("out of range", ["--target", "t1-12t", "11.0592MHz", "115200"], 1,
             "11.0592MHz,115200,,TooHigh,,,,,,,,,,too high"),
        ]
        for name, arguments, count, row in cases:
            with self.subTest(name):
                run = Run(["--table", "--format", "csv"] + arguments)
                self.assertEqual(run.status, DONE, run)
                lines = run.out.splitlines()
                self.assertEqual(len(lines), count + 1, run)
                self.assertIn(row, lines)

    def test_json_rows(self):
        run = Run(["--table", "--json", "--target", "stc12", "11.0592MHz", "9600"])
        self.assertEqual(run.status, DONE, run)
        rows = run.json()
        self.assertEqual(len(rows), 1)
        self.assertEqual((rows[0]["target"], rows[0]["best"]["reloadText"]), ("stc-t1-1t", "0xDC"))


class CrystalFinderTest(unittest.TestCase):
    def test_crystals_for_rates(self):
        # Arguments, crystals that must be listed, crystals that must not.
        cases = [
            ("dialog's calculation", ["--rates", "9600,19200"], ["11.0592MHz", "22.1184MHz"], ["12MHz"]),
            ("on a family, 0.1 %", ["--rates", "9600,115200", "--target", "stc15", "--max-error", "0.1"],
             ["11.0592MHz", "22.1184MHz"], ["12MHz"]),
            ("on a family, 0.2 %", ["--rates", "9600,115200", "--target", "stc15", "--max-error", "0.2"],
             ["12MHz"], []),
            ("one crystal", ["--rates", "9600", "--target", "t2-12t", "12MHz"], ["12MHz"], ["6MHz"]),
        ]
        for name, arguments, listed, absent in cases:
            with self.subTest(name):
                run = Run(["--format", "csv"] + arguments)
                self.assertEqual(run.status, DONE, run)
                crystals = {line.split(",")[0] for line in run.out.splitlines()[1:]}
                for crystal in listed:
                    self.assertIn(crystal, crystals, run)
                for crystal in absent:
                    self.assertNotIn(crystal, crystals, run)

    def test_each_crystal_once(self):
        # The preset list holds a few frequencies twice; the finder names each
        # frequency once, whatever the question.
        cases = [
            ("on a family", ["--rates", "9600,115200", "--target", "stc8"], 2),
            ("dialog's calculation", ["--rates", "9600"], 1),
            ("one UART's generators", ["--rates", "9600,115200", "--target", "stc8", "--uart", "2"], 2),
        ]
        for name, arguments, rate_count in cases:
            with self.subTest(name):
                run = Run(["--format", "csv"] + arguments)
                self.assertEqual(run.status, DONE, run)
                crystals = [line.split(",")[0] for line in run.out.splitlines()[1:]]
                self.assertIn("3.6864MHz", crystals)
                for crystal in set(crystals):
                    self.assertEqual(crystals.count(crystal), rate_count, crystal)
                text = Run(arguments)
                lines = [line.split()[0] for line in text.out.splitlines()]
                self.assertEqual(len(lines), len(set(lines)), text)

    def test_json_and_none(self):
        run = Run(["--rates", "9600,115200", "--json", "--target", "stc15", "22.1184MHz"])
        self.assertEqual(run.status, DONE, run)
        self.assertEqual([r["reloadText"] for r in run.json()[0]["rates"]], ["0xFDC0", "0xFFD0"])
        none = Run(["--rates", "9600,921600", "--target", "t1-12t", "11.0592MHz"])
        self.assertEqual((none.status, none.out), (NO_RESULT, ""), none)
        self.assertIn("no crystal", none.err)


class TargetReloadTest(unittest.TestCase):
    def test_rates_of_a_reload(self):
        cases = [
            ("16-bit reload", ["--target", "stc-t2-1t", "--reload", "0xFFE8", "11.0592MHz"], [(115200, 1)]),
            ("both SMOD settings", ["--target", "t1-12t", "--reload", "0xF9", "12MHz"], [(31250, 7), (62500, 7)]),
            # A family of one entry, and a part number of it, stand for that entry.
            ("10-bit reload of a one-entry family", ["--target", "nrf24le1", "--reload", "0x3CC", "16MHz"],
             [(62500, 13), (125000, 13)]),
            ("a part number of a one-entry family", ["--target", "DS87C520-MCL", "--reload", "0xFD", "11.0592MHz"],
             [(28800, 1), (57600, 1), (9600, 1), (19200, 1)]),
        ]
        for name, arguments, rates in cases:
            with self.subTest(name):
                run = Run(["--json"] + arguments)
                self.assertEqual(run.status, DONE, run)
                modes = run.json()["modes"]
                self.assertEqual([(m["achievedNumerator"], m["achievedDenominator"]) for m in modes], rates)


class TargetUsageErrorTest(unittest.TestCase):
    def test_usage_errors_list_what_is_valid(self):
        cases = [
            ("unknown target near a family", ["--target", "stc99", "12MHz", "9600"], ["stc89", "nearest"]),
            ("unknown target near nothing", ["--target", "foo", "12MHz", "9600"], ["stc-t2-1t", "n76e003"]),
            ("reload on a family", ["--target", "stc15", "--reload", "1"], ["stc-t1m0-1t"]),
            ("reload wider than the register", ["--target", "t1-12t", "--reload", "0x100"], ["0 to 0xFF"]),
            ("reload wider than ten bits", ["--target", "nrf24le1", "--reload", "0x400"], ["0 to 0x3FF"]),
            ("T3FD beyond the fractional divider's 0 to 63", ["--target", "aduc84x", "--reload", "0x40"], ["0 to 0x3F"]),
            ("16-bit reload without a target", ["--reload", "0xFFE8"], ['"0xFFE8"']),
            ("UART mode without a target", ["--uart-mode", "3"], ["--target"]),
            ("unknown UART mode", ["--target", "t1-12t", "--uart-mode", "2"], ['"2"', "1", "3"]),
            ("UART mode of a table", ["--table", "--target", "t1-12t", "--uart-mode", "3"], ["--uart-mode"]),
            ("target with a listing", ["--list-targets", "--target", "t1-12t"], ["--list-targets"]),
            ("listing with a value", ["--list-targets", "12MHz"], ["--list-targets"]),
            ("rates not a list", ["--rates", "9600,,115200"], ['"9600,,115200"']),
            ("rates with BAUD", ["--rates", "9600", "12MHz", "9600"], ["BAUD"]),
            ("rates in Markdown", ["--rates", "9600", "--format", "markdown"], ["text, csv or json"]),
        ]
        cli_test.check_usage_errors(self, cases)


class PartNumberTest(unittest.TestCase):
    """--target takes a part number as printed on the chip."""

    def test_part_numbers_stand_for_their_family(self):
        # Printed part number, the family it stands for, the best target
        # at 11.0592 MHz and 9600 bps (the family's own answer).
        cases = [
            ("STC8H with speed, temperature and package", "STC8H8K64U-45I-LQFP64", "stc8", "stc-t2-1t"),
            ("AT89S52 with its ordering code", "AT89S52-24PU", "at89", "t1-12t"),
            ("N76E003 with its package letters", "N76E003AT20", "n76e003", "n76-t1-1t"),
            ("CH552 in its SOP16", "ch552g", "ch552", None),
            ("EFM8 with temperature grade", "EFM8BB10F8G-A-QFN20", "efm8", None),
            ("EFM8BB3, whose UART1 has its own generator", "EFM8BB31F64G-C-QFN32", "efm8bb3", None),
            ("a C8051F34x", "C8051F340-GQ", "c8051f34x", None),
            ("an 8051 without Timer 2", "AT89C2051-24PU", "8051", "t1-12t"),
            ("a CC2530 with its package and reel letters", "CC2530F256RHAR", "cc2530", "cc253x-usart0"),
            ("an nRF24LE1 with its package code", "nRF24LE1-F16Q32", "nrf24le1", "nrf24le1-s0rel"),
            ("an ADuC842 with its ordering code", "ADuC842BSZ62-5", "aduc84x", "aduc84x-t3"),
        ]
        for name, part, family, best in cases:
            with self.subTest(name):
                run = Run(["--json", "--target", part, "11.0592MHz", "9600"])
                self.assertEqual(run.status, DONE, run)
                report = run.json()
                family_run = Run(["--json", "--target", family, "11.0592MHz", "9600"]).json()
                # The same answer as the family's, with the part beside it.
                self.assertEqual(report["target"], family, run)
                self.assertEqual(report["solutions"], family_run["solutions"], run)
                self.assertEqual(report["part"], part.upper().split("-")[0], run)
                self.assertNotIn("part", family_run)
                if best:
                    self.assertEqual(report["bestTarget"], best, run)

    def test_part_number_reaches_every_mode(self):
        # The code, the driver and the plan take the part as they take its
        # family; where the output names the chip, it names it as given.
        cases = [
            ("code", ["--code", "--target", "STC8H8K64U", "22.1184MHz", "115200"],
             ["--code", "--target", "stc8", "22.1184MHz", "115200"]),
            ("driver sized for the family's memory", ["--driver", "--target", "AT89C2051-24PU", "11.0592MHz"],
             ["--driver", "--target", "8051", "11.0592MHz"]),
            ("plan of two UARTs", ["--target", "STC8H3K64S4", "--uart", "1:115200", "--uart", "2:9600", "22.1184MHz"],
             ["--target", "stc8", "--uart", "1:115200", "--uart", "2:9600", "22.1184MHz"]),
            ("the other end of a link", ["--target", "stc8", "--peer", "AT89S52-24PU@11.0592MHz", "11.0592MHz", "9600"],
             ["--target", "stc8", "--peer", "at89@11.0592MHz", "11.0592MHz", "9600"]),
        ]
        for name, part_arguments, family_arguments in cases:
            with self.subTest(name):
                by_part, by_family = Run(part_arguments), Run(family_arguments)
                self.assertEqual(by_part.status, DONE, by_part)
                given = [(a, b) for a, b in zip(part_arguments, family_arguments) if a != b]
                out, err = by_part.out, by_part.err
                for part, family in given:
                    out, err = out.replace(part, family), err.replace(part, family)
                self.assertEqual((out, err), (by_family.out, by_family.err), by_part)

    def test_unsupported_and_unknown_parts_are_usage_errors(self):
        cases = [
            ("FX2LP with its package code", ["--target", "CY7C68013A-56PVXC", "24MHz", "9600"],
             ["CY7C68013A", "fx2lp", "not supported yet", "stc8"]),
            ("LPC900", ["--target", "P89LPC932A1FDH", "7.3728MHz", "9600"], ["lpc900", "not supported yet"]),
            ("nRF24LU1+", ["--target", "nRF24LU1P-F32Q32", "16MHz", "9600"], ["nrf24lu1", "not supported yet"]),
            ("XC888", ["--target", "XC888CLM-8FFA", "24MHz", "9600"], ["xc800", "not supported yet"]),
            ("DS89C450", ["--target", "DS89C450-MNL", "11.0592MHz", "9600"], ["ds89c4x0", "not supported yet"]),
            ("digits swapped", ["--target", "AT89S25-24PU", "11.0592MHz", "9600"], ["AT89S52", "nearest"]),
            ("USB letter left out", ["--target", "STC8H8K64", "11.0592MHz", "9600"], ["STC8H8K64U", "nearest"]),
            ("a part of an unsupported family is suggested too", ["--target", "CY7C86013A", "24MHz", "9600"],
             ["CY7C68013A"]),
            ("driver of an unsupported part", ["--driver", "--target", "CY7C68013A", "24MHz"], ["not supported yet"]),
        ]
        cli_test.check_usage_errors(self, cases)

    def test_chinese_messages(self):
        run = Run(["--target", "CY7C68013A", "24MHz", "9600"], language="zh")
        self.assertEqual(run.status, 2, run)
        self.assertIn("尚不支持", run.err, run)


class PartListingTest(unittest.TestCase):
    def test_parts_of_a_family(self):
        # --parts NAME: the family it names, whether --target takes its
        # parts, and a part that must be listed.
        cases = [
            ("a family", "stc8", "stc8", True, "STC8H8K64U"),
            ("a family in capitals", "AT89", "at89", True, "AT89C51ED2"),
            ("a part number's family", "AT89S52-24PU", "at89", True, "AT89S8253"),
            ("a family with no generator yet", "lpc900", "lpc900", False, "P89LPC932A1FDH"),
            ("a family named as the part is", "CC2541F256RHAT", "cc2541", True, "CC2541F128RHA"),
            ("an unsupported part's family", "CY7C68013A", "fx2lp", False, "CY7C68016A"),
        ]
        for name, given, family, supported, listed in cases:
            with self.subTest(name):
                run = Run(["--list-targets", "--parts", given, "--json"])
                self.assertEqual(run.status, DONE, run)
                listing = run.json()
                self.assertEqual((listing["family"], listing["supported"]), (family, supported), run)
                parts = [part for record in listing["records"] for part in record["parts"]]
                self.assertIn(listed, parts)
                self.assertTrue(all(record["source"] for record in listing["records"]), run)
                # Every listed part resolves to the family it is listed under.
                for part in parts[:: max(1, len(parts) // 5)]:
                    target = Run(["--list-targets", "--parts", part, "--json"]).json()
                    self.assertEqual(target["family"], family, part)
                text = Run(["--list-targets", "--parts", given])
                self.assertIn(listed, text.out)
                self.assertEqual("not supported" in text.out or "no baud-rate generator" in text.out,
                                 not supported, text)

    def test_family_without_parts(self):
        run = Run(["--list-targets", "--parts", "x2"])
        self.assertEqual(run.status, DONE, run)
        self.assertIn("no part number", run.out)

    def test_usage_errors(self):
        cases = [
            ("without --list-targets", ["--parts", "stc8", "11.0592MHz", "9600"], ["--list-targets"]),
            ("with --list-presets", ["--list-presets", "--parts", "stc8"], ["--list-targets"]),
            ("unknown family, near one", ["--list-targets", "--parts", "stc88"], ["stc89"]),
            ("unknown family, near nothing", ["--list-targets", "--parts", "zzz"], ['"zzz"']),
        ]
        cli_test.check_usage_errors(self, cases)


def main():
    global TARGET_NAMES
    parser = argparse.ArgumentParser()
    parser.add_argument("--emulator", action="append", default=[])
    parser.add_argument("--targets", required=True)
    parser.add_argument("cli")
    options, rest = parser.parse_known_args()
    cli_test.COMMAND = options.emulator + [options.cli]
    TARGET_NAMES = re.findall(r"^\[target ([^\]]+)\]", Path(options.targets).read_text(encoding="utf-8"), re.M)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
