#!/usr/bin/env python3
"""Runs the real tesmirol-cli with --driver: the serial driver as one text
on standard output or in -o FILE, as uartN.h and uartN.c in --driver-dir
(one pair per UART of a plan), and the usage errors that list what is valid;
and with --asm: the assembly text in either syntax, its bytes and its usage
errors.

Usage: cli_driver_test.py [--emulator PART]... CLI
"""

import tempfile
import unittest
from pathlib import Path

import cli_test
from cli_test import Run

DONE = 0


class DriverTest(unittest.TestCase):
    def test_where_the_driver_goes(self):
        # Arguments after --target; the files written (none: standard output).
        cases = [
            ("one text on standard output", ["stc8", "--driver", "22.1184MHz", "115200"], []),
            ("one file", ["stc8", "--driver", "polled", "-o", "{dir}/drv.c", "22.1184MHz"], ["drv.c"]),
            ("a pair for a UART", ["stc-u2-t2", "--driver", "--driver-dir", "{dir}", "22.1184MHz"],
             ["uart2.c", "uart2.h"]),
            ("a pair per UART of a plan", ["stc8", "--uart", "1:115200", "--uart", "3:9600", "--driver",
                                           "--driver-dir", "{dir}", "22.1184MHz"],
             ["uart1.c", "uart1.h", "uart3.c", "uart3.h"]),
        ]
        for name, arguments, files in cases:
            with self.subTest(name), tempfile.TemporaryDirectory() as folder:
                run = Run(["--target"] + [a.replace("{dir}", folder) for a in arguments])
                self.assertEqual(run.status, DONE, run)
                self.assertEqual(sorted(p.name for p in Path(folder).iterdir()), files)
                texts = [run.out] if not files else [(Path(folder) / f).read_bytes().decode("utf-8") for f in files]
                self.assertTrue(all("\r\n" in text for text in texts), "CR LF line ends")
                sources = [text for text, f in zip(texts, files or ["-.c"]) if f.endswith(".c")]
                # The stdio hooks go with the first UART only.
                self.assertEqual(sum("int putchar(int c)" in text for text in sources), 1, name)

    def test_the_driver_folder_is_made(self):
        # The --driver-dir below a fresh folder; the status; the files made there or the words of the failure.
        cases = [
            ("a missing folder and its parents", "src/uart", DONE, ["uart1.c", "uart1.h"]),
            ("a folder that is there", ".", DONE, ["uart1.c", "uart1.h"]),
            ("a file in the way", "taken/uart", 4, ['cannot create the folder "{dir}/taken/uart"',
                                                    "not a folder"]),
        ]
        for name, below, status, expected in cases:
            with self.subTest(name), tempfile.TemporaryDirectory() as folder:
                (Path(folder) / "taken").write_bytes(b"")
                run = Run(["--target", "stc8", "--driver", "--driver-dir", f"{folder}/{below}",
                           "22.1184MHz"])
                self.assertEqual(run.status, status, run)
                if status == DONE:
                    self.assertEqual(sorted(p.name for p in (Path(folder) / below).iterdir() if p.name != "taken"),
                                     expected)
                for words in expected if status != DONE else []:
                    self.assertIn(words.replace("{dir}", folder), run.err)

    def test_usage_errors_name_what_is_valid(self):
        cases = [
            ("a size that is not a power of two", ["--target", "stc8", "--driver", "--rx-size", "100"],
             ["--rx-size 100", "8, 16, 32, 64, 128"]),
            ("xdata sizes", ["--target", "stc8", "--driver", "--buffers", "xdata", "--tx-size", "2048"],
             ["--tx-size 2048", "512, 1024"]),
            ("a register bank", ["--target", "stc8", "--driver", "--register-bank", "4"], ["0, 1, 2, 3"]),
            ("buffers of the polled driver", ["--target", "stc8", "--driver", "polled", "--rx-size", "32"],
             ["polled one has none"]),
            ("a driver without a target", ["--driver"], ["--driver needs --target"]),
            ("a folder without a driver", ["--target", "stc8", "--driver-dir", "x"], ["give it with --driver"]),
            ("a folder and a file", ["--target", "stc8", "--driver", "--driver-dir", "x", "-o", "y.c"],
             ["cannot be given together"]),
            ("the driver and --code", ["--target", "stc8", "--driver", "--code"], ["cannot be given together"]),
            ("an RS-485 pin that is no port bit", ["--target", "t1-12t", "--driver", "--rs485", "P4.1"],
             ['--rs485 "P4.1"', "P0.0 to P3.7"]),
            ("RS-485 on a core without the classic timing",
             ["--target", "stc8", "--driver", "--rs485", "P3.7", "22.1184MHz", "115200"],
             ["classic 8051 instruction timing", "t1-12t"]),
            ("RS-485 without a driver", ["--target", "t1-12t", "--rs485", "P3.7"], ["give it with --driver"]),
            ("line ends without a driver", ["--target", "t1-12t", "--crlf"], ["give it with --driver"]),
        ]
        cli_test.check_usage_errors(self, cases)


