#!/usr/bin/env python3
"""Runs the real tesmirol-cli with --peer: the serial link between the 8051
and the other end (a USB adapter, an ideal peer, a second 8051) in the
report, the JSON and the generated code, for the classic calculation,
--target and a --uart plan; --require-link's exit statuses; --rates ranked
by the link; and the usage errors that say what is valid.

Usage: cli_link_test.py [--emulator PART]... CLI
"""

import os
import re
import tempfile
import unittest
from pathlib import Path

import cli_test
from cli_test import Run

DONE, LINK_FAILS = 0, 3
CJK = re.compile(r"[\u3000-\u9fff\uff00-\uffef]")

# The case the link check was built for: an STC8 on its internal RC (1.5 %)
# at 24 MHz and a CH340 (1 %, a stated 2 % receiver), both at 115384.6 bps.
STC8_CH340 = ["--peer", "ch340", "--clock-tolerance", "1.5%", "--target", "stc8", "24MHz", "115200"]


def link_lines(out, marker):
    """The report's lines from the link's first line up to the blank line."""
    lines = out.splitlines()
    start = next(i for i, line in enumerate(lines) if marker in line)
    end = next((i for i in range(start, len(lines)) if not lines[i].strip()), len(lines))
    return lines[start:end]


class LinkJsonTest(unittest.TestCase):
    def test_verdicts(self):
        # Arguments; the verdicts (overall, 8051 -> peer, peer -> 8051), the
        # largest tolerance of this clock in ppm, the peer's exact rate.
        cases = [
            ("STC8 on RC with a CH340", STC8_CH340, ("Marginal", "Marginal", "Marginal"), 10000, (1500000, 13)),
            ("classic crystal, ideal peer", ["--peer", "ideal", "11.0592MHz", "9600"],
             ("Works", "Works", "Works"), 22364, (9600, 1)),
            ("FT232H's own divisor", ["--peer", "ft232h", "--target", "stc8", "11.0592MHz", "115200"],
             ("Works", "Works", "Works"), 20731, (96000000, 833)),
            ("the CP2102 snaps to its table", ["--peer", "cp2102", "--target", "stc8", "22.1184MHz", "100000"],
             ("Fails", "Fails", "Fails"), None, (115200, 1)),
            ("a second 8051 on a crystal", ["--peer", "stc15@22.1184MHz", "--target", "stc8", "11.0592MHz", "9600"],
             ("Works", "Works", "Works"), 22266, (9600, 1)),
            ("a 5 % RC oscillator", ["--peer", "ideal", "--clock-tolerance", "5%", "--target", "stc8", "22.1184MHz",
                                      "115200"], ("Fails", "Fails", "Fails"), 22364, (115200, 1)),
        ]
        for name, arguments, verdicts, max_ppm, peer_rate in cases:
            with self.subTest(name):
                run = Run(["--json"] + arguments)
                self.assertEqual(run.status, DONE, run)
                link = run.json()["link"]
                self.assertEqual(link["status"], "Checked")
                self.assertEqual((link["verdict"], link["ownToPeer"]["verdict"], link["peerToOwn"]["verdict"]),
                                 verdicts)
                self.assertEqual(link["maxOwnTolerancePpm"], max_ppm)
                self.assertEqual((link["peerRate"]["numerator"], link["peerRate"]["denominator"]), peer_rate)
                for direction in (link["ownToPeer"], link["peerToOwn"]):
                    shown = direction[direction["binding"]]
                    self.assertEqual(shown["verdict"], direction["verdict"])
                    self.assertAlmostEqual(shown["marginPercent"], shown["limitPercent"] - shown["worstPercent"])

    def test_link_facts(self):
        link = Run(["--json"] + STC8_CH340).json()["link"]
        self.assertEqual((link["peer"], link["peerKind"], link["baud"], link["frame"], link["uartMode"]),
                         ("ch340", "adapter", 115200, "8N1", 1))
        self.assertEqual((link["ownTolerancePpb"], link["peerTolerancePpb"]), (15000000, 10000000))
        self.assertEqual(link["peerReceiver"]["kind"], "StatedLimit")
        # The 8051's own limits for 8N1: 7/153 fast, 1/19 slow.
        limits = link["peerToOwn"]
        self.assertEqual((limits["fast"]["limit"]["numerator"], limits["fast"]["limit"]["denominator"]), (7, 153))
        self.assertEqual((limits["slow"]["limit"]["numerator"], limits["slow"]["limit"]["denominator"]), (1, 19))
        second = Run(["--json", "--peer", "stc15@22.1184MHz,2%", "--target", "stc8", "11.0592MHz", "9600"]).json()
        self.assertEqual((second["link"]["peerTarget"], second["link"]["peerTolerancePpb"]), ("stc-t2-1t", 20000000))
        self.assertEqual(second["link"]["peerSetting"]["achievedNumerator"], 9600)

    def test_adapter_that_cannot_run_near_the_rate(self):
        run = Run(["--json", "--peer", "ft232r", "--target", "stc8", "30MHz", "2500000"])
        self.assertEqual(run.status, DONE, run)
        link = run.json()["link"]
        self.assertEqual((link["status"], link["verdict"]), ("PeerCannot", "Fails"))

    def test_frame_needs_mode_3(self):
        run = Run(["--json", "--peer", "ideal", "--frame", "9N1", "--target", "stc8", "22.1184MHz", "9600"])
        link = run.json()["link"]
        self.assertEqual((link["frame"], link["uartMode"]), ("9N1", 3))
        self.assertEqual(link["peerToOwn"]["fast"]["limit"], {"numerator": 7, "denominator": 169})
        # The generated code sets mode 3.
        self.assertIn("SCON = 0xC0;", run.json()["output"])

    def test_json_speaks_no_language(self):
        for arguments in (STC8_CH340, ["--peer", "cp2104", "--target", "stc8", "--uart", "1:115200", "--uart",
                                       "2:9600", "22.1184MHz"]):
            with self.subTest(arguments=arguments):
                english = Run(["--json"] + arguments, language="en")
                chinese = Run(["--json"] + arguments, language="zh")
                self.assertEqual(english.status, DONE, english)
                self.assertEqual(english.raw, chinese.raw)

    def test_without_peer_no_link(self):
        self.assertNotIn("link", Run(["--json", "--target", "stc8", "24MHz", "115200"]).json())


