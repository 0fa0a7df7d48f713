#!/usr/bin/env python3
"""Runs the generated init function in the s51 simulator and sends a few
bytes through the UART: the bytes must arrive (s51 writes them to a file),
and the simulated time from one byte's end of transmission to the next
must be the frame time at the rate the solver reported, 10 bits in UART mode
1 and 11 in mode 3.

Usage: s51_timing_test.py --sdcc SDCC --s51 S51 --work DIR CASE_WRITER

s51 models the classic Timer 1 in mode 2 (-t 8051) and the 8052's Timer 2
as a baud-rate generator (-t 8052): their overflows clock its UART, divided
by 32 or 16 (PCON.SMOD), or by 16 for Timer 2. Its core takes 12 oscillator
periods a machine cycle and its Timer 1 counts once a machine cycle, so a
chip whose Timer 1 counts every P periods (1T, 4T, 6T) runs as s51 does with
a crystal 12 / P times the chip's: the case's chosen clock gives the
simulated crystal. The clock selector bits themselves (AUXR, CKCON, T2MOD)
are plain memory to s51; the register test (s51_target_test.py) reads them
back.

s51's own models of other chips do not time the UART as the chips do, so
they are not used for timing: its DS80C320 (-t DS320) ignores CKCON.T1M and
runs the timers at 3/4 of the clock either way (the bytes still arrive,
which is checked), and its Silicon Labs F380 sends a byte in a fixed time,
whatever Timer 1 does.

A byte ends at the overflow that completes its last bit, and the next byte's
count starts when SBUF is written, so the time between two ends is exactly a
frame of overflows when the program writes SBUF within one overflow of the
end: only cases whose timer overflows no more often than every 40 machine
cycles are taken. The program polls TI in a loop of two machine cycles, and
the simulator moves its timers on by whole instructions: each interval is
read within four machine cycles, far less than one count more or less of
the reload would change a frame.

s51 also counts Timer 1's overflows into the UART's bit clock while Timer 2
clocks it, and starts with random register contents: the program stops
Timer 1 before a Timer 2 case.
"""

import argparse
import re
import subprocess
import sys
import time
from concurrent.futures import ThreadPoolExecutor
from fractions import Fraction
from pathlib import Path

from target_cases import crystal_hertz, write_cases

BYTES = (0x55, 0x0F, 0xA3, 0x7E)
MIN_CYCLES_PER_OVERFLOW = 40
# Each end of an interval is read within one poll of TI (two machine cycles),
# and the simulator moves the timers on by whole instructions, which may
# shift an end by one more instruction of two cycles.
JITTER_CYCLES = 4


def cycles_per_overflow(case):
    """Machine cycles of the simulated core between two overflows."""
    if case["generator"] == "timer1-mode2":
        return 256 - case["reload"]
    return (65536 - case["reload"]) / 6  # Timer 2 counts twice a machine cycle's six states


def pick(cases):
    """Per target, clock choice and UART mode the first case whose overflows
    are far enough apart, and per target one that doubles the rate."""
    picked, taken = [], set()
    for case in cases:
        if case["generator"] not in ("timer1-mode2", "timer2-rcap"):
            continue
        if cycles_per_overflow(case) < MIN_CYCLES_PER_OVERFLOW:
            continue
        keys = [(case["target"], case["clockIndex"], case["mode"])]
        if case["smod"]:
            keys.append((case["target"], "smod"))
        if any(key not in taken for key in keys):
            taken.update(keys)
            picked.append(case)
    return picked


def program(case):
    """The test program: the case's function, then the bytes one by one, a
    call of Mark after each byte's end."""
    function = case["function"]
    # s51 counts Timer 1's overflows into the UART's bit clock even when
    # Timer 2 clocks it; its registers start random, so Timer 1 is stopped.
    stop = "\tTR1 = 0;\n" if case["generator"] == "timer2-rcap" else ""
    sends = "\n".join(f"\tSBUF = 0x{byte:02X};\n\twhile (!TI) {{\n\t}}\n\tTI = 0;\n\tMark();" for byte in BYTES)
    return (f'#include <8051.h>\n#define {function} Timed_{function}\n#include "{case["stem"]}_gbk.c"\n'
            f"#undef {function}\nvoid Mark(void) {{}}\nvoid main(void)\n{{\n{stop}\tTimed_{function}();\n{sends}\n"
            "\twhile (1) {\n\t}\n}\n")


