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

    def test_usage_errors_name_what_is_valid(self):
        cases = [
            ("a size that is not a power of two", ["--target", "stc8", "--driver", "--rx-size", "100"],
             ["--rx-size 100", "8, 16, 32, 64, 128"]),
            ("xdata sizes", ["--target", "stc8", "--driver", "--buffers", "xdata", "--tx-size", "2048"],
             ["--tx-size 2048", "512, 1024"]),
            ("idata buffers beyond their share", ["--target", "stc8", "--driver", "--rx-size", "128"],
             ["144 bytes of idata", "--buffers xdata"]),
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
