#!/usr/bin/env python3
"""Runs the real tesmirol-cli with --uart: several UARTs of one chip planned
together, each on a generator of its own or on a timer it shares at one
setting; the plan as a report, JSON, code and table; the conflicts that end
with status 3; and the usage errors that list what is valid.

Usage: cli_uart_test.py [--emulator PART]... CLI
"""

import os
import tempfile
import unittest
from pathlib import Path

import cli_test
from cli_test import Run

DONE, NO_PLAN = 0, 3

STC8_TWO = ["--target", "stc8", "--uart", "1:115200", "--uart", "2:9600", "22.1184MHz"]
STC8_FOUR = ["--target", "stc8", "--uart", "1:115200", "--uart", "2:9600", "--uart", "3:57600",
             "--uart", "4:38400", "22.1184MHz"]
N76_CONFLICT = ["--target", "n76e003", "--uart", "0:110", "--uart", "1:9600", "24MHz"]


class PlanTest(unittest.TestCase):
    def test_plans_that_fit(self):
        # Arguments; per UART: (uart, baud, target, timer, reason, sharedWith).
        cases = [
            ("one UART of a family", ["--target", "stc8", "--uart", "1:115200", "22.1184MHz"],
             [("UART1", 115200, "stc-t2-1t", "timer2", "BestAlone", [])]),
            ("a UART without a rate runs at BAUD", ["--target", "stc8", "--uart", "uart2", "22.1184MHz", "9600"],
             [("UART2", 9600, "stc-u2-t2", "timer2", "OnlyGenerator", [])]),
            ("a target of that UART", ["--target", "stc-u3-t3", "--uart", "UART3:9600", "22.1184MHz"],
             [("UART3", 9600, "stc-u3-t3", "timer3", "OnlyGenerator", [])]),
            ("UART1 moves off Timer 2, which UART2 needs", STC8_TWO,
             [("UART1", 115200, "stc-t1m0-1t", "timer1", "TimerTaken", []),
              ("UART2", 9600, "stc-u2-t2", "timer2", "OnlyGenerator", [])]),
            ("STC8 UART2 and UART3 share Timer 2",
             ["--target", "stc8", "--uart", "2:9600", "--uart", "3:9600", "22.1184MHz"],
             [("UART2", 9600, "stc-u2-t2", "timer2", "OnlyGenerator", ["UART3"]),
              ("UART3", 9600, "stc-u3-t2", "timer2", "SharedTimer", ["UART2"])]),
            ("N76E003 UART0 and UART1 share Timer 3",
             ["--target", "n76e003", "--uart", "0:110", "--uart", "1:220", "24MHz"],
             [("UART0", 110, "n76-t3-uart0", "timer3", "SharedTimer", ["UART1"]),
              ("UART1", 220, "n76-t3-uart1", "timer3", "OnlyGenerator", ["UART0"])]),
            ("four UARTs of an STC8H, four timers", STC8_FOUR,
             [("UART1", 115200, "stc-t1m0-1t", "timer1", "TimerTaken", []),
              ("UART2", 9600, "stc-u2-t2", "timer2", "OnlyGenerator", []),
              ("UART3", 57600, "stc-u3-t3", "timer3", "TimerTaken", []),
              ("UART4", 38400, "stc-u4-t4", "timer4", "TimerTaken", [])]),
        ]
        for name, arguments, expected in cases:
            with self.subTest(name):
                run = Run(["--json"] + arguments)
                self.assertEqual(run.status, DONE, run)
                report = run.json()
                self.assertIsNone(report["conflict"])
                self.assertEqual(report["outcome"], "Code")
                plan = report["plan"]
                self.assertEqual([(p["uart"], p["baud"], p["target"], p["timer"], p["reason"], p["sharedWith"])
                                  for p in plan], [tuple(e) for e in expected])
                for entry in plan:
                    self.assertFalse(entry["setting"]["outOfTolerance"], entry)
                    for other in entry["sharedWith"]:
                        # One timer, one setting: the same clock and reload.
                        mate = next(p for p in plan if p["uart"] == other)
                        self.assertEqual((mate["setting"]["clockIndex"], mate["setting"]["reload"]),
                                         (entry["setting"]["clockIndex"], entry["setting"]["reload"]))
                    if entry["reason"] == "TimerTaken":
                        self.assertEqual(entry["takenBy"], "UART2")
                timers = [p["timer"] for p in plan if not p["sharedWith"]]
                self.assertEqual(len(timers), len(set(timers)), "a timer serves two settings")

    def test_report_says_why(self):
        # Language, arguments and the lines the plain report must hold.
        cases = [
            ("timer taken", "en", STC8_TWO, [
                "UART1  115200bps  stc-t1m0-1t  Timer 1  1T  SMOD=0  TH1 = 0xFF, TL1 = 0xD0  "
                "achieved: 115200bps  deviation: 0.00%",
                "why: its best alone, stc-t2-1t, would take Timer 2, which UART2 needs at another setting",
                "why: UART2 can only use Timer 2"]),
            ("timer taken, in Chinese", "zh", STC8_TWO, [
                "方案：stc8，2 个 UART，每个偏差都在 1 % 以内",
                "UART1  115200bps  stc-t1m0-1t  定时器 1  1T  SMOD=0  TH1 = 0xFF, TL1 = 0xD0  实际：115200bps  偏差：0.00%",
                "原因：单独时最佳的 stc-t2-1t 要占用定时器 2，而 UART2 需要它的另一种设置",
                "原因：UART2 只能使用定时器 2"]),
            ("best of its generators", "en", ["--target", "stc8", "--uart", "1:9600", "22.1184MHz"],
             ["why: best of 6 generators"]),
            ("best of its generators, in Chinese", "zh", ["--target", "stc8", "--uart", "1:9600", "22.1184MHz"],
             ["原因：6 个发生器中最佳"]),
            ("shared, with the exact rate", "en", ["--target", "n76e003", "--uart", "0:110", "--uart", "1:220", "24MHz"],
             ["Timer 3  /1  SMOD=0  RH3 = 0xE5, RL3 = 0x5E  achieved: 110bps (375000/3409)",
              "why: shares Timer 3 with UART1 at one setting",
              "why: UART1 can only use Timer 3; it shares Timer 3 with UART0 at one setting"]),
            ("shared, in Chinese", "zh", ["--target", "n76e003", "--uart", "0:110", "--uart", "1:220", "24MHz"],
             ["定时器 3  /1  SMOD=0  RH3 = 0xE5, RL3 = 0x5E  实际：110bps (375000/3409)",
              "原因：与 UART1 以同一设置共用定时器 3",
              "原因：UART1 只能使用定时器 3；它与 UART0 以同一设置共用定时器 3"]),
            ("four UARTs", "en", STC8_FOUR, ["plan: stc8, 4 UARTs, each within 1 %",
                                             "UART3  57600bps   stc-u3-t3  Timer 3",
                                             "UART4  38400bps   stc-u4-t4  Timer 4", "void SIO4_Init(void)"]),
        ]
        for name, language, arguments, lines in cases:
            with self.subTest(name):
                run = Run(arguments, language=language)
                self.assertEqual(run.status, DONE, run)
                for line in lines:
                    self.assertIn(line, run.out)

    def test_no_plan(self):
        # Arguments; what the one line on stderr must name; the conflict's kind.
        cases = [
            ("UART0 reaches 110 only on Timer 3, UART1 has only Timer 3", N76_CONFLICT,
             ["24MHz", "UART0 at 110 bps", "UART1 at 9600 bps", "Timer 3"], "SharedTimer"),
            ("a rate no generator reaches", ["--target", "n76e003", "--uart", "1:921600", "11.0592MHz"],
             ["UART1 at 921600 bps", "every generator", "above"], "OutOfReach"),
            ("beyond --max-error on every generator",
             ["--target", "stc8", "--uart", "1:115200", "--uart", "2:9600", "--max-error", "0.1", "12MHz"],
             ["UART1 at 115200 bps", "UART2 at 9600 bps", "0.1 %", "nearest: stc-t2-1t 1T SMOD=0, 0.16 %"],
             "OutOfReach"),
        ]
        for name, arguments, named, kind in cases:
            with self.subTest(name):
                for extra in ([], ["--code"]):
                    run = Run(extra + arguments)
                    self.assertEqual((run.status, run.out), (NO_PLAN, ""), run)
                    self.assertEqual(run.err.count("\n"), 1, "one line on stderr")
                    for text in named:
                        self.assertIn(text, run.err, run)
                if "--max-error" in arguments:
                    continue
                report = Run(["--json"] + arguments)
                self.assertEqual(report.status, NO_PLAN, report)
                self.assertIsNone(report.json()["plan"])
                self.assertEqual(report.json()["conflict"]["kind"], kind)
                self.assertEqual(report.json()["output"], "")

    def test_json_keys(self):
        report = Run(["--json"] + STC8_TWO).json()
        self.assertEqual(list(report), ["target", "crystalText", "crystalHz", "tolerance", "uarts", "plan",
                                        "conflict", "outcome", "output"])
        entry = report["plan"][0]
        self.assertEqual(list(entry), ["uart", "baud", "baudText", "target", "generator", "function", "timer",
                                       "clock", "setting", "reason", "why", "generatorCount", "sharedWith",
                                       "bestAlone", "takenBy"])
        self.assertEqual((entry["bestAlone"], entry["generatorCount"], entry["function"]), ("stc-t2-1t", 6, "SIO_Init"))
        setting = entry["setting"]
        self.assertEqual((setting["clocksPerCycle"], setting["select"], setting["smod"], setting["reloadText"]),
                         (1, 1, 0, "0xFFD0"))
        conflict = Run(["--json"] + N76_CONFLICT).json()["conflict"]
        self.assertEqual((conflict["uarts"], conflict["bauds"], conflict["timer"]),
                         (["UART0", "UART1"], [110, 9600], "timer3"))