class LinkReportTest(unittest.TestCase):
    def test_report_lines_in_both_languages(self):
        english = Run(STC8_CH340, language="en")
        self.assertEqual(english.status, DONE, english)
        lines = link_lines(english.out, "link with ch340")
        self.assertEqual(lines[0], "link with ch340 at 115200bps, 8N1 (UART mode 1)")
        self.assertIn("rates: 8051 115384.62bps +-1.5%, ch340 115384.62bps +-1%", lines[1])
        self.assertTrue(lines[2].strip().startswith("8051 -> ch340: worst mismatch"), lines)
        self.assertIn("limit 2.00% (the data sheet's figure)", lines[2])
        self.assertTrue(lines[3].strip().startswith("ch340 -> 8051: worst mismatch +2.54%, limit 4.58%"), lines)
        self.assertIn("verdict: marginal; this 8051's clock may stray up to +-1% (10000 ppm)", lines[4])
        self.assertFalse(any(CJK.search(line) for line in lines), lines)
        # Before the generated code.
        self.assertLess(english.out.index("link with ch340"), english.out.index("//////"))

        chinese = Run(STC8_CH340, language="zh")
        lines = link_lines(chinese.out, "链路：")
        self.assertEqual(lines[0], "链路：与 ch340 在 115200bps 通信，8N1（串口方式 1）")
        self.assertIn("结论：勉强可用", lines[4])
        self.assertNotIn("verdict", chinese.out)

    def test_plan_has_a_link_per_uart(self):
        arguments = ["--peer", "cp2104", "--clock-tolerance", "0.5%", "--target", "stc8", "--uart", "1:115200",
                     "--uart", "2:9600", "22.1184MHz"]
        run = Run(arguments)
        self.assertEqual(run.status, DONE, run)
        self.assertIn("UART1 link with cp2104 at 115200bps", run.out)
        self.assertIn("UART2 link with cp2104 at 9600bps", run.out)
        plan = Run(["--json"] + arguments).json()["plan"]
        self.assertEqual([(p["uart"], p["link"]["baud"], p["link"]["verdict"]) for p in plan],
                         [("UART1", 115200, "Works"), ("UART2", 9600, "Works")])
        code = Run(["--code"] + arguments, language="zh").out
        notes = [line for line in code.splitlines() if line.startswith("// 链路:")]
        self.assertEqual(len(notes), 2, code)
        self.assertIn("与cp2104在115200bps通信", notes[0])
        self.assertIn("与cp2104在9600bps通信", notes[1])

    def test_each_uart_its_own_peer(self):
        # The --peer options; each UART's peer and verdict in the JSON (None: no link); the code's note lines.
        plan = ["--target", "stc8", "--uart", "1:115200", "--uart", "2:9600", "22.1184MHz"]
        cases = [
            ("one peer for every UART", ["--peer", "ch340"], [("UART1", "ch340"), ("UART2", "ch340")],
             ["with ch340 at 115200 bps", "with ch340 at 9600 bps"]),
            ("a default and an override", ["--peer", "ch340", "--peer", "2=ideal"],
             [("UART1", "ch340"), ("UART2", "ideal")], ["with ch340 at 115200 bps", "with ideal at 9600 bps"]),
            ("the override first, the UART's own name", ["--peer", "UART2=stc8@11.0592MHz", "--peer", "cp2104"],
             [("UART1", "cp2104"), ("UART2", "stc8@11.0592MHz")],
             ["with cp2104 at 115200 bps", "with stc8@11.0592MHz at 9600 bps"]),
            ("one UART alone", ["--peer", "uart2=ideal"], [("UART1", None), ("UART2", "ideal")],
             ["with ideal at 9600 bps"]),
        ]
        for name, peers, expected, notes in cases:
            with self.subTest(name):
                report = Run(["--json"] + peers + plan)
                self.assertEqual(report.status, DONE, report)
                uarts = report.json()["plan"]
                self.assertEqual([(u["uart"], u["peer"]) for u in uarts], expected)
                for uart, (_, peer) in zip(uarts, expected):
                    self.assertEqual(uart["link"] and uart["link"]["peer"], peer)
                text = Run(peers + plan).out
                self.assertEqual([line.split(" at ")[0] for line in text.splitlines() if " link with " in line],
                                 [f"{u} link with {p}" for u, p in expected if p])
                code = Run(["--code"] + peers + plan).out
                self.assertEqual([line.split(",")[0].split("Link:    ")[1] for line in code.splitlines()
                                  if line.startswith("// Link:")], notes)
        # --require-link judges each UART against its own peer: N76E003 UART1 at 115200 runs 3.55 % slow at
        # 16 MHz, beyond the CH340's 2 % but within what an ideal peer's receiver takes.
        strict = ["--require-link", "--max-error", "4", "--target", "n76e003", "--uart", "0:9600", "--uart",
                  "1:115200", "--peer", "ch340", "16MHz"]
        failing = Run(strict)
        self.assertEqual(failing.status, LINK_FAILS, failing)
        self.assertIn("UART1 the serial link with ch340 fails", failing.err)
        self.assertEqual(Run(strict + ["--peer", "1=ideal"]).status, DONE)

    def test_code_records_the_verdict(self):
        code = Run(["--code"] + STC8_CH340, language="zh").out
        lines = code.splitlines()
        note = next(i for i, line in enumerate(lines) if line.startswith("// 链路:"))
        self.assertEqual(lines[note], "// 链路: 与ch340在115200bps通信，最差失配1.50%，接收极限2.00%，勉强可用")
        self.assertTrue(lines[note + 1].startswith("// 返回:"), lines[note + 1])
        # The note speaks the generated code's language, --lang's.
        english = Run(["--code"] + STC8_CH340, language="en").out
        self.assertIn("// Link:    with ch340 at 115200 bps, worst mismatch 1.50% of the 2.00% limit: marginal",
                      english.splitlines())
        self.assertNotIn("链路", english)
        # The classic SIO_Init too, the driver's init function and the assembly text's.
        classic = Run(["--code", "--peer", "ideal", "11.0592MHz", "9600"], language="zh").out
        self.assertIn("// 链路: 与ideal在9600bps通信", classic)
        driver = Run(["--driver", "--peer", "ideal", "--target", "stc8", "22.1184MHz", "115200"], language="zh").out
        self.assertEqual(driver.count("// 链路: 与ideal在115200bps通信"), 1, driver)
        assembly = Run(["--asm", "sdas", "--peer", "ideal", "--target", "stc8", "--uart", "1:115200", "--uart",
                        "2:9600", "22.1184MHz"], language="zh").out
        self.assertEqual([line.split("，")[0] for line in assembly.splitlines() if line.startswith("; 链路:")],
                         ["; 链路: 与ideal在115200bps通信", "; 链路: 与ideal在9600bps通信"])