def simulate(tools, work, case, cpu, crystal):
    """Builds and runs the case's program; returns the bytes sent and the
    simulated ticks between the calls of Mark."""
    stem = f"timed_{case['stem']}_{cpu}"
    (work / f"{stem}.c").write_text(program(case), encoding="ascii")
    sdcc, s51 = tools
    build = subprocess.run([sdcc, "-mmcs51", "--Werror", f"{stem}.c"], cwd=work, capture_output=True, text=True,
                           errors="replace", check=False)
    if build.returncode != 0:
        return None, f"{stem}.c does not build: {(build.stdout + build.stderr)[:1000]}"
    symbols = (work / f"{stem}.map").read_text(errors="replace")
    mark = int(re.search(r"C:\s+([0-9A-F]{8})\s+_Mark\b", symbols).group(1), 16)
    commands = [f'load "{stem}.ihx"', f"break 0x{mark:04x}"] + ["run"] * len(BYTES) + ["quit"]
    (work / f"{stem}.cmd").write_text("\n".join(commands) + "\n", encoding="ascii")
    output = work / f"{stem}.out"
    output.unlink(missing_ok=True)
    run = subprocess.run([s51, "-t", cpu, "-X", str(crystal), "-S", f"out={output.name}", "-C", f"{stem}.cmd"],
                         cwd=work, stdin=subprocess.DEVNULL, capture_output=True, text=True, errors="replace",
                         timeout=60, check=False)
    ticks = [int(t) for t in re.findall(r"^Simulated (\d+) ticks", run.stdout, re.MULTILINE)]
    sent = output.read_bytes() if output.exists() else b""
    return (sent, ticks[1:]), None


def check(tools, work, case):
    problems = []
    where = f"{case['target']} {case['crystal']} {case['baud']} clock {case['clocksPerCycle']}T mode {case['mode']}"
    scale = Fraction(12, case["clocksPerCycle"])
    crystal = crystal_hertz(case["crystal"]) * scale
    if crystal.denominator != 1:
        return [f"{where}: the simulated crystal {float(crystal)} Hz is not whole"]
    cpu = "8051" if case["generator"] == "timer1-mode2" else "8052"
    result, error = simulate(tools, work, case, cpu, crystal.numerator)
    if error:
        return [f"{where}: {error}"]
    sent, intervals = result
    if sent != bytes(BYTES):
        problems.append(f"{where}: sent {sent.hex()} instead of {bytes(BYTES).hex()}")
    bits = 11 if case["mode"] == 3 else 10
    frame = crystal * bits / Fraction(case["numerator"], case["denominator"])
    for interval in intervals:
        if abs(interval - frame) > 12 * JITTER_CYCLES:
            problems.append(f"{where}: {interval} ticks between frames, {float(frame):.1f} at the reported rate")
    if len(intervals) != len(BYTES) - 1:
        problems.append(f"{where}: {len(intervals)} intervals read, {len(BYTES) - 1} expected")
    return problems


def dallas_bytes(tools, work, cases):
    """s51's DS80C320 model: the bytes arrive at either T1M setting."""
    problems = []
    firsts = {case["clockIndex"]: case for case in reversed(cases) if case["target"] == "ds-t1"}
    for case in firsts.values():
        result, error = simulate(tools, work, case, "DS320", crystal_hertz(case["crystal"]).numerator)
        if error or result[0] != bytes(BYTES):
            problems.append(f"ds-t1 on s51's DS320: {error or 'sent ' + result[0].hex()}")
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--sdcc", required=True)
    parser.add_argument("--s51", required=True)
    parser.add_argument("--work", required=True, type=Path)
    parser.add_argument("case_writer")
    options = parser.parse_args()

    started = time.monotonic()
    cases = write_cases(options.case_writer, options.work)
    picked = pick(cases)
    tools = (options.sdcc, options.s51)
    with ThreadPoolExecutor(max_workers=2) as pool:
        found = list(pool.map(lambda case: check(tools, options.work, case), picked))
    problems = [problem for case_problems in found for problem in case_problems]
    problems += dallas_bytes(tools, options.work, picked)
    targets = sorted({case["target"] for case in picked})
    print(f"{len(picked)} cases of {len(targets)} targets ({' '.join(targets)}), {len(BYTES)} bytes each, "
          f"{time.monotonic() - started:.1f} s")
    for problem in problems[:30]:
        print(problem)
    return 1 if problems or not picked else 0


if __name__ == "__main__":
    sys.exit(main())