class PlanCodeTest(unittest.TestCase):
    def test_one_file_for_every_uart(self):
        with tempfile.TemporaryDirectory() as folder:
            target = Path(folder, "uart.c")
            cases = [
                ("two UARTs", ["-o", str(target)] + STC8_TWO, DONE, ["void SIO_Init(void)", "void SIO2_Init(void)"]),
                ("held to --max-error", ["-o", str(target), "--max-error", "0.5", "--encoding", "gbk"] + STC8_TWO,
                 DONE, ["void SIO_Init(void)", "void SIO2_Init(void)"]),
                ("no plan writes nothing", ["-o", str(target)] + N76_CONFLICT, NO_PLAN, []),
                # 9765.63 bps, 1.73 % off, on the only generator: a limit beyond 1 % is the code's tolerance too.
                ("within a limit beyond 1 %", ["-o", str(target), "--max-error", "2", "--target", "8051",
                                               "--uart", "0:9600", "30MHz"], DONE, ["void SIO_Init(void)"]),
                ("beyond a limit beyond 1 %", ["-o", str(target), "--max-error", "1.5", "--target", "8051",
                                               "--uart", "0:9600", "30MHz"], NO_PLAN, []),
                ("the limit on every UART", ["-o", str(target), "--max-error", "4", "--target", "n76e003",
                                             "--uart", "0:115200", "--uart", "1:9600", "16MHz"], DONE,
                 ["void SIO_Init(void)", "void SIO1_Init(void)"]),
            ]
            for name, arguments, status, functions in cases:
                with self.subTest(name):
                    if target.exists():
                        target.unlink()
                    run = Run(arguments)
                    self.assertEqual(run.status, status, run)
                    self.assertEqual(target.exists(), bool(functions), run)
                    if functions:
                        code = target.read_bytes()
                        for function in functions:
                            self.assertEqual(code.count(function.encode()), 1, function)
                        self.assertEqual(os.listdir(folder), ["uart.c"])

    def test_code_is_the_reports_output(self):
        report = Run(["--json"] + STC8_FOUR, language="zh").json()
        code = Run(["--code", "--lf"] + STC8_FOUR, language="zh")
        self.assertEqual(code.status, DONE, code)
        self.assertEqual(code.out, report["output"].replace("\r\n", "\n"))