CRYSTAL = ["11.0592MHz", "9600"]


class DriverMemoryTest(unittest.TestCase):
    """The driver against the memory of the chip --target names: a family's
    own, or the smallest of the families a generator serves."""

    def test_what_cannot_work_is_refused(self):
        cases = [
            ("xdata on a chip without XRAM", ["--target", "8051", "--buffers", "xdata"],
             ["--buffers xdata needs on-chip XRAM", "--target 8051", "keep the buffers in idata"]),
            ("xdata on a generator of chips without XRAM", ["--target", "t2-12t", "--buffers", "xdata"],
             ["--target t2-12t has none"]),
            ("xdata beyond the N76E003's 768 bytes",
             ["--target", "n76e003", "--buffers", "xdata", "--rx-size", "512", "--tx-size", "512"],
             ["1024 bytes", "768 bytes of on-chip XRAM", "together at most 768"]),
            ("16 + 16 in 128 bytes with printf", ["--target", "t1-12t", "--rx-size", "16", "--tx-size", "16"],
             ["128 bytes of internal RAM", "needs 140", "32 idata buffers", "--rx-size 8 --tx-size 8",
              "--driver polled"]),
            ("a register bank in 128 bytes", ["--target", "8051", "--register-bank", "1"],
             ["needs 129", "16 registers", "leave out --register-bank"]),
            ("128 + 32 in 256 bytes", ["--target", "8052", "--rx-size", "128", "--tx-size", "32"],
             ["256 bytes of internal RAM", "needs 268"]),
            ("idata overflow where XRAM would do", ["--target", "stc12", "--rx-size", "128", "--tx-size", "128"],
             ["put them in xdata (--buffers xdata)"]),
        ]
        cli_test.check_usage_errors(self, [(name, ["--lang", "en", *arguments, "--driver", *CRYSTAL], named)
                                           for name, arguments, named in cases])

    def test_a_polled_driver_counts_no_register_bank(self):
        # The bank is the interrupt's; a polled driver's code and memory
        # figures are those without --register-bank.
        arguments = ["--lang", "en", "--target", "8051", "--driver", "polled", *CRYSTAL]
        plain = Run(arguments)
        banked = Run([*arguments, "--register-bank", "2"])
        self.assertEqual(plain.status, DONE, plain)
        self.assertEqual((banked.status, banked.out), (DONE, plain.out), banked)

    def test_defaults_fit_and_tight_ones_are_warned(self):
        # arguments, the header's sizes and RAM left, the warning on stderr (or none)
        cases = [
            ("a 128-byte family", ["--target", "8051"], ("8", "8", "4"), "leave only 4 of the 128 bytes"),
            ("a generator of 128-byte chips", ["--target", "t1-12t"], ("8", "8", "4"), "of --target t1-12t"),
            ("a 256-byte family", ["--target", "8052"], ("16", "16", "116"), None),
            ("a 256-byte chip nearly full", ["--target", "stc8", "--rx-size", "128", "--tx-size", "16"],
             ("128", "16", "4"), "leave only 4 of the 256 bytes"),
            ("xdata within the XRAM", ["--target", "n76e003", "--buffers", "xdata", "--rx-size", "512"],
             ("512", "16", "143"), None),
            ("XRAM off after reset", ["--target", "ds87c520", "--buffers", "xdata"], ("16", "16", "148"),
             "set PMR.DME0"),
        ]
        for name, arguments, (rx, tx, left), warning in cases:
            with self.subTest(name):
                run = Run(["--lang", "en", *arguments, "--driver", *CRYSTAL])
                self.assertEqual(run.status, DONE, run)
                self.assertIn(f"_RX_SIZE {rx}/", run.out)
                self.assertIn(f"_TX_SIZE {tx}/", run.out)
                self.assertRegex(run.out, rf"left for the program's own variables and calls +{left}\r\n")
                self.assertIn("--iram-size", run.out)
                if warning is None:
                    self.assertEqual(run.err, "", run)
                else:
                    self.assertIn(warning, run.err, run)
                    self.assertEqual(run.err.count("\n"), 1, run)


