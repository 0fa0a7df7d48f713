#!/usr/bin/env python3
"""Compiles the generated SIO_Init of every catalogue target, for a spread of
the preset pairs, in GBK and in UTF-8, with SDCC (warnings counting as
errors), and checks that each compiled function stores the solver's reload
in the target's reload registers.

Usage: sdcc_target_code_test.py --sdcc SDCC --cli CLI --work DIR CASE_WRITER

The files compiled are the ones tesmirol-cli writes: for one case of each
target within 1 %, tesmirol-cli --target --code must give the same bytes.

The generated files declare the registers <8051.h> lacks themselves, so each
translation unit includes <8051.h> and a batch of generated files, as in the
test of the dialog's code (sdcc_compile_test.py, whose batching this reuses).
"""

import argparse
import subprocess
import sys
import time
from fractions import Fraction
from pathlib import Path

from sdcc_compile_test import compile_units, function_name, write_batches
from target_cases import write_cases

# The registers each generator loads with the reload: (register, byte), the
# byte being "low" for 8-bit reloads and the low or high byte otherwise.
RELOAD_STORES = {
    "timer1-mode2": [("TH1", "low"), ("TL1", "low")],
    "timer2-rcap": [("RCAP2H", "high"), ("RCAP2L", "low")],
    "stc15-timer2": [("T2H", "high"), ("T2L", "low")],
    "stc15-timer1-mode0": [("TH1", "high"), ("TL1", "low")],
    "stc12-brt": [("BRT", "low")],
}


def wanted_stores(case):
    reload = case["reload"]
    byte = {"low": reload & 0xFF, "high": reload >> 8}
    return [f"mov\t_{register},#0x{byte[part]:02x}" for register, part in RELOAD_STORES[case["generator"]]]


def check_assembly(work, units, sources):
    assembly = "".join((work / unit.replace(".c", ".asm")).read_text(errors="replace") for unit in units)
    problems = []
    for source, case in sources:
        start = assembly.find(f"_{function_name(source)}:\n")
        end = assembly.find("\tret", start)
        body = assembly[start:end] if start >= 0 and end >= 0 else ""
        missing = [store for store in wanted_stores(case) if store not in body]
        if missing:
            problems.append(f"{source} ({case['target']} {case['crystal']} {case['baud']}): no {', '.join(missing)}")
    return problems


def within_tolerance(case):
    achieved = Fraction(case["numerator"], case["denominator"])
    return abs(achieved - int(case["baud"])) * 100 <= int(case["baud"])


def check_cli(cli, work, cases):
    """The command line's code for one case of each target (and one in UART
    mode 3) is byte for byte the file compiled here."""
    problems, seen = [], set()
    for case in cases:
        key = (case["target"], case["mode"])
        if key in seen or not within_tolerance(case):
            continue
        seen.add(key)
        command = [cli, "--target", case["target"], "--code", "--encoding", "gbk", "--uart-mode", str(case["mode"]),
                   "--", case["crystal"], case["baud"]]
        run = subprocess.run(command, capture_output=True, check=False)
        if run.stdout != (work / f"{case['stem']}_gbk.c").read_bytes():
            problems.append(f"{' '.join(command[1:])}: status {run.returncode}, not the bytes of {case['stem']}_gbk.c")
    targets = {case["target"] for case in cases}
    if {target for target, _ in seen} != targets:
        problems.append(f"no case within 1 % to compare with tesmirol-cli for {sorted(targets - {t for t, _ in seen})}")
    return problems


def write_8052_unit(work, cases):
    """A unit that includes <8052.h>, which declares Timer 2's registers
    itself, before an 8052 Timer 2 case: the generated declarations must step
    aside rather than declare them twice."""
    timer2 = next(case for case in cases if case["generator"] == "timer2-rcap")
    unit = "with_8052_h.c"
    (work / unit).write_text(f'#include <8052.h>\n#include "{timer2["stem"]}_gbk.c"\n', encoding="ascii")
    return unit


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--sdcc", required=True)
    parser.add_argument("--cli", required=True)
    parser.add_argument("--work", required=True, type=Path)
    parser.add_argument("case_writer")
    options = parser.parse_args()

    started = time.monotonic()
    cases = write_cases(options.case_writer, options.work)
    sources = [(f"{case['stem']}_{encoding}.c", case) for case in cases for encoding in ("gbk", "utf8")]
    # write_batches takes (file name, reload, SMOD) as the dialog's test has them.
    units = write_batches(options.work, [(source, None, None) for source, _ in sources])
    problems = check_cli(options.cli, options.work, cases)
    problems += compile_units(options.sdcc, options.work, units + [write_8052_unit(options.work, cases)])
    if not problems:
        problems = check_assembly(options.work, units, sources)
    targets = len({case["target"] for case in cases})

    print(f"{len(cases)} cases of {targets} targets, {len(sources)} files in {len(units)} translation units, "
          f"{time.monotonic() - started:.1f} s")
    for problem in problems[:20]:
        print(problem)
    return 1 if problems or not cases else 0


if __name__ == "__main__":
    sys.exit(main())
