#!/usr/bin/env python3
"""Runs printf through the default interrupt-driven driver (tesmirol-cli
--driver with no sizes) of every classic target in s51, on the 128-byte
8051 (-t 8051, --iram-size 128) and the 256-byte 8052 (-t 8052), and measures
the stack's high-water mark.

main fills internal RAM above the stack pointer with a pattern, then prints
"%d", "%s" and "%ld" with interrupts on; the console dumps internal RAM at the
end and the highest byte no longer holding the pattern is the deepest the
stack went. The text must arrive intact, the mark must stay inside the core's
RAM, the stack must start no higher than the header's registers, variables,
buffers and printf's variables put it, and take no more than the stack the
header states: the header's figures are no promise the simulator breaks.

Usage: s51_stack_test.py --sdcc SDCC --s51 S51 --work DIR CLI
"""

import argparse
import re
import shutil
import subprocess
import sys
import time
from concurrent.futures import ThreadPoolExecutor
from pathlib import Path

from s51_driver_test import memory

PATTERN = 0xA5
# target, s51 core, buffer size (none: the default), other driver options:
# Timer 1 on both cores, Timer 2 only on the 8052. t1-6t serves 256-byte
# chips (16 + 16 by default); on the 128-byte core it runs with the 128-byte
# chips' 8 + 8. The frames with a ninth bit add a parity count or the ninth
# bits' arrays, and the RS-485 pin a call in the interrupt routine: on the
# 128-byte core printf leaves no room for 9N1 or the pin, which are refused.
CASES = (("t1-12t", "8051", None, ()), ("t1-6t", "8051", 8, ()), ("t1-12t", "8052", None, ()),
         ("t1-6t", "8052", None, ()), ("t2-12t", "8052", None, ()), ("t2-6t", "8052", None, ()),
         ("t1-12t", "8051", None, ("--frame", "8E1")), ("8052", "8052", None, ("--frame", "9N1")),
         ("8052", "8052", None, ("--frame", "9N1", "--rs485", "P3.7")), ("8052", "8052", None, ("--rs485", "P1.0")),
         ("t2-6t", "8052", 8, ("--register-bank", "1", "--rs485", "P1.0")))
FORMATS = (('%d', "42", b"42"), ('%s', '"serial"', b"serial"), ('%ld', "123456789L", b"123456789"))
EXPECTED = b"".join(b"<" + text + b">\n" for _, _, text in FORMATS)
PROGRAM = """#include "{stem}_drv.c"
__xdata __at(0xFFFF) volatile unsigned char simif;
void main(void)
{{
\tunsigned char i = SP + 1;
\tdo
\t{{
\t\t*(__idata unsigned char *)i = 0x{pattern:02X};
\t}} while (i++ != 0x{top:02X});
{stop}\tuart0_init();
\tEA = 1;
{prints}\tuart0_flush();
\tsimif = 's';
\twhile (1)
\t{{
\t}}
}}
"""



def check(tools, work, case):
    sdcc, s51, cli = tools
    target, core, size, options = case
    stem = "_".join(["stack", target, core, *(option.strip("-").replace(".", "") for option in options)])
    sizes = [] if size is None else ["--rx-size", str(size), "--tx-size", str(size)]
    top = 0x7F if core == "8051" else 0xFF
    run = subprocess.run([cli, "--lang", "en", "--target", target, "--driver", *sizes, *options, "-o", str(work / f"{stem}_drv.c"),
                          "--lf", "11059200", "57600"], capture_output=True, text=True, check=False)
    if run.returncode != 0:
        return [f"{stem}: no driver: {run.stderr.strip()}"]
    header = (work / f"{stem}_drv.c").read_text(encoding="ascii")
    stated = int(re.search(r"stack: printf\(\"%ld\"\) and the serial interrupt +(\d+)", header).group(1))
    # what the header says lies below the stack: registers, the driver's
    # variables, its idata buffers and printf's variables
    below = sum(int(re.search(rf"{label} +(\d+)", header).group(1)) for label in (
        r"registers \(bank 0 up to the interrupt's bank\)", "the driver's variables", "buffers in idata",
        "printf's variables"))
    prints = "".join(f'\tprintf("<{fmt}>\\n", {arg});\n' for fmt, arg, _ in FORMATS)
    stop = "\tTR1 = 0;\n" if core == "8052" and target.startswith("t2") else ""
    (work / f"{stem}.c").write_text(PROGRAM.format(stem=stem, pattern=PATTERN, top=top, stop=stop, prints=prints),
                                    encoding="ascii")
    extra = ["--iram-size", "128"] if core == "8051" else []
    run = subprocess.run([sdcc, "-mmcs51", "--Werror", *extra, f"{stem}.c"], cwd=work, capture_output=True,
                         text=True, errors="replace", check=False)
    if run.returncode != 0:
        return [f"{stem}: does not build: {(run.stdout + run.stderr)[:600]}"]
    start = int(re.search(r"Stack starts at: 0x([0-9a-f]+)", (work / f"{stem}.mem").read_text()).group(1), 16)
    try:
        run = subprocess.run([s51, "-t", core, "-X", "11059200", "-I", "if=xram[0xffff]", "-S", f"out={stem}.out",
                              f"{stem}.ihx"], cwd=work, input=f"run\ndump /h iram 0 0x{top:02x} 16\nkill\n",
                             capture_output=True, text=True, errors="replace", timeout=60, check=False)
    except subprocess.TimeoutExpired:
        return [f"{stem}: the program did not finish in a minute (the stack overran RAM and it restarts?)"]
    if "Program stopped itself" not in run.stdout:
        return [f"{stem}: the program did not finish (restarted or hung): {run.stdout[-300:]}"]
    sent = (work / f"{stem}.out").read_bytes() if (work / f"{stem}.out").exists() else b""
    got = memory(run.stdout)
    mark = max(address for address in range(top + 1) if got.get(address) != PATTERN)
    used = mark - start + 1
    print(f"{target} {' '.join(options)} on -t {core}: stack from 0x{start:02X} to 0x{mark:02X}, {used} bytes "
          f"(the header states {stated}), top of RAM 0x{top:02X}")
    problems = []
    if sent != EXPECTED:
        problems.append(f"{stem}: s51 received {sent!r}, not {EXPECTED!r}")
    if mark >= top:
        problems.append(f"{stem}: the stack reached 0x{mark:02X}, the top of the core's RAM")
    if start > below:
        problems.append(f"{stem}: the stack starts at 0x{start:02X}, above the {below} bytes the header counts "
                        "below it (a variable the driver's figures miss?)")
    if used > stated:
        problems.append(f"{stem}: the stack took {used} bytes, more than the {stated} the header states")
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--sdcc", required=True)
    parser.add_argument("--s51", required=True)
    parser.add_argument("--work", required=True, type=Path)
    parser.add_argument("cli")
    options = parser.parse_args()

    started = time.monotonic()
    shutil.rmtree(options.work, ignore_errors=True)
    options.work.mkdir(parents=True)
    tools = (options.sdcc, options.s51, options.cli)
    with ThreadPoolExecutor(max_workers=2) as pool:
        found = list(pool.map(lambda case: check(tools, options.work, case), CASES))
    problems = [problem for case_problems in found for problem in case_problems]
    print(f"printf {', '.join(fmt for fmt, _, _ in FORMATS)} through the default driver of {len(CASES)} "
          f"target and core pairs, {time.monotonic() - started:.1f} s")
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