class PlanTableTest(unittest.TestCase):
    def test_tables(self):
        # Arguments; rows (without the heading); rows that must be there (a
        # prefix of the CSV line).
        cases = [
            ("one UART's generators", ["--table", "--target", "stc8", "--uart", "3", "22.1184MHz", "9600"], 1,
             ["22.1184MHz,9600,stc-u3-t2,Ok,1,0,0xFDC0,"]),
            ("the plan on each crystal", ["--table"] + STC8_TWO, 2,
             ["22.1184MHz,UART1,115200,stc-t1m0-1t,timer1,1,0,0xFFD0,115200,1,115200,0.00,code",
              "22.1184MHz,UART2,9600,stc-u2-t2,timer2,1,0,0xFDC0,9600,1,9600,0.00,code"]),
            ("a crystal with no plan", ["--table"] + N76_CONFLICT, 2,
             ["24MHz,UART0,110,,,,,,,,,,conflict", "24MHz,UART1,9600,,,,,,,,,,conflict"]),
            ("every crystal", ["--table", "--target", "n76e003", "--uart", "0:110", "--uart", "1:9600"], None,
             ["6MHz,UART0,110,n76-t1-12t,timer1,12,", "6MHz,UART1,9600,n76-t3-uart1,timer3,"]),
        ]
        for name, arguments, count, rows in cases:
            with self.subTest(name):
                run = Run(["--format", "csv"] + arguments)
                self.assertEqual(run.status, DONE, run)
                lines = run.out.splitlines()[1:]
                if count is not None:
                    self.assertEqual(len(lines), count, run)
                for row in rows:
                    self.assertTrue(any(line.startswith(row) for line in lines), (row, run.out))
        rows = Run(["--table", "--json"] + N76_CONFLICT).json()
        self.assertEqual((rows[0]["plan"], rows[0]["conflict"]["timer"], rows[0]["outcome"]),
                         (None, "timer3", "conflict"))

    def test_rates_of_one_uart(self):
        run = Run(["--rates", "9600,115200", "--target", "stc8", "--uart", "4", "--json", "22.1184MHz"])
        self.assertEqual(run.status, DONE, run)
        self.assertEqual([r["target"] for r in run.json()[0]["rates"]], ["stc-u4-t2", "stc-u4-t2"])


