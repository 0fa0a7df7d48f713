#!/usr/bin/env python3
"""Runs the real tesmirol-cli with --frame: the frame of a target's code
(the init code, the C driver, the assembly text; one UART or a --uart
plan), with and without --peer; the JSON's frame; 8N1 giving the same bytes
as no --frame; --uart-mode 3 alone standing for 9N1; and the usage errors.

Usage: cli_frame_test.py [--emulator PART]... CLI
"""

import tempfile
import unittest
from pathlib import Path

import cli_test
from cli_test import Run

DONE = 0
T1 = ["--target", "t1-12t", "11.0592MHz", "9600"]
STC8_PLAN = ["--target", "stc8", "--uart", "1:9600", "--uart", "2:115200", "22.1184MHz"]


class FrameCodeTest(unittest.TestCase):
    def test_the_frame_reaches_each_code(self):
        # Arguments; texts the output holds (each as often as given), texts it must not hold.
        cases = [
            ("init code, even parity", ["--code", "--frame", "8E1", *T1],
             {"8E1: 8 data bits, even parity": 1, "SCON = 0xC0;": 1, "then TB8 = P)": 1}, ["8N1", "TB8 = !P"]),
            ("init code, odd parity", ["--code", "--frame", "8o1", *T1], {"8O1:": 1, "TB8 = !P)": 1}, []),
            ("8M1 sets TB8 once", ["--code", "--frame", "8M1", *T1],
             {"SCON = 0xC8;": 1, "// 1   1   0   0   1   0   0  0": 1,
              "//          once RI is set, RB8 = 0 is a framing error": 1}, []),
            ("8N2's first stop bit in S2TB8", ["--code", "--frame", "8N2", "--target", "stc8", "--uart", "2:9600",
                                               "22.1184MHz"], {"S2CON = 0x88;": 1, "2 stop bits": 1}, []),
            ("--uart-mode 3 alone is 9N1", ["--code", "--uart-mode", "3", *T1], {"9N1: 9 data bits": 1}, []),
            ("with --peer", ["--code", "--frame", "8E1", "--peer", "ideal", *T1],
             {"8E1: 8 data bits": 1, "// Link:    with ideal": 1, "SCON = 0xC0;": 1}, []),
            ("every UART of a plan", ["--code", "--frame", "8E1", *STC8_PLAN], {"8E1: 8 data bits": 2}, []),
            ("the C driver's init", ["--driver", "--frame", "8O1", *T1], {"8O1: 8 data bits": 1}, []),
            ("A51, odd parity", ["--asm", "a51", "--frame", "8O1", *T1],
             {"MOV\tC,P\n\tCPL\tC": 1, "MOV\tTB8,C": 1, "JB\tP,uart0_receive_ok": 1,
              ";     unsigned int uart0_receive(void);": 1, ";     void uart0_send(unsigned char c);": 1,
              "the high byte in R6": 1}, []),
            ("sdas, 9N1", ["--asm", "sdas", "--frame", "9N1", *T1],
             {"void uart0_send(unsigned int c);": 1, "MOV\tA,DPH\n\tRRC\tA": 1, "MOV\tC,RB8": 1, "TB8\t=\t0x9B": 1},
             ["receive_ok"]),
            ("STC UART2, no bit addresses", ["--asm", "sdas", "--frame", "8E1", *STC8_PLAN],
             {"ANL\tS2CON,#0xF7": 1, "ORL\tS2CON,#0x08": 1, "MOV\tC,ACC.2": 1, "MOV\tTB8,C": 1}, []),
        ]
        for name, arguments, present, absent in cases:
            with self.subTest(name):
                run = Run(["--lf", *arguments])
                self.assertEqual(run.status, DONE, run)
                for text, count in present.items():
                    self.assertEqual(run.out.count(text), count, f"{text!r} in {run.out}")
                for text in absent:
                    self.assertNotIn(text, run.out)

    def test_the_frame_goes_into_the_files(self):
        with tempfile.TemporaryDirectory() as folder:
            output = Path(folder) / "uart.c"
            drivers = Path(folder) / "drivers"
            drivers.mkdir()
            for arguments, path in ((["-o", str(output)], output),
                                    (["--driver", "--driver-dir", str(drivers)], drivers / "uart1.c")):
                with self.subTest(arguments[0]):
                    run = Run([*arguments, "--frame", "8S1", "--target", "stc8", "22.1184MHz", "9600"])
                    self.assertEqual(run.status, DONE, run)
                    self.assertIn(b"8S1: 8 data bits, parity bit always 0", path.read_bytes())

    def test_8n1_is_the_code_without_a_frame(self):
        for view in (["--code"], ["--driver"], ["--asm", "a51"], ["--asm", "sdas"], ["--json"]):
            for target in (T1, STC8_PLAN):
                with self.subTest(f"{view[0]} {target[1]}"):
                    plain, framed = Run([*view, *target]), Run([*view, "--frame", "8N1", *target])
                    self.assertEqual(plain.status, DONE, plain)
                    self.assertEqual((framed.status, framed.raw), (DONE, plain.raw))

    def test_json_names_a_frame_of_mode_3(self):
        # Arguments; the report's "frame" (None: no key); the link's frame.
        cases = [
            ("8E1", ["--frame", "8E1", *T1], "8E1", None),
            ("8N1", ["--frame", "8N1", *T1], None, None),
            ("--uart-mode 3", ["--uart-mode", "3", *T1], "9N1", None),
            ("a plan", ["--frame", "8O1", *STC8_PLAN], "8O1", None),
            ("with --peer", ["--frame", "8M1", "--peer", "ideal", *T1], "8M1", "8M1"),
            ("--uart-mode 3 with --peer", ["--uart-mode", "3", "--peer", "ideal", *T1], "9N1", "9N1"),
        ]
        for name, arguments, frame, link_frame in cases:
            with self.subTest(name):
                run = Run(["--json", *arguments])
                self.assertEqual(run.status, DONE, run)
                report = run.json()
                self.assertEqual(report.get("frame"), frame)
                if link_frame:
                    self.assertEqual((report["link"]["frame"], report["link"]["uartMode"]), (link_frame, 3))