class RequireLinkTest(unittest.TestCase):
    def test_exit_statuses(self):
        # Arguments, status, whether standard output holds something.
        cases = [
            ("a failing link", ["--require-link", "--peer", "ideal", "12MHz", "9600"], LINK_FAILS, False),
            ("a failing link with the report", ["--require-link", "--json", "--peer", "ideal", "12MHz", "9600"],
             LINK_FAILS, False),
            ("a marginal link passes", ["--require-link"] + STC8_CH340, DONE, False),
            ("a marginal link passes with JSON", ["--require-link", "--json"] + STC8_CH340, DONE, True),
            ("a working link", ["--require-link", "--peer", "ideal", "11.0592MHz", "9600"], DONE, False),
            ("an adapter that cannot", ["--require-link", "--peer", "ft232r", "--target", "stc8", "30MHz", "2500000"],
             LINK_FAILS, False),
            ("a UART of a plan", ["--require-link", "--peer", "ideal", "--clock-tolerance", "5%", "--target", "stc8",
                                  "--uart", "1:115200", "--uart", "2:9600", "22.1184MHz"], LINK_FAILS, False),
            ("no result", ["--require-link", "--peer", "ideal", "0", "9600"], LINK_FAILS, False),
        ]
        for name, arguments, status, output in cases:
            with self.subTest(name):
                run = Run(arguments)
                self.assertEqual(run.status, status, run)
                self.assertEqual(bool(run.out), output, run)
                if status == LINK_FAILS:
                    self.assertEqual(run.err.count("\n"), 1, run)
        failure = Run(["--require-link", "--peer", "ideal", "12MHz", "9600"])
        # The classic 12 MHz setting runs at 8928.6 bps, 7 % slow: the 8051 receives the ideal peer 7.53 % fast.
        self.assertIn("12MHz 9600: the serial link with ideal fails: ideal -> 8051 worst mismatch +7.53% beyond the 4.58% "
                      "limit", failure.err)
        chinese = Run(["--require-link", "--peer", "ideal", "12MHz", "9600"], language="zh")
        self.assertIn("与 ideal 的串口链路不可用", chinese.err)

    def test_failing_link_writes_no_file(self):
        with tempfile.TemporaryDirectory() as folder:
            path = Path(folder) / "uart.c"
            run = Run(["--require-link", "--peer", "ideal", "-o", str(path), "12MHz", "9600"], language="zh")
            self.assertEqual(run.status, LINK_FAILS, run)
            self.assertFalse(path.exists())
            run = Run(["--require-link", "--peer", "ideal", "-o", str(path), "11.0592MHz", "9600"], language="zh")
            self.assertEqual(run.status, DONE, run)
            self.assertIn("链路", path.read_text(encoding="utf-8"))