class PlanUsageErrorTest(unittest.TestCase):
    def test_usage_errors_list_what_is_valid(self):
        cases = [
            ("a UART the chip lacks", ["--target", "stc12", "--uart", "3:9600", "12MHz"], ["stc12 has UART1, UART2"]),
            ("a UART given twice", ["--target", "stc8", "--uart", "2:9600", "--uart", "uart2:4800", "12MHz"],
             ["UART2", "twice"]),
            ("a target of another UART", ["--target", "stc-t2-1t", "--uart", "2:9600", "12MHz"],
             ["stc-t2-1t drives UART1", "stc15, stc8"]),
            ("no target", ["--uart", "1:9600", "12MHz"], ["--target", "stc8", "n76e003"]),
            ("a rate that is no number", ["--target", "stc8", "--uart", "2:fast", "12MHz"], ['"2:fast"', "above 0"]),
            ("a rate of 0", ["--target", "stc8", "--uart", "2:0", "12MHz"], ['"2:0"']),
            ("no UART name", ["--target", "stc8", "--uart", "serial", "12MHz"], ['"serial"', "UART2"]),
            ("BAUD beside every rate", ["--target", "stc8", "--uart", "2:9600", "12MHz", "9600"], ["BAUD"]),
            ("two UARTs' generators in a table", ["--table", "--target", "stc8", "--uart", "1", "--uart", "2"],
             ["one --uart NAME", "NAME:RATE"]),
            ("--rates with a rate", ["--rates", "9600", "--target", "stc8", "--uart", "1:9600"], ["--uart NAME"]),
            ("--reload", ["--reload", "1", "--target", "stc-t2-1t", "--uart", "1"], ["--reload"]),
            ("--uart-mode without a target", ["--uart-mode", "3", "--uart", "1:9600"], ["--target"]),
        ]
        cli_test.check_usage_errors(self, cases)


if __name__ == "__main__":
    cli_test.run_tests_on_command()