class FrameUsageErrorTest(unittest.TestCase):
    def test_usage_errors_say_why(self):
        cases = [
            ("the classic code", ["--frame", "8E1", "--code", "12MHz"], ["--frame", "--target", "--peer"]),
            ("the classic report", ["--frame", "8N1", "12MHz"], ["--frame", "--target", "--peer"]),
            ("a table", ["--frame", "8E1", "--table", "--target", "stc8"], ["--frame", "--table"]),
            ("the crystal finder", ["--frame", "8E1", "--rates", "9600", "--target", "stc8"], ["--frame", "--rates"]),
            ("mode 1 asked for", ["--frame", "8E1", "--uart-mode", "1", "--asm", "a51", *T1],
             ["8E1", "--uart-mode 1"]),
            ("mode 3 asked for", ["--frame", "8N1", "--uart-mode", "3", "--code", *T1], ["8N1", "--uart-mode 3"]),
            ("not a frame", ["--frame", "8E2", "--code", *T1], ['"8E2"', "8N1", "9N1"]),
            ("parity on the CC253x USART", ["--frame", "8E1", "--code", "--target", "cc2530", "32MHz", "115200"],
             ["8E1", "cc2530", "8N1 or 8N2"]),
            ("nine bits on one of its USARTs", ["--frame", "9N1", "--driver", "--target", "cc253x-usart1", "32MHz",
                                                "115200"], ["9N1", "cc253x-usart1"]),
        ]
        cli_test.check_usage_errors(self, cases)


if __name__ == "__main__":
    cli_test.run_tests_on_command()
