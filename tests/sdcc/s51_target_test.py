#!/usr/bin/env python3
"""Runs the generated SIO_Init of every catalogue target in the s51 simulator
(Debian's sdcc-ucsim) and reads the registers back: the baud rate worked out
from them with the target's own formula must be the rate the solver reported,
exactly, and the bits of shared registers the baud rate does not need must
be as they were before the call.

Usage: s51_target_test.py --sdcc SDCC --s51 S51 --work DIR CASE_WRITER

One program calls each case's function twice, after two different presets of
the registers, and copies the registers before and after each call to
external RAM, which the simulator dumps at the end. The simulator is an 8052:
it keeps what is written to addresses it does not model (AUXR, CKCON, BRT,
T2H, T2L) and runs Timer 1 and Timer 2 as an 8052 does. Its Timer 1 mode 0
is the 8051's 13-bit counter, which starts counting from the STC chips'
16-bit reload at once, so for those cases TH1 and TL1 are read where the
function sets TR1 (a breakpoint there) instead.
"""

import argparse
import re
import subprocess
import sys
import time
from fractions import Fraction
from pathlib import Path

from target_cases import crystal_hertz, write_cases

# The registers read back, by address.
REGISTERS = {
    "SCON": 0x98, "TMOD": 0x89, "PCON": 0x87, "TCON": 0x88, "IE": 0xA8, "TH1": 0x8D, "TL1": 0x8B,
    "X8E": 0x8E, "BRT": 0x9C, "T2CON": 0xC8, "RCAP2L": 0xCA, "RCAP2H": 0xCB, "T2H": 0xD6, "T2L": 0xD7,
}
NAMES = list(REGISTERS)

# Two presets, so that every bit the code must keep is seen as 0 and as 1
# somewhere, and every bit it must set or clear starts the other way in one
# of them. No preset sets EA, a timer's run bit, IDLE or PD.
PRESETS = (
    {"SCON": 0xFF, "TMOD": 0xDD, "PCON": 0x8C, "TCON": 0x05, "IE": 0x0A, "TH1": 0x55, "TL1": 0x55,
     "X8E": 0xFF, "BRT": 0x55, "T2CON": 0xC9, "RCAP2L": 0x55, "RCAP2H": 0x55, "T2H": 0x55, "T2L": 0x55},
    {"SCON": 0x00, "TMOD": 0x02, "PCON": 0x00, "TCON": 0x00, "IE": 0x00, "TH1": 0xAA, "TL1": 0xAA,
     "X8E": 0x00, "BRT": 0xAA, "T2CON": 0x00, "RCAP2L": 0xAA, "RCAP2H": 0xAA, "T2H": 0xAA, "T2L": 0xAA},
)

# Bits the hardware itself sets while the timers run: overflow flags.
HARDWARE_BITS = {"TCON": 0xA0, "T2CON": 0xC0}

# The bits each generator may change (the clock bit of AUXR / CKCON added
# below); every other watched bit must keep its preset value.
COMMON_CHANGES = {"SCON": 0xFF, "IE": 0x10}
GENERATOR_CHANGES = {
    "timer1-mode2": {"TMOD": 0xF0, "TH1": 0xFF, "TL1": 0xFF, "TCON": 0x40, "PCON": 0x80},
    "timer2-rcap": {"T2CON": 0x36, "RCAP2L": 0xFF, "RCAP2H": 0xFF},
    "stc15-timer2": {"X8E": 0x1D, "T2H": 0xFF, "T2L": 0xFF},
    "stc15-timer1-mode0": {"TMOD": 0xF0, "TH1": 0xFF, "TL1": 0xFF, "TCON": 0x40},
    "stc12-brt": {"X8E": 0x15, "BRT": 0xFF, "PCON": 0x80},
}
CLOCK_CHANGES = {"auxr-t1x12": ("X8E", 0x41), "ckcon-t1m": ("X8E", 0x10)}

SIM_CASES_PER_TARGET = 3  # two in UART mode 1 and one in mode 3
BLOCK = 2 * len(NAMES)    # registers before and after one call
RESULTS = 0x1000          # where in external RAM the program keeps them, clear of the compiler's own


def pick(cases):
    """Per target, the first two cases in mode 1 and the first in mode 3."""
    picked, taken = [], {}
    for case in cases:
        key = (case["target"], case["mode"])
        if taken.get(key, 0) < (2 if case["mode"] == 1 else 1):
            taken[key] = taken.get(key, 0) + 1
            picked.append(case)
    return picked