class RatesByLinkTest(unittest.TestCase):
    def test_crystals_ranked_by_the_link(self):
        run = Run(["--rates", "9600,115200", "--target", "stc8", "--peer", "ch340", "--json"])
        self.assertEqual(run.status, DONE, run)
        rows = run.json()
        order = {"Works": 0, "Marginal": 1, "Fails": 2}
        keys = [(order[row["link"]["verdict"]], -(row["link"]["maxOwnTolerancePpm"] or -1)) for row in rows]
        self.assertEqual(keys, sorted(keys))
        # 6 MHz gives the CH340's own 9615.4 and 115384.6: the most room.
        self.assertEqual((rows[0]["crystal"], rows[0]["link"]["maxOwnTolerancePpm"]), ("6MHz", 10000))
        for row in rows:
            worst = max(order[rate["link"]["verdict"]] for rate in row["rates"])
            self.assertEqual(order[row["link"]["verdict"]], worst, row)
        plain = Run(["--rates", "9600,115200", "--target", "stc8", "--json"]).json()
        self.assertNotIn("link", plain[0])
        self.assertEqual(sorted(r["crystal"] for r in plain), sorted(r["crystal"] for r in rows))

    def test_text_and_csv(self):
        text = Run(["--rates", "9600", "--peer", "ideal", "11.0592MHz"], language="en")
        self.assertEqual(text.status, DONE, text)
        self.assertTrue(text.out.rstrip().endswith("link: works, this clock up to +-2.2364%"), text)
        csv = Run(["--rates", "9600", "--peer", "ideal", "--format", "csv", "11.0592MHz"])
        self.assertEqual(csv.out.splitlines()[0].split(",")[-2:], ["link", "max_clock_tolerance_ppm"])
        self.assertEqual(csv.out.splitlines()[1].split(",")[-2:], ["Works", "22364"])


