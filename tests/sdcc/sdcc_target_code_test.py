#!/usr/bin/env python3
"""Compiles the generated init function of every catalogue target, for a
spread of the preset pairs and clock choices, in GBK and in UTF-8, with SDCC
(warnings counting as errors), and checks that each compiled function stores
the solver's reload in the target's reload registers. Then builds the init
code of several plans of UARTs of one chip, each as one program that calls
every function of the plan: every register declared once, every function's
reload stored.

Usage: sdcc_target_code_test.py --sdcc SDCC --cli CLI --work DIR CASE_WRITER

A representative set of the same texts in English (the first case of each
target and a few plans, each STEM_en.c) is compiled alongside; they must be
ASCII.

The files compiled are the ones tesmirol-cli writes: for one case of each
target within 1 % that uses the solver's best setting, tesmirol-cli --target
--code must give the same bytes.

The generated files declare the registers <8051.h> lacks themselves, so each
translation unit includes <8051.h> and a batch of generated files, each
function renamed, as in the test of the dialog's code (sdcc_compile_test.py,
whose compiling this reuses). SDCC accepts the same register declared twice
alike, so the plans' single declarations are checked in the text.
"""

import argparse
import re
import subprocess
import sys
import time
from collections import Counter
from concurrent.futures import ThreadPoolExecutor
from fractions import Fraction
from pathlib import Path

from sdcc_compile_test import BATCH, WORKERS, compile_units
from target_cases import write_cases, write_plans

# The registers each generator loads with the reload: (register, byte), the
# byte being "low" for 8-bit reloads and the low or high byte otherwise.
RELOAD_STORES = {
    "timer1-mode2": [("TH1", "low"), ("TL1", "low")],
    "timer2-rcap": [("RCAP2H", "high"), ("RCAP2L", "low")],
    "stc15-timer2": [("T2H", "high"), ("T2L", "low")],
    "stc15-timer1-mode0": [("TH1", "high"), ("TL1", "low")],
    "stc12-brt": [("BRT", "low")],
    "stc-timer3": [("T3H", "high"), ("T3L", "low")],
    "stc-timer4": [("T4H", "high"), ("T4L", "low")],
    "n76-timer3": [("RH3", "high"), ("RL3", "low")],
    "ch55x-sbaud1": [("SBAUD1", "low")],
    "silabs-timer1": [("TH1", "low"), ("TL1", "low")],
    "cc-usart": [("U<N>BAUD", "low")],
    "efm8-uart1": [("SBRLH1", "high"), ("SBRLL1", "low")],
    "nrf-s0rel": [("S0RELH", "high"), ("S0RELL", "low")],
    "atmel-brg": [("BRL", "low")],
    "aduc-t3": [("T3FD", "low")],
}

# The timed-access writes open SFRS for the very next instruction: the page
# switch to 0 and back to 1 must compile to these three instructions in a row.
TIMED_ACCESS = [re.compile(r"mov\t_TA,#0xaa\n\tmov\t_TA,#0x55\n\tanl\t_SFRS,#0xfe\n"),
                re.compile(r"mov\t_TA,#0xaa\n\tmov\t_TA,#0x55\n\torl\t_SFRS,#0x01\n")]


# The EFM8BB3 UART1's function writes EIE2 on SFR page 0x00 and UART1's
# registers on page 0x20, and leaves the caller's page as it found it.
EFM8_PAGES = [re.compile(r"mov\t_SFRPAGE,#0x00\n\tanl\t_EIE2,#0xfe\n\tmov\t_SFRPAGE,#0x20\n"),
              re.compile(r"mov\t_SFRPAGE,#0x20\n(?:(?!_SFRPAGE).*\n)*\tmov\t_SBRLH1,"),
              re.compile(r"mov\t_SFRPAGE,r7\n$")]


def renamed(case):
    return f"{case['function']}_{case['stem']}"


def write_batches(work, sources):
    """Translation units of BATCH generated files each, every function renamed
    after its file; returns their names."""
    units = []
    for start in range(0, len(sources), BATCH):
        unit = f"batch_{start // BATCH:03d}.c"
        lines = ["#include <8051.h>"]
        for source, case in sources[start:start + BATCH]:
            # The ADuC's T3CON (0x9E) is another register than the Nuvoton's (0xC4).
            aduc = case["generator"] == "aduc-t3"
            lines += [f"#define {case['function']} {renamed(case)}_{source[-6:-2]}"]
            lines += ["#define T3CON ADUC_T3CON"] if aduc else []
            lines += [f'#include "{source}"', f"#undef {case['function']}"]
            lines += ["#undef T3CON"] if aduc else []
        (work / unit).write_text("\n".join(lines) + "\n", encoding="ascii")
        units.append(unit)
    return units


def wanted_stores(uart):
    reload = uart["reload"]
    byte = {"low": reload & 0xFF, "high": reload >> 8}
    number = uart["uart"][-1]
    return [f"mov\t_{register.replace('<N>', number)},#0x{byte[part]:02x}"
            for register, part in RELOAD_STORES[uart["generator"]]]


