#!/usr/bin/env python3
"""Runs the real tesmirol-cli with --driver: the serial driver as one text
on standard output or in -o FILE, as uartN.h and uartN.c in --driver-dir
(one pair per UART of a plan), and the usage errors that list what is valid.

Usage: cli_driver_test.py [--emulator PART]... CLI
"""

import argparse
import sys
import tempfile
import unittest
from pathlib import Path

import cli_test
from cli_test import Run

DONE, USAGE = 0, 2


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
        ]
        for name, arguments, named in cases:
            with self.subTest(name):
                run = Run(arguments)
                self.assertEqual((run.status, run.out), (USAGE, ""), run)
                for text in named:
                    self.assertIn(text, run.err, run)
                self.assertEqual(run.err.count("\n"), 1, "one line on stderr")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--emulator", action="append", default=[])
    parser.add_argument("cli")
    options, rest = parser.parse_known_args()
    cli_test.COMMAND = options.emulator + [options.cli]
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
