#!/usr/bin/env python3
"""Compiles the generated SIO_Init with SDCC, the free 8051 C compiler, for
every pair of the preset lists whose outcome is code, in GBK and in UTF-8,
and fails on any error or warning. The assembly SDCC writes must load TH1 and
TL1 with the pair's reload value and set or clear SMOD as the table says.

Usage: sdcc_compile_test.py --sdcc SDCC --work DIR CLI

The generated function names the 8051's registers and bits (ES, SCON, TMOD,
TH1, TL1, PCON, TR1, REN) without declaring them, as a firmware project
includes its register header first: each translation unit here includes
SDCC's <8051.h> and then a batch of generated files, each under its own
function name. Batches keep the run short; every file is still compiled
whole, and a diagnostic names the file it comes from.
"""

import argparse
import json
import re
import shutil
import subprocess
import sys
import time
from concurrent.futures import ThreadPoolExecutor
from pathlib import Path

ENCODINGS = ("gbk", "utf-8")
BATCH = 64
WORKERS = 2


def code_pairs(cli):
    """The preset pairs whose outcome is code, with the reload and SMOD the
    code must use, from the command line's own table."""
    run = subprocess.run([cli, "--table", "--format", "json"], capture_output=True, check=True)
    pairs = []
    for row in json.loads(run.stdout):
        if row["outcome"] == "Code":
            smod = row["chosenSmod"]
            pairs.append((row["crystal"], row["baud"], row["modes"][smod]["reload"], smod))
    return pairs


def generate(cli, work, pairs):
    """Writes every pair's code in both encodings; returns the sources as
    (file name, reload, SMOD)."""
    jobs = []
    for number, (crystal, baud, reload, smod) in enumerate(pairs):
        for encoding in ENCODINGS:
            name = f"sio_{number:04d}_{encoding.replace('-', '')}.c"
            jobs.append((name, crystal, baud, encoding, reload, smod))

    def write(job):
        name, crystal, baud, encoding, _, _ = job
        return subprocess.run(
            [cli, "--code", "--encoding", encoding, "-o", str(work / name), "--", crystal, baud],
            capture_output=True, text=True, check=False)

    with ThreadPoolExecutor(max_workers=WORKERS) as pool:
        runs = list(pool.map(write, jobs))
    failed = [(job[0], run.stderr.strip()) for job, run in zip(jobs, runs) if run.returncode != 0]
    if failed:
        raise RuntimeError(f"{len(failed)} files not generated, first: {failed[0]}")
    return [(name, reload, smod) for name, _, _, _, reload, smod in jobs]


def function_name(source):
    return "SIO_Init_" + source.removesuffix(".c")


def write_batches(work, sources):
    """Translation units of BATCH generated files each; returns their names."""
    units = []
    for start in range(0, len(sources), BATCH):
        unit = f"batch_{start // BATCH:03d}.c"
        lines = ["#include <8051.h>"]
        for source, _, _ in sources[start:start + BATCH]:
            lines += [f"#define SIO_Init {function_name(source)}", f'#include "{source}"', "#undef SIO_Init"]
        (work / unit).write_text("\n".join(lines) + "\n", encoding="ascii")
        units.append(unit)
    return units


def compile_units(sdcc, work, units):
    """Compiles every unit; returns the diagnostics of those that failed or
    warned."""
    def compile_one(unit):
        return subprocess.run([sdcc, "-mmcs51", "--Werror", "-c", unit], cwd=work,
                              capture_output=True, text=True, errors="replace", check=False)

    with ThreadPoolExecutor(max_workers=WORKERS) as pool:
        runs = list(pool.map(compile_one, units))
    problems = []
    for unit, run in zip(units, runs):
        output = (run.stdout + run.stderr).strip()
        if run.returncode != 0 or re.search(r"warning|error", output, re.IGNORECASE):
            problems.append(f"{unit}: status {run.returncode}\n{output[:2000]}")
    return problems


def check_assembly(work, units, sources):
    """The stores each compiled function makes must be the pair's."""
    assembly = "".join((work / unit.replace(".c", ".asm")).read_text(errors="replace") for unit in units)
    problems = []
    for source, reload, smod in sources:
        start = assembly.find(f"_{function_name(source)}:\n")
        end = assembly.find("\tret", start)
        body = assembly[start:end] if start >= 0 and end >= 0 else ""
        wanted = [f"mov\t_TH1,#0x{reload:02x}", f"mov\t_TL1,#0x{reload:02x}",
                  "orl\t_PCON,#0x80" if smod else "anl\t_PCON,#0x7f"]
        missing = [instruction for instruction in wanted if instruction not in body]
        if missing:
            problems.append(f"{source}: no {', '.join(missing)}")
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--sdcc", required=True)
    parser.add_argument("--work", required=True, type=Path)
    parser.add_argument("cli")
    options = parser.parse_args()

    started = time.monotonic()
    shutil.rmtree(options.work, ignore_errors=True)
    options.work.mkdir(parents=True)
    pairs = code_pairs(options.cli)
    sources = generate(options.cli, options.work, pairs)
    generated = time.monotonic()
    units = write_batches(options.work, sources)
    problems = compile_units(options.sdcc, options.work, units)
    if not problems:
        problems = check_assembly(options.work, units, sources)
    finished = time.monotonic()

    print(f"{len(pairs)} preset pairs with code, {len(sources)} files in {len(units)} translation units; "
          f"generated in {generated - started:.1f} s, compiled and checked in {finished - generated:.1f} s")
    for problem in problems[:20]:
        print(problem)
    if problems:
        print(f"{len(problems)} problems")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