def function_problems(assembly, label, uart):
    """What the compiled function of one UART lacks: its reload stores, and on
    the Nuvoton Timer 3 the timed-access sequences."""
    start = assembly.find(f"_{label}:\n")
    end = assembly.find("\tret", start)
    body = assembly[start:end] if start >= 0 and end >= 0 else ""
    # The instructions alone, without the source lines SDCC puts between them.
    body = "".join(line + "\n" for line in body.splitlines() if not line.startswith(";"))
    missing = [store for store in wanted_stores(uart) if store not in body]
    if uart["generator"] == "n76-timer3":
        missing += [pattern.pattern for pattern in TIMED_ACCESS if not pattern.search(body)]
    if uart["generator"] == "efm8-uart1":
        missing += [pattern.pattern for pattern in EFM8_PAGES if not pattern.search(body)]
    return missing


def check_assembly(work, units, sources):
    assembly = "".join((work / unit.replace(".c", ".asm")).read_text(errors="replace") for unit in units)
    problems = []
    for source, case in sources:
        missing = function_problems(assembly, f"{renamed(case)}_{source[-6:-2]}", case)
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
        if key in seen or not case["best"] or not within_tolerance(case):
            continue
        seen.add(key)
        # The CC253x USART's mode-3 case is 8N2: it has no ninth bit.
        frame = ["--frame", "8N2"] if case["generator"] == "cc-usart" and case["mode"] == 3 else []
        mode = [] if frame else ["--uart-mode", str(case["mode"])]
        command = [cli, "--target", case["target"], "--code", "--encoding", "gbk", *mode, *frame,
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


def declaration_problems(source, text):
    """Each register declared once for SDCC and once for Keil C51."""
    sdcc = Counter(re.findall(r"^__sfr __at \(0x[0-9A-F]{2}\) (\w+);", text, re.MULTILINE))
    keil = Counter(re.findall(r"^sfr (\w+) = 0x[0-9A-F]{2};", text, re.MULTILINE))
    twice = sorted(name for name, count in (sdcc + keil).items() if count != 2 or sdcc[name] != 1)
    return [f"{source}: declared other than once per compiler: {', '.join(twice)}"] if twice else []


# How each rendering is read back: the Chinese text in its two encodings,
# the English text as ASCII.
TEXT_ENCODINGS = {"gbk": "gbk", "utf8": "utf-8", "en": "ascii"}


def renderings(item):
    """The renderings a case or plan was written in."""
    return ("gbk", "utf8", "en") if item.get("english") else ("gbk", "utf8")


def build_plans(sdcc, work, plans):
    """Each plan's text, in both encodings (and English where written), as one
    program whose main calls every function of the plan in the order asked;
    returns the problems."""
    programs = []
    problems = []
    for plan in plans:
        calls = " ".join(f"{uart['function']}();" for uart in plan["uarts"])
        for encoding in renderings(plan):
            source = f"{plan['stem']}_{encoding}.c"
            problems += declaration_problems(source, (work / source).read_text(encoding=TEXT_ENCODINGS[encoding]))
            program = f"{plan['stem']}_{encoding}_main.c"
            (work / program).write_text(f'#include <8051.h>\n#include "{source}"\n'
                                        f"void main(void)\n{{\n\t{calls}\n\twhile (1) {{\n\t}}\n}}\n", encoding="ascii")
            programs.append((program, plan))

    def build(program):
        return subprocess.run([sdcc, "-mmcs51", "--Werror", program[0]], cwd=work,
                              capture_output=True, text=True, errors="replace", check=False)

    with ThreadPoolExecutor(max_workers=WORKERS) as pool:
        runs = list(pool.map(build, programs))
    for (program, plan), run in zip(programs, runs):
        output = (run.stdout + run.stderr).strip()
        if run.returncode != 0 or re.search(r"warning|error", output, re.IGNORECASE):
            problems.append(f"{program}: status {run.returncode}\n{output[:2000]}")
            continue
        assembly = (work / program.replace(".c", ".asm")).read_text(errors="replace")
        for uart in plan["uarts"]:
            missing = function_problems(assembly, uart["function"], uart)
            if missing:
                problems.append(f"{program} {uart['function']} ({uart['target']}): no {', '.join(missing)}")
    return problems, len(programs)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--sdcc", required=True)
    parser.add_argument("--cli", required=True)
    parser.add_argument("--work", required=True, type=Path)
    parser.add_argument("case_writer")
    options = parser.parse_args()

    started = time.monotonic()
    cases = write_cases(options.case_writer, options.work)
    plans = write_plans(options.work)
    sources = [(f"{case['stem']}_{encoding}.c", case) for case in cases for encoding in renderings(case)]
    english = [source for source, _ in sources if source.endswith("_en.c")]
    problems = [f"{source}: not ASCII" for source in english if not (options.work / source).read_bytes().isascii()]
    units = write_batches(options.work, sources)
    problems += check_cli(options.cli, options.work, cases)
    problems += compile_units(options.sdcc, options.work, units + [write_8052_unit(options.work, cases)])
    if not problems:
        problems = check_assembly(options.work, units, sources)
    plan_problems, programs = build_plans(options.sdcc, options.work, plans)
    problems += plan_problems
    targets = len({case["target"] for case in cases})

    print(f"{len(cases)} cases of {targets} targets, {len(sources)} files ({len(english)} in English) in "
          f"{len(units)} translation units; "
          f"{len(plans)} plans built as {programs} programs; {time.monotonic() - started:.1f} s")
    for problem in problems[:20]:
        print(problem)
    return 1 if problems or not cases or not plans or not english else 0


if __name__ == "__main__":
    sys.exit(main())