def harness(cases):
    lines = ["#include <8051.h>"]
    lines += [f"__sfr __at (0x{address:02X}) SIM_{name};" for name, address in REGISTERS.items()]
    for case in cases:
        lines += [f"#define SIO_Init SIO_Init_{case['stem']}", f'#include "{case["stem"]}_gbk.c"', "#undef SIO_Init"]
    lines.append(f"__xdata __at (0x{RESULTS:04X}) unsigned char results[{len(cases) * len(PRESETS)}][{BLOCK}];")
    for number, preset in enumerate(PRESETS):
        body = " ".join(f"SIM_{name} = 0x{value:02X};" for name, value in preset.items())
        lines.append(f"static void Preset{number}(void) {{ {body} }}")
    reads = " ".join(f"out[{index}] = SIM_{name};" for index, name in enumerate(NAMES))
    lines.append(f"static void Record(unsigned char __xdata *out) {{ {reads} }}")
    lines.append("void Done(void) {}")
    lines.append("void main(void)\n{")
    for number, case in enumerate(cases):
        for preset in range(len(PRESETS)):
            row = number * len(PRESETS) + preset
            lines.append(f"\tPreset{preset}(); Record(results[{row}]); SIO_Init_{case['stem']}(); "
                         f"Record(results[{row}] + {len(NAMES)});")
            lines.append("\tTR1 = 0; T2CON &= 0xFB;")  # stop the timers before the next preset
    lines.append("\tDone();\n\twhile (1) {\n\t}\n}")
    return "\n".join(lines) + "\n"


def build(sdcc, work, cases):
    (work / "sim_main.c").write_text(harness(cases), encoding="ascii")
    run = subprocess.run([sdcc, "-mmcs51", "--Werror", "sim_main.c"],
                         cwd=work, capture_output=True, text=True, errors="replace", check=False)
    if run.returncode != 0:
        raise RuntimeError(f"sim_main.c does not build:\n{(run.stdout + run.stderr)[:3000]}")


def breakpoints(work, cases):
    """The address of Done, and of each mode-0 case's 'setb _TR1', from the
    linked listing."""
    listing = (work / "sim_main.rst").read_text(errors="replace")
    symbols = (work / "sim_main.map").read_text(errors="replace")
    done = int(re.search(r"C:\s+([0-9A-F]{8})\s+_Done\b", symbols).group(1), 16)
    stops = {}
    for case in cases:
        if case["generator"] != "stc15-timer1-mode0":
            continue
        label = listing.find(f"_SIO_Init_{case['stem']}:")
        setb = re.compile(r"^\s+([0-9A-F]{6}) D2 8E\s.*setb\s+_TR1", re.MULTILINE).search(listing, label)
        stops[case["stem"]] = int(setb.group(1), 16)
    return done, stops


