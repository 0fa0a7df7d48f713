#!/usr/bin/env python3
"""Compiles the serial driver tesmirol-cli --driver writes for every target
of the catalogue, interrupt-driven and polled, with SDCC (warnings counting
as errors), and links one program that uses the drivers of two UARTs of one
chip at once (an STC8 plan of UART1 and UART2, written as uart1.h/uart1.c and
uart2.h/uart2.c): each interrupt's vector must jump to its UART's service
routine. Besides the 8N1 drivers, the drivers of frames with a 9th bit
(8E1 interrupt-driven, 9N1 interrupt-driven, 8N2 polled) compile for every
target, and the STC ports, whose TB8 sits in a control register that is not
bit-addressable, set and clear it with single ORL and ANL instructions.

Usage: sdcc_driver_test.py --sdcc SDCC --work DIR CLI

The flags of UARTs that are not bit-addressable (STC S2CON, S3CON, S4CON)
must be cleared with one ANL instruction, the same read-modify-write in one
instruction that CLR RI is on SCON, so that no flag set by the UART between
a read and a write of the register is lost.
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

# Inputs tried in turn until the target has code for them.
INPUTS = (("22.1184MHz", "9600"), ("11.0592MHz", "9600"), ("24MHz", "9600"), ("16MHz", "9600"), ("48MHz", "115200"))
BYTE_FLAGS = {"UART2": "S2CON", "UART3": "S3CON", "UART4": "S4CON"}


# driver kind, frame (None: 8N1)
VARIANTS = (("interrupt", None), ("polled", None), ("interrupt", "8E1"), ("interrupt", "9N1"), ("polled", "8N2"))


def generate(cli, work, target, kind, frame=None):
    framing = ["--frame", frame] if frame else []
    # 9N1's interrupt-driven driver does not fit beside printf in the 128
    # bytes of the classic targets' smallest chips (refused); their UART0
    # driver text is the same as the 8052 family's, compiled instead.
    names = [target["name"]] + (["8052"] if frame == "9N1" and kind == "interrupt" else [])
    for crystal, baud in INPUTS:
        for chip in names:
            name = f"{target['name']}_{kind}{'_' + frame if frame else ''}.c"
            run = subprocess.run([cli, "--target", chip, "--driver", kind, *framing, "--encoding", "gbk", "-o",
                                  str(work / name), crystal, baud], capture_output=True, text=True, check=False)
            if run.returncode == 0:
                return name
    return None


def compile_one(sdcc, work, source):
    run = subprocess.run([sdcc, "-mmcs51", "--Werror", "-c", source], cwd=work, capture_output=True, text=True,
                         errors="replace", check=False)
    return None if run.returncode == 0 else f"{source}: {(run.stdout + run.stderr)[:800]}"


def page_problems(source):
    """The EFM8BB3 UART1's registers answer on SFR page 0x20 alone: every
    compiled function of the driver that names SBUF1 or SCON1's bits
    (the interrupt routine included) selects page 0x20 and ends by writing
    the caller's page back to SFRPAGE."""
    asm = source.with_suffix(".asm").read_text(errors="replace")
    problems, checked = [], 0
    for label, body in re.findall(r"^(_uart1_\w+):\n(.*?)(?=^\tret)", asm, re.MULTILINE | re.DOTALL):
        code = "".join(line + "\n" for line in body.splitlines() if not line.startswith(";"))
        if not re.search(r"_(SBUF1|RI1|TI1|RBX1|TBX1)\b", code):
            continue
        checked += 1
        if "mov\t_SFRPAGE,#0x20\n" not in code or not re.search(r"mov\t_SFRPAGE,\S+\n(?:(?!_SFRPAGE).*\n)*$", code):
            problems.append(f"{source.name}: {label} does not select SFR page 0x20 and restore the caller's page")
    if checked == 0:
        problems.append(f"{source.name}: no function of the driver touches UART1's registers")
    return problems


def check_target(tools, work, target):
    sdcc, cli = tools
    problems = []
    for kind, frame in VARIANTS:
        if target["generator"] == "cc-usart" and frame in ("8E1", "9N1"):
            # The CC253x USARTs' code sets 8N1 and 8N2 alone: refused.
            run = subprocess.run([cli, "--lang", "en", "--target", target["name"], "--driver", kind, "--frame", frame, "32MHz",
                                  "115200"], capture_output=True, text=True, check=False)
            if run.returncode == 0 or "8N1 or 8N2" not in run.stderr:
                problems.append(f"{target['name']} {kind} {frame}: no refusal: {run.stderr.strip()}")
            continue
        source = generate(cli, work, target, kind, frame)
        if source is None:
            problems.append(f"{target['name']} {kind} {frame or '8N1'}: no driver for any of {INPUTS}")
            continue
        error = compile_one(sdcc, work, source)
        if error:
            problems.append(error)
            continue
        if target["generator"] == "efm8-uart1":
            problems += page_problems(work / source)
        control = BYTE_FLAGS.get(target["uart"]) if target["name"].startswith("stc") else None
        if control:
            asm = (work / source).with_suffix(".asm").read_text(errors="replace")
            for mask in ("0xfe", "0xfd"):
                if f"anl\t_{control},#{mask}" not in asm:
                    problems.append(f"{source}: no single ANL clears a flag of {control} (mask {mask})")
            if frame and frame != "9N1" and not (f"orl\t_{control},#0x08" in asm and
                                                  (frame == "8N2" or f"anl\t_{control},#0xf7" in asm)):
                problems.append(f"{source}: TB8 of {control} not set and cleared by single ORL and ANL")
    return problems