class LinkUsageErrorTest(unittest.TestCase):
    def test_usage_errors_say_what_is_valid(self):
        cases = [
            ("a tolerance without a peer", ["--clock-tolerance", "1%", "12MHz"], ["--clock-tolerance", "--peer"]),
            ("a frame without a peer", ["--frame", "8E1", "12MHz"], ["--frame", "--peer"]),
            ("--require-link without a peer", ["--require-link", "12MHz"], ["--require-link", "--peer"]),
            ("an unknown peer", ["--peer", "ch9102", "12MHz"], ['"ch9102"', "ch340", "ft232h", "ideal",
                                                                  "TARGET@CRYSTAL"]),
            ("an unknown target", ["--peer", "pic16@12MHz", "12MHz"], ['"pic16"', "--list-targets"]),
            ("a peer's crystal", ["--peer", "stc8@fast", "12MHz"], ['"fast"', "11.0592MHz"]),
            ("a peer's tolerance", ["--peer", "stc8@12MHz,10%", "12MHz"], ['"10%"', "10 %"]),
            ("no unit", ["--peer", "ideal", "--clock-tolerance", "50", "12MHz"], ['"50"', "ppm", "%"]),
            ("a negative tolerance", ["--peer", "ideal", "--clock-tolerance", "-1%", "12MHz"], ['"-1%"', "negative"]),
            ("ten percent", ["--peer", "ideal", "--clock-tolerance", "10%", "12MHz"], ['"10%"', "10 %"]),
            ("seven data bits", ["--peer", "ideal", "--frame", "7N1", "12MHz"], ['"7N1"', "8N1", "8E1", "9N1", "8N2"]),
            ("with --table", ["--peer", "ideal", "--table"], ["--peer", "--table"]),
            ("with --reload", ["--peer", "ideal", "--reload", "0xFD", "12MHz"], ["--peer", "--reload"]),
            ("with --find-clock", ["--peer", "ideal", "--find-clock", "9600", "--target", "stc8", "--clock-range",
                                   "4MHz..35MHz"], ["--peer", "--find-clock"]),
            ("--require-link with --rates", ["--peer", "ideal", "--rates", "9600", "--require-link"],
             ["--require-link", "--rates"]),
            ("mode 3 in the classic code", ["--peer", "ideal", "--frame", "8E1", "--code", "12MHz"],
             ["8E1", "--target"]),
            ("a UART peer without a plan", ["--peer", "2=ideal", "--target", "stc8", "12MHz"],
             ['"2=ideal"', "--uart NAME:RATE"]),
            ("a UART peer not planned", ["--peer", "3=ideal", "--target", "stc8", "--uart", "1:9600", "12MHz"],
             ['"3=ideal"', "UART3", "UART1"]),
            ("not a UART", ["--peer", "com1=ideal", "--target", "stc8", "--uart", "1:9600", "12MHz"],
             ['"com1"', "UART1, UART2"]),
            ("two peers for every UART", ["--peer", "ideal", "--peer", "ch340", "12MHz"],
             ['"ideal"', '"ch340"', "UART=PEER"]),
            ("a UART's peer twice", ["--peer", "1=ideal", "--peer", "UART1=ch340", "--target", "stc8", "--uart",
                                     "1:9600", "12MHz"], ["UART1", '"1=ideal"', '"UART1=ch340"']),
            ("a UART's peer unknown", ["--peer", "1=ch9102", "--target", "stc8", "--uart", "1:9600", "12MHz"],
             ['"ch9102"', "ch340"]),
            ("mode 3 against --uart-mode 1", ["--peer", "ideal", "--frame", "8E1", "--target", "stc8", "--uart-mode",
                                               "1", "12MHz"], ["8E1", "--uart-mode 1"]),
        ]
        cli_test.check_usage_errors(self, cases)

    def test_help_names_the_options_in_both_languages(self):
        cases = [("en", "check the serial link", "--require-link: the serial link fails"),
                 ("zh", "检查与对端的串口链路", "--require-link：串口连接不通")]
        for language, words, status in cases:
            with self.subTest(language):
                run = Run(["--help"], language=language)
                self.assertEqual(run.status, DONE, run)
                for option in ("--peer", "--clock-tolerance", "--frame", "--require-link"):
                    self.assertIn(option, run.out)
                self.assertIn(words, run.out)
                self.assertIn(status, run.out)


if __name__ == "__main__":
    cli_test.run_tests_on_command()