def simulate(s51, work, cases, done, stops):
    """Runs the program to Done; returns the external RAM rows and, per
    mode-0 case, the (TL1, TH1) pairs seen at its breakpoint, in call order."""
    commands = [f"break 0x{address:04x}" for address in stops.values()] + [f"break 0x{done:04x}"]
    stop_count = sum(len(PRESETS) for case in cases if case["stem"] in stops)
    commands += ["run", "dump sfr 0x8b 0x8d"] * stop_count
    size = len(cases) * len(PRESETS) * BLOCK
    commands += ["run", f"dump xram 0x{RESULTS:04x} 0x{RESULTS + size - 1:04x}", "quit"]
    run = subprocess.run([s51, "-t", "8052", "-b", "sim_main.ihx"], cwd=work, input="\n".join(commands) + "\n",
                         capture_output=True, text=True, errors="replace", timeout=120, check=False)
    output = run.stdout
    lows = re.findall(r"^0x8b TL1:\s+0b[01]{8} 0x([0-9a-f]{2})", output, re.MULTILINE)
    highs = re.findall(r"^0x8d TH1:\s+0b[01]{8} 0x([0-9a-f]{2})", output, re.MULTILINE)
    timer_reads = [(int(low, 16), int(high, 16)) for low, high in zip(lows, highs)]
    memory = {}
    for address, data in re.findall(r"^0x([0-9a-f]{4})\s+((?:[0-9a-f]{2} )+)", output, re.MULTILINE):
        for offset, byte in enumerate(data.split()):
            memory[int(address, 16) - RESULTS + offset] = int(byte, 16)
    if len(memory) < size:
        raise RuntimeError(f"the simulator gave {len(memory)} of {size} bytes:\n{output[-3000:]}")
    rows = [[memory[row * BLOCK + i] for i in range(BLOCK)] for row in range(size // BLOCK)]
    return rows, timer_reads


def rate(case, after, timer):
    """The baud rate the registers give, worked out with the target's formula
    from the registers alone (and the clocks per cycle of a chip whose clock
    the function does not choose)."""
    f = crystal_hertz(case["crystal"])
    generator, clock = case["generator"], case["clock"]
    fixed = case["clocksPerCycle"]
    smod = after["PCON"] >> 7
    if generator == "timer1-mode2":
        clocks = fixed if clock == "fixed" else (1 if after["X8E"] & (0x40 if clock == "auxr-t1x12" else 0x10) else 12)
        return Fraction(2 ** smod) * f / (32 * clocks * (256 - after["TH1"]))
    if generator == "timer2-rcap":
        # Timer 2 counts state times: f / 2 in 12-clock parts, f in 6-clock.
        state_clock = f * 6 / fixed
        return state_clock / (16 * (65536 - (after["RCAP2H"] << 8 | after["RCAP2L"])))
    if generator == "stc15-timer2":
        clocks = 1 if after["X8E"] & 0x04 else 12
        return f / clocks / (65536 - (after["T2H"] << 8 | after["T2L"])) / 4
    if generator == "stc15-timer1-mode0":
        low, high = timer
        clocks = 1 if after["X8E"] & 0x40 else 12
        return f / clocks / (65536 - (high << 8 | low)) / 4
    clocks = 1 if after["X8E"] & 0x04 else 12
    return Fraction(2 ** smod) * f / (32 * clocks * (256 - after["BRT"]))


def generator_running(case, after):
    """The bits that make the generator feed UART1, on and off as they must be."""
    generator = case["generator"]
    if generator == "timer1-mode2":
        ok = after["TMOD"] >> 4 == 0x2 and after["TCON"] & 0x40
        return ok and (case["clock"] != "auxr-t1x12" or not after["X8E"] & 0x01)
    if generator == "stc15-timer1-mode0":
        return after["TMOD"] >> 4 == 0x0 and after["TCON"] & 0x40 and not after["X8E"] & 0x01
    if generator == "timer2-rcap":
        return after["T2CON"] & 0x36 == 0x34
    if generator == "stc15-timer2":
        return after["X8E"] & 0x19 == 0x11
    return after["X8E"] & 0x11 == 0x11


def check(case, before, after, timer):
    problems = []
    scon = 0xD0 if case["mode"] == 3 else 0x50
    if after["SCON"] != scon or not after["IE"] & 0x10:
        problems.append(f"SCON 0x{after['SCON']:02X} IE 0x{after['IE']:02X}")
    if not generator_running(case, after):
        problems.append("the generator is not set to feed UART1: " + " ".join(f"{n}=0x{after[n]:02X}" for n in NAMES))
    changes = dict(COMMON_CHANGES, **GENERATOR_CHANGES[case["generator"]])
    if case["clock"] in CLOCK_CHANGES:
        register, bits = CLOCK_CHANGES[case["clock"]]
        changes[register] = changes.get(register, 0) | bits
    for name in NAMES:
        keep = 0xFF & ~changes.get(name, 0) & ~HARDWARE_BITS.get(name, 0)
        if (before[name] ^ after[name]) & keep:
            problems.append(f"{name} 0x{before[name]:02X} -> 0x{after[name]:02X} changes kept bits 0x{keep:02X}")
    found = rate(case, after, timer)
    reported = Fraction(case["numerator"], case["denominator"])
    if found != reported:
        problems.append(f"rate read back {float(found):.4f} != reported {float(reported):.4f}")
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--sdcc", required=True)
    parser.add_argument("--s51", required=True)
    parser.add_argument("--work", required=True, type=Path)
    parser.add_argument("case_writer")
    options = parser.parse_args()

    started = time.monotonic()
    cases = pick(write_cases(options.case_writer, options.work))
    build(options.sdcc, options.work, cases)
    done, stops = breakpoints(options.work, cases)
    rows, timer_reads = simulate(options.s51, options.work, cases, done, stops)

    problems, timer_index = [], 0
    expected_reads = sum(len(PRESETS) for case in cases if case["stem"] in stops)
    if len(timer_reads) != expected_reads:
        problems.append(f"{len(timer_reads)} stops where TR1 is set, {expected_reads} expected")
    for number, case in enumerate(cases):
        for preset in range(len(PRESETS)):
            row = rows[number * len(PRESETS) + preset]
            before = dict(zip(NAMES, row[:len(NAMES)]))
            after = dict(zip(NAMES, row[len(NAMES):]))
            timer = None
            if case["stem"] in stops:
                timer = timer_reads[timer_index] if timer_index < len(timer_reads) else (0, 0)
                timer_index += 1
            for problem in check(case, before, after, timer):
                problems.append(f"{case['target']} {case['crystal']} {case['baud']} mode {case['mode']} "
                                f"preset {preset}: {problem}")
    targets = len({case["target"] for case in cases})
    print(f"{len(cases)} cases of {targets} targets, each after {len(PRESETS)} presets, "
          f"{time.monotonic() - started:.1f} s")
    for problem in problems[:30]:
        print(problem)
    return 1 if problems or targets == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