def vector_target(ihx, vector):
    """The address the LJMP at the interrupt's vector goes to, from the Intel
    HEX file; None when there is none."""
    code = {}
    for line in ihx.read_text().splitlines():
        count, address, kind = int(line[1:3], 16), int(line[3:7], 16), int(line[7:9], 16)
        if kind == 0:
            for i in range(count):
                code[address + i] = int(line[9 + 2 * i:11 + 2 * i], 16)
    entry = 3 + 8 * vector
    if code.get(entry) != 0x02:
        return None
    return code[entry + 1] << 8 | code[entry + 2]


# Programs of two UARTs' drivers, each file compiled and the whole linked: the
# family, its UARTs, the crystal and every interrupt routine with its vector.
PLANS = (
    ("stc8", ["--uart", "1:115200", "--uart", "2:9600"], "22.1184MHz", ("uart1", "uart2"),
     (("uart1_isr", 4), ("uart2_isr", 8))),
    # The CC253x USARTs receive and send on interrupts of their own.
    ("cc2530", ["--uart", "0:115200", "--uart", "1:9600"], "32MHz", ("uart0", "uart1"),
     (("uart0_isr", 2), ("uart0_tx_isr", 7), ("uart1_isr", 3), ("uart1_tx_isr", 14))),
    # The EFM8BB3's UART1 on interrupt 15, its registers on SFR page 0x20.
    ("efm8bb3", ["--uart", "0:115200", "--uart", "1:9600"], "24.5MHz", ("uart0", "uart1"),
     (("uart0_isr", 4), ("uart1_isr", 15))),
)


def two_uarts(sdcc, cli, work, plan):
    family, uarts, crystal, (first, second), routines = plan
    folder = work / f"{family}_plan"
    folder.mkdir()
    run = subprocess.run([cli, "--target", family, *uarts, "--driver", "--driver-dir", str(folder), crystal],
                         capture_output=True, text=True, check=False)
    if run.returncode != 0:
        return [f"{family} plan: {run.stderr.strip()}"]
    (folder / "main.c").write_text(
        f'#include <8051.h>\n#include <stdio.h>\n#include "{first}.h"\n#include "{second}.h"\n'
        f"void main(void)\n{{\n\t{first}_init();\n\t{second}_init();\n\tEA = 1;\n\tprintf(\"x\");\n"
        f"\twhile ({second}_write(0x55) == 0)\n\t{{\n\t}}\n\t{first}_flush();\n\t{second}_flush();\n"
        "\twhile (1)\n\t{\n\t}\n}\n",
        encoding="ascii")
    problems = []
    for source in (f"{first}.c", f"{second}.c", "main.c"):
        error = compile_one(sdcc, folder, source)
        if error:
            problems.append(f"{family} plan {error}")
    if problems:
        return problems
    link = subprocess.run([sdcc, "-mmcs51", "--Werror", "main.rel", f"{first}.rel", f"{second}.rel"], cwd=folder,
                          capture_output=True, text=True, errors="replace", check=False)
    if link.returncode != 0:
        return [f"{family} plan does not link: {(link.stdout + link.stderr)[:800]}"]
    symbols = (folder / "main.map").read_text(errors="replace")
    for name, vector in routines:
        found = re.search(rf"C:\s+([0-9A-F]{{8}})\s+_{name}\b", symbols)
        jump = vector_target(folder / "main.ihx", vector)
        if not found or jump != int(found.group(1), 16):
            problems.append(f"{family} plan: interrupt {vector} does not jump to {name}")
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
    listing = subprocess.run([options.cli, "--list-targets", "--json"], capture_output=True, check=True)
    targets = json.loads(listing.stdout)["targets"]
    tools = (options.sdcc, options.cli)
    with ThreadPoolExecutor(max_workers=2) as pool:
        found = list(pool.map(lambda target: check_target(tools, options.work, target), targets))
    problems = [problem for target_problems in found for problem in target_problems]
    for plan in PLANS:
        problems += two_uarts(options.sdcc, options.cli, options.work, plan)
    print(f"{len(targets)} targets, {len(VARIANTS)} drivers each, and {len(PLANS)} programs of two UARTs, "
          f"{time.monotonic() - started:.1f} s")
    for problem in problems[:30]:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