class AsmTest(unittest.TestCase):
    def test_where_the_text_goes_and_what_it_names(self):
        # Arguments; the file written; texts the output must hold.
        cases = [
            ("A51 on standard output", ["--target", "stc8", "--asm", "a51", "22.1184MHz", "115200"], None,
             ["PUBLIC\tSIO_Init", "PUBLIC\t_uart1_send", "PUBLIC\tuart1_receive", "RSEG", "\tEND"]),
            ("sdas8051 into a file", ["--target", "n76-t3-uart1", "--asm", "sdas", "-o", "{dir}/u.asm", "16MHz"],
             "u.asm", [".globl\t_SIO1_Init", "_uart1_receive:", "MOV\tDPL,SBUF_1", "SFRS\t=\t0x91"]),
            ("a plan's UARTs", ["--target", "stc8", "--uart", "1:115200", "--uart", "2:9600", "--asm", "a51",
                                "-o", "{dir}/plan.a51", "22.1184MHz"], "plan.a51",
             ["PUBLIC\tSIO2_Init", "PUBLIC\t_uart2_send", "S2CON\tDATA\t9AH"]),
        ]
        for name, arguments, file, holds in cases:
            with self.subTest(name), tempfile.TemporaryDirectory() as folder:
                run = Run([a.replace("{dir}", folder) for a in arguments])
                self.assertEqual(run.status, DONE, run)
                text = run.out if file is None else (Path(folder) / file).read_bytes().decode("utf-8")
                self.assertIn("\r\n", text, "CR LF line ends")
                for piece in holds:
                    self.assertIn(piece, text)

    def test_gbk_bytes_are_the_utf8_text(self):
        with tempfile.TemporaryDirectory() as folder:
            gbk = Path(folder) / "gbk.asm"
            first = Run(["--target", "t1-12t", "--asm", "a51", "--encoding", "gbk", "--lf", "-o", str(gbk)])
            second = Run(["--target", "t1-12t", "--asm", "a51", "--lf"])
            self.assertEqual((first.status, second.status), (DONE, DONE))
            self.assertEqual(gbk.read_bytes().decode("gbk"), second.out)
            self.assertNotIn("\r", second.out)

    def test_usage_errors_name_what_is_valid(self):
        cases = [
            ("an unknown syntax", ["--target", "stc8", "--asm", "masm"], ["a51", "sdas"]),
            ("no target", ["--asm", "a51"], ["--asm needs --target"]),
            ("with the C driver", ["--target", "stc8", "--asm", "a51", "--driver"], ["cannot be given together"]),
            ("with --code", ["--target", "stc8", "--asm", "sdas", "--code"], ["cannot be given together"]),
            ("with a driver folder", ["--target", "stc8", "--asm", "sdas", "--driver-dir", "x"],
             ["give it with --driver"]),
        ]
        cli_test.check_usage_errors(self, cases)


if __name__ == "__main__":
    cli_test.run_tests_on_command()
