#!/usr/bin/env python3
"""Runs the real tesmirol-cli with --find-clock: the clocks that give every
rate of a list on one target, on one UART of a chip, on a chip's clock steps,
or at which several UARTs can be planned together; the text report in both
languages, the JSON, the answers with no clock and the usage errors.

Usage: cli_clock_test.py [--emulator ARG]... CLI
"""

import unittest
from fractions import Fraction

import cli_test
from cli_test import Run

DONE, NO_RESULT, USAGE = 0, 1, 2

STC8_RANGE = ["--find-clock", "9600,115200", "--target", "stc8", "--clock-range", "4MHz..35MHz"]


def achieved(setting):
    return Fraction(setting["achievedNumerator"], setting["achievedDenominator"])


class FindClockTest(unittest.TestCase):
    def test_clocks_found(self):
        # Arguments; the clocks the list must start with (hertz), whether
        # they are exact, and how many exact clocks the range holds.
        cases = [
            # STC Timer 2 at 1T, f / (4 (65536 - T2)): every multiple of 460800 Hz.
            ("both rates exact on STC8, UART crystals first", STC8_RANGE,
             [5529600, 7372800, 9216000, 11059200], True, 67),
            ("the known answer: 11.0592 and 22.1184 MHz",
             ["--find-clock", "9600,115200", "--target", "stc-t2-1t", "--clock-range", "11MHz..22.2MHz"],
             [11059200, 12902400, 14745600, 16588800, 18432000, 20275200, 22118400], True, 25),
            ("one UART of a chip: UART2's generators",
             ["--find-clock", "9600,57600", "--target", "stc8", "--uart", "2", "--clock-range", "22MHz..23MHz"],
             [22118400], True, 4),
            ("the CH552's clock steps without a range",
             ["--find-clock", "9600,115200", "--target", "ch552"], [24000000], False, 0),
            ("a plan of two UARTs",
             ["--find-clock", "--target", "stc8", "--uart", "1:115200", "--uart", "2:9600",
              "--clock-range", "20MHz..24MHz"], [20275200, 22118400], True, 9),
            ("nothing exact within 3 %",
             ["--find-clock", "9600,10000", "--target", "t1-12t", "--clock-range", "11MHz..11.6MHz",
              "--max-error", "3", "--limit", "1"], [11284898], False, 0),
        ]
        for name, arguments, first, exact, exact_count in cases:
            with self.subTest(name):
                run = Run(["--json"] + arguments)
                self.assertEqual(run.status, DONE, run)
                report = run.json()
                self.assertEqual(report["status"], "Found")
                self.assertEqual(report["exactCount"], exact_count)
                clocks = report["clocks"]
                self.assertEqual([c["hertz"] for c in clocks[:len(first)]], first)
                self.assertLessEqual(len(clocks), report["limit"])
                for clock in clocks[:len(first)]:
                    self.assertEqual(clock["exact"], exact, clock)

    def test_settings_give_the_rates_at_the_clock(self):
        # Each rate's setting, worked back from its registers, gives the
        # achieved rate at that clock, and the worst deviation is the largest.
        run = Run(["--json", "--find-clock", "9600,115200,250000", "--target", "stc8",
                   "--clock-range", "4MHz..35MHz", "--max-error", "2"])
        self.assertEqual(run.status, DONE, run)
        for clock in run.json()["clocks"]:
            deviations = []
            for entry in clock["rates"]:
                setting = entry["setting"]
                rate = Fraction(clock["hertz"] * 2 ** setting["smod"]) / (
                    setting["clocksPerCycle"] * (4 if entry["target"].startswith("stc-t2") or "m0" in entry["target"]
                                                 else 32) * setting["divisor"])
                self.assertEqual(rate, achieved(setting), (clock["hertz"], entry))
                deviations.append(abs(setting["deviation"]))
                self.assertLessEqual(abs(setting["deviation"]), 2.0)
            self.assertEqual(max(deviations), abs(clock["worstDeviation"]))
            self.assertEqual(clock["exact"], clock["worstNumerator"] == 0)

    def test_json_shape(self):
        run = Run(["--json"] + STC8_RANGE + ["--limit", "1"])
        report = run.json()
        self.assertEqual(list(report), ["target", "uart", "rates", "uarts", "range", "tolerance", "limit", "status",
                                        "rateIndex", "exactCount", "nearSkipped", "clocks"])
        self.assertEqual(report["range"], {"low": 4000000, "high": 35000000, "steps": None})
        clock = report["clocks"][0]
        self.assertEqual(list(clock), ["hertz", "text", "exact", "worstNumerator", "worstDenominator",
                                       "worstDeviation", "worstDeviationText", "worstIndex", "common", "rates",
                                       "plan"])
        self.assertEqual(clock["common"], {"kind": "UartCrystal", "hertz": 5529600, "distance": 0})
        self.assertEqual(clock["text"], "5.5296MHz")
        # The keys and values do not change with the language.
        self.assertEqual(Run(["--json"] + STC8_RANGE + ["--limit", "1"], language="zh").json(), report)
        steps = Run(["--json", "--find-clock", "9600", "--target", "ch552"]).json()
        self.assertEqual(steps["range"]["steps"], [187500, 750000, 3000000, 6000000, 12000000, 16000000, 24000000])

    def test_text_report(self):
        # Arguments, language and the lines the report must hold.
        cases = [
            ("English", ["--find-clock", "9600,115200", "--target", "ch552"], "en", [
                "clocks: ch552, 9600 115200 bps, the clock steps 187.5KHz 750KHz 3MHz 6MHz 12MHz 16MHz 24MHz, "
                "each within 1 %: 0 exact\n",
                "24MHz  24000000 Hz  worst 0.16%  a crystal preset\n",
                "    9600bps    ch55x-t1  Timer 1  /1  SMOD=0  TH1 = 0xB2  achieved: 9615.38bps (125000/13)  "
                "deviation: 0.16%\n",
            ]),
            ("Chinese", STC8_RANGE + ["--limit", "1"], "zh", [
                "时钟：stc8，9600 115200 bps，4MHz..35MHz，每个速率偏差不超过 1 %：精确 67 个\n",
                "5.5296MHz  5529600 Hz  精确  串口晶振\n",
                "    115200bps  stc-t2-1t  定时器 2  1T  SMOD=0  T2H = 0xFF, T2L = 0xF4  实际：115200bps  偏差：0.00%\n",
            ]),
            ("a plan", ["--find-clock", "--target", "stc8", "--uart", "1:115200", "--uart", "2:9600",
                        "--clock-range", "22.1184MHz..22.1184MHz"], "en", [
                "clocks: stc8, UART1 115200bps, UART2 9600bps, 22.1184MHz..22.1184MHz, each within 1 %: 1 exact\n",
                "    UART2  9600bps    stc-u2-t2  Timer 2  1T  SMOD=0  T2H = 0xFD, T2L = 0xC0  achieved: 9600bps  "
                "deviation: 0.00%\n",
            ]),
            ("near a preset", ["--find-clock", "9600", "--target", "ch552", "--clock-range", "400KHz..500KHz"], "en",
             ["460.8KHz  460800 Hz  exact  5800 Hz from the crystal preset 455KHz\n"]),
        ]
        for name, arguments, language, lines in cases:
            with self.subTest(name):
                run = Run(arguments, language=language)
                self.assertEqual(run.status, DONE, run)
                for line in lines:
                    self.assertIn(line, run.out)

    def test_no_clock(self):
        # Arguments, the status of the JSON and the words on standard error.
        cases = [
            ("a rate beyond every clock of the range",
             ["--find-clock", "9600,921600", "--target", "t1-12t", "--clock-range", "4MHz..35MHz"],
             "RateOutOfReach", 1, "gives 921600 bps within 1 % on t1-12t"),
            ("rates too far apart",
             ["--find-clock", "9600,10000", "--target", "t1-12t", "--clock-range", "11MHz..11.6MHz"],
             "NoCommonClock", None, "gives 9600 10000 bps together within 1 %"),
            ("a range given on a chip with clock steps is searched hertz by hertz",
             ["--find-clock", "9600", "--target", "ch552", "--clock-range", "30MHz..40MHz"],
             "Found", None, None),
        ]
        for name, arguments, status, rate_index, words in cases:
            with self.subTest(name):
                run = Run(arguments)
                if words is None:
                    # A range given is searched hertz by hertz, steps or not.
                    self.assertEqual(run.status, DONE, run)
                    continue
                self.assertEqual((run.status, run.out), (NO_RESULT, ""), run)
                self.assertIn(words, run.err)
                self.assertEqual(run.err.count("\n"), 1)
                json_run = Run(["--json"] + arguments)
                self.assertEqual(json_run.status, NO_RESULT, json_run)
                report = json_run.json()
                self.assertEqual((report["status"], report["rateIndex"], report["clocks"]), (status, rate_index, []))


class FindClockUsageErrorTest(unittest.TestCase):
    def test_usage_errors_say_what_is_valid(self):
        cases = [
            ("LOW above HIGH", ["--find-clock", "9600", "--target", "stc8", "--clock-range", "35MHz..4MHz"],
             ['"35MHz..4MHz"', "LOW is above HIGH"]),
            ("no range", ["--find-clock", "9600", "--target", "stc8", "--clock-range", "4MHz"],
             ['"4MHz"', "LOW..HIGH"]),
            ("no whole hertz", ["--find-clock", "9600", "--target", "stc8", "--clock-range", "4.5Hz..5MHz"],
             ["whole hertz"]),
            ("an empty side", ["--find-clock", "9600", "--target", "stc8", "--clock-range", "..5MHz"],
             ["whole hertz"]),
            ("too wide a search", ["--find-clock", "50,99991", "--target", "n76e003", "--clock-range", "4MHz..35MHz"],
             ["too wide", "4MHz..35MHz", "narrow"]),
            ("a free clock without a range", ["--find-clock", "9600", "--target", "stc8"],
             ["--clock-range", "ch552, ch554"]),
            ("no target", ["--find-clock", "9600"], ["--target", "stc8", "ch552"]),
            ("a CRYSTAL", ["--find-clock", "9600", "--target", "stc8", "--clock-range", "4MHz..5MHz", "12MHz"],
             ["CRYSTAL"]),
            ("no rates and no plan", ["--find-clock", "--target", "stc8", "--clock-range", "4MHz..5MHz"],
             ["9600,115200", "NAME:RATE"]),
            ("a list and a plan", ["--find-clock", "9600", "--target", "stc8", "--uart", "2:9600",
                                   "--clock-range", "4MHz..5MHz"], ["--uart NAME"]),
            ("a rate that is no number", ["--find-clock=96k", "--target", "stc8"], ['"96k"']),
            ("--clock-range alone", ["--clock-range", "4MHz..5MHz", "12MHz"], ["--find-clock"]),
            ("--limit alone", ["--limit", "3", "12MHz"], ["--find-clock"]),
            ("--limit 0", STC8_RANGE + ["--limit", "0"], ['"0"', "1 to 1000"]),
            ("--format", STC8_RANGE + ["--format", "csv"], ["--format"]),
            ("with --rates", ["--find-clock", "9600", "--rates", "9600", "--target", "stc8"],
             ["--find-clock", "--rates"]),
            ("a UART the chip lacks", ["--find-clock", "9600", "--target", "stc12", "--uart", "3",
                                       "--clock-range", "4MHz..5MHz"], ["stc12 has UART1, UART2"]),
            ("the mantissa/exponent generator", ["--find-clock", "115200", "--target", "cc2530",
                                                 "--clock-range", "16MHz..32MHz"], ["cc2530", "CRYSTAL BAUD"]),
            ("the ADuC's fractional divider, named by a part", ["--find-clock", "115200", "--target", "ADuC842BSZ62-5",
                                                                "--clock-range", "1MHz..20MHz"], ["aduc84x", "CRYSTAL BAUD"]),
        ]
        cli_test.check_usage_errors(self, cases)

    def test_usage_errors_in_chinese(self):
        run = Run(["--find-clock", "9600", "--target", "stc8", "--clock-range", "35MHz..4MHz"], language="zh")
        self.assertEqual(run.status, USAGE, run)
        self.assertIn("LOW 大于 HIGH", run.err)


if __name__ == "__main__":
    cli_test.run_tests_on_command()
