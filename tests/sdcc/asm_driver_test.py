#!/usr/bin/env python3
"""The init function and polled driver in assembly (tesmirol-cli --asm).

- Every target the assembly covers, at each clock choice and doubling bit it
  offers (written by asm_code_cases), and a few plans of several UARTs (from
  tesmirol-cli --uart ... --asm): the A51 text is assembled by as31, an
  independent Intel-syntax assembler, after the filter below; the sdas8051
  text by SDCC's assembler.
- The registers: one s51 program (-t 8052) calls, after each preset of the
  register test (s51_target_test.py), the C init function of the polled
  driver and then the assembly init of the same setting; every watched
  register must read the same after both. Where s51 does not model the
  serial port (STC UART2 to UART4, the N76E003 UART1, the CH55x UART1) its
  registers are memory: receive must return the byte of a set receive flag
  and clear the flag, send must write the data register and clear a set send
  flag.
- The line: the assembly driver of t1-12t (s51 -t 8051) and t2-12t (-t 8052),
  linked with a C main, sends a text through s51's UART. (s51 feeds no bytes
  from a file to its receiver here, so receive is checked on the memory
  ports above only.)
- The frames of UART mode 3 (8E1, 8O1, 8M1, 8S1, 8N2, 9N1): every plan and
  the Silicon Labs UART0 assemble in such a frame; the t1-12t driver (s51
  -t 8051) receives bytes that s51 feeds its UART, the program setting RB8
  after each RI to the right ninth bit or a wrong one (s51 cannot put a
  chosen bit there), and receive must return the byte with bit 8 the error
  (9N1: the ninth bit); each send must leave TB8 at the byte's ninth bit
  (it starts at the wrong value), and s51's UART must send the bytes. The
  stc8 UART2 driver (-t 8052, S2CON and S2BUF as memory) does the same with
  the flags the program sets.

What as31 is given instead of the A51 text (Keil A51 and as31 differ there):
A51's NAME, SEGMENT, RSEG and PUBLIC are left out (as31 writes one absolute
image and knows no modules); "X DATA n" and "X BIT n" become ".equ X, n",
except for the 8052's Timer 2 registers, which as31 defines itself and
refuses to define again; END becomes .end.

Usage: asm_driver_test.py --sdcc SDCC --s51 S51 --as31 AS31 --cli CLI --work DIR CASE_WRITER
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

from s51_target_test import HARDWARE_BITS, PRESETS, REGISTERS, port

NAMES = list(REGISTERS)
AS31_DEFINES = {"T2CON", "RCAP2L", "RCAP2H", "TL2", "TH2"}
# The serial ports s51 keeps as memory: control register, data register.
MEMORY_PORTS = {"stc-uart2": (0x9A, 0x9B), "stc12-uart2": (0x9A, 0x9B), "stc-uart3": (0xAC, 0xAD),
                "stc-uart4": (0x84, 0x85), "n76-uart1": (0xF8, 0x9A), "ch55x-uart1": (0xC0, 0xC1),
                "efm8-uart1": (0xC8, 0x92)}
PLANS = (("stc8", "22.1184MHz", ("1:115200", "2:9600", "3:57600", "4:19200")),
         ("efm8bb3", "24.5MHz", ("0:115200", "1:110")),
         ("n76e003", "16MHz", ("0:9600", "1:38400")), ("ch552", "24MHz", ("0:115200", "1:9600")),
         ("stc12", "11.0592MHz", ("1:9600", "2:115200")))
TEXT = b"Tesmirol asm\n"
LINES = (("t1-12t", "8051", 11059200, 1200), ("t2-12t", "8052", 11059200, 2400))
RESULTS = 0x1000


def for_as31(text):
    """The A51 text as as31 takes it (see above)."""
    lines = []
    # split, not splitlines: a GBK or UTF-8 byte read as latin-1 may be a
    # character that splitlines takes for a line end (0x85).
    for line in text.replace("\r\n", "\n").split("\n"):
        words = line.split(";", 1)[0].split()
        if words[:1] in (["NAME"], ["RSEG"], ["PUBLIC"]) or words[1:2] == ["SEGMENT"]:
            continue
        if len(words) == 3 and words[1] in ("DATA", "BIT"):
            if words[0] not in AS31_DEFINES:
                lines.append(f"\t.equ\t{words[0]}, {words[2]}")
            continue
        lines.append("\t.end" if words == ["END"] else line)
    return "\n".join(lines) + "\n"


def run(command, cwd, timeout=60):
    try:
        done = subprocess.run(command, cwd=cwd, capture_output=True, text=True, errors="replace", timeout=timeout,
                              stdin=subprocess.DEVNULL, check=False)
    except subprocess.TimeoutExpired:
        return 124, f"{command[0]} timed out after {timeout} s"
    return done.returncode, done.stdout + done.stderr


def assemble(tools, work, stem, a51, sdas):
    """as31 and sdas8051 on the two texts (latin-1 keeps the GBK comments' bytes)."""
    problems = []
    (work / f"{stem}_as31.asm").write_text(for_as31(a51), encoding="latin-1")
    status, output = run([tools["as31"], "-Fhex", f"{stem}_as31.asm"], work)
    if status != 0 or "rror" in output or "arning" in output:
        problems.append(f"{stem}: as31: {output.strip()[:400]}")
    (work / f"{stem}_sdas.asm").write_text(sdas, encoding="latin-1", newline="")
    status, output = run([tools["sdas"], "-plosgff", f"{stem}_sdas.asm"], work)
    if status != 0 or output.strip():
        problems.append(f"{stem}: sdas8051: {output.strip()[:400]}")
    return problems


def cli_text(tools, arguments):
    done = subprocess.run([tools["cli"], *arguments], capture_output=True, check=False)
    return done.stdout.decode("latin-1") if done.returncode == 0 else None


def renamed(sdas, case):
    """The case's sdas text with its three global names made unique."""
    return re.sub(r"\b(_(?:SIO\d?_Init|uart\d_send|uart\d_receive))\b", rf"\1_{case['stem']}", sdas)


def on_page0(case):
    """The Nuvoton functions that write T3CON on SFR page 0 (Timer 3, and
    Timer 1, which clears BRCK)."""
    return case["generator"] == "n76-timer3" or case["target"].startswith("n76-t1")


def presets_of(case):
    return [0, 1, 2] if on_page0(case) else [0, 1]


def counting(case):
    """Counters that run while the function ends: the Nuvoton Timer 1 runs
    from TR1=1 on, and the return to the caller's page after it takes other
    cycles in C and in assembly (TH1 holds the reload, compared as usual)."""
    return {"TL1"} if case["target"].startswith("n76-t1") else set()


def harness(cases):
    lines = ["#include <8051.h>"]
    lines += [f"__sfr __at (0x{address:02X}) SIM_{name};" for name, address in REGISTERS.items()]
    for case in cases:
        stem, function = case["stem"], case["function"]
        # The EFM8BB3's SCON1 (0xC8) is another register than the CH55x's
        # (0xC0), the ADuC's T3CON (0x9E) another than the Nuvoton's (0xC4).
        efm8 = case["generator"] == "efm8-uart1"
        aduc = case["generator"] == "aduc-t3"
        lines += [f"#define {function} C_{stem}", "#define SCON1 EFM8_SCON1" if efm8 else "",
                  "#define T3CON ADUC_T3CON" if aduc else "",
                  f'#include "{stem}.c"', f"#undef {function}", "#undef SCON1" if efm8 else "",
                  "#undef T3CON" if aduc else "",
                  f"extern void {case['init'][1:]}_{stem}(void);",
                  f"extern void {case['send'][1:]}_{stem}(unsigned char c);",
                  f"extern unsigned char {case['receive'][1:]}_{stem}(void);"]
    rows = sum(len(presets_of(case)) for case in cases)
    lines.append(f"__xdata __at (0x{RESULTS:04X}) unsigned char results[{rows}][{2 * len(NAMES)}];")
    lines.append(f"__xdata __at (0x{RESULTS - 0x200:04X}) unsigned char flags[{len(cases)}];")
    for number, preset in enumerate(PRESETS):
        body = " ".join(f"SIM_{name} = 0x{value:02X};" for name, value in preset.items())
        lines.append(f"static void Preset{number}(void) {{ {body} }}")
    reads = " ".join(f"out[{index}] = SIM_{name};" for index, name in enumerate(NAMES))
    lines.append(f"static void Record(unsigned char __xdata *out) {{ {reads} }}")
    lines.append("static void Stop(void) { EA = 0; TR1 = 0; T2CON &= 0xFB; }")
    lines.append("void Done(void) {}")
    lines.append("void main(void)\n{")
    lines.append(f"\tunsigned char i;\n\tfor (i = 0; i < {len(cases)}; i++)\n\t\tflags[i] = 0;")
    row = 0
    for index, case in enumerate(cases):
        stem = case["stem"]
        for preset in presets_of(case):
            lines.append(f"\tPreset{preset}(); C_{stem}(); Record(results[{row}]); Stop();")
            lines.append(f"\tPreset{preset}(); {case['init'][1:]}_{stem}(); Record(results[{row}] + {len(NAMES)});"
                         " Stop();")
            row += 1
        memory = MEMORY_PORTS.get(port(case))
        if memory:
            control, data = memory
            send, receive = f"{case['send'][1:]}_{stem}", f"{case['receive'][1:]}_{stem}"
            lines.append(f"\t{{ __sfr __at (0x{control:02X}) CTRL; __sfr __at (0x{data:02X}) BUF;")
            lines.append(f"\tCTRL = 0x01; BUF = 0x5A; if ({receive}() != 0x5A || (CTRL & 0x01)) flags[{index}] |= 1;")
            lines.append(f"\tCTRL = 0x03; {send}(0x33); if (BUF != 0x33 || CTRL != 0x01) flags[{index}] |= 2; }}")
    lines.append("\tDone();\n\twhile (1) {\n\t}\n}")
    return "\n".join(lines) + "\n", rows


def registers_problems(tools, work, cases):
    """The C and assembly init of each case, and the memory ports' flags."""
    for case in cases:
        sdas = (work / f"{case['stem']}_sdas.asm").read_text(encoding="latin-1")
        (work / f"{case['stem']}_sim.asm").write_text(renamed(sdas, case), encoding="latin-1", newline="")
    with ThreadPoolExecutor(max_workers=2) as pool:
        outputs = list(pool.map(lambda c: run([tools["sdas"], "-losg", f"{c['stem']}_sim.asm"], work), cases))
    failed = [f"{case['stem']}_sim.asm: {output[:300]}" for case, (status, output) in zip(cases, outputs) if status]
    if failed:
        return failed
    program, rows = harness(cases)
    # Each memory port's check declares its own CTRL and BUF in a block.
    (work / "asm_main.c").write_text(program, encoding="ascii")
    objects = [f"{case['stem']}_sim.rel" for case in cases]
    status, output = run([tools["sdcc"], "-mmcs51", "--Werror", "asm_main.c", *objects], work, timeout=120)
    if status != 0:
        return [f"asm_main.c does not build: {output[:2000]}"]
    symbols = (work / "asm_main.map").read_text(errors="replace")
    done = int(re.search(r"C:\s+([0-9A-F]{8})\s+_Done\b", symbols).group(1), 16)
    size = rows * 2 * len(NAMES)
    commands = ['load "asm_main.ihx"', f"break 0x{done:04x}", "run",
                f"dump xram 0x{RESULTS - 0x200:04x} 0x{RESULTS - 0x200 + len(cases) - 1:04x}",
                f"dump xram 0x{RESULTS:04x} 0x{RESULTS + size - 1:04x}", "quit"]
    (work / "asm_main.cmd").write_text("\n".join(commands) + "\n", encoding="ascii")
    status, output = run([tools["s51"], "-t", "8052", "-b", "-C", "asm_main.cmd"], work, timeout=120)
    memory = {}
    for address, data in re.findall(r"^0x([0-9a-f]{4})\s+((?:[0-9a-f]{2} )+)", output, re.MULTILINE):
        for offset, byte in enumerate(data.split()):
            memory[int(address, 16) + offset] = int(byte, 16)
    if len(memory) < size + len(cases):
        return [f"s51 gave {len(memory)} of {size + len(cases)} bytes: {output[-1500:]}"]
    problems = []
    row = 0
    for index, case in enumerate(cases):
        where = f"{case['target']} {case['crystal']} {case['baud']} clock {case['clockIndex']} SMOD={case['smod']}"
        for preset in presets_of(case):
            base = RESULTS + row * 2 * len(NAMES)
            c = [memory[base + i] for i in range(len(NAMES))]
            asm = [memory[base + len(NAMES) + i] for i in range(len(NAMES))]
            for name, left, right in zip(NAMES, c, asm):
                if name not in counting(case) and (left ^ right) & ~HARDWARE_BITS.get(name, 0) & 0xFF:
                    problems.append(f"{where} preset {preset}: {name} C 0x{left:02X}, assembly 0x{right:02X}")
            row += 1
        flags = memory[RESULTS - 0x200 + index]
        if flags & 1:
            problems.append(f"{where}: receive did not return the byte or clear the receive flag")
        if flags & 2:
            problems.append(f"{where}: send did not write the data register or clear the send flag")
    return problems


def line_problems(tools, work, case):
    """The driver on s51's UART: a text sent byte by byte."""
    target, core, crystal, baud = case
    sdas = cli_text(tools, ["--target", target, "--asm", "sdas", "--lf", str(crystal), str(baud)])
    if sdas is None:
        return [f"{target}: no assembly text at {crystal} Hz {baud} bps"]
    stem = f"line_{target}"
    (work / f"{stem}_drv.asm").write_text(sdas, encoding="latin-1", newline="")
    status, output = run([tools["sdas"], "-losg", f"{stem}_drv.asm"], work)
    if status:
        return [f"{target}: {output[:300]}"]
    # s51 counts Timer 1's overflows into the UART's clock even when Timer 2
    # drives it, and starts with random registers: Timer 1 is stopped.
    stop = "\tTR1 = 0;\n" if core == "8052" else ""
    text = "".join(f"\\x{byte:02x}" for byte in TEXT)
    program = ("#include <8051.h>\nvoid SIO_Init(void);\nvoid uart0_send(unsigned char c);\n"
               "unsigned char uart0_receive(void);\nvoid Done(void) {}\n"
               f'static const char text[] = "{text}";\n'
               "void main(void)\n{\n\tconst char *p;\n"
               f"{stop}\tSIO_Init();\n\tfor (p = text; *p; p++)\n\t\tuart0_send(*p);\n"
               "\tDone();\n\twhile (1) {\n\t}\n}\n")
    (work / f"{stem}.c").write_text(program, encoding="ascii")
    status, output = run([tools["sdcc"], "-mmcs51", "--Werror", f"{stem}.c", f"{stem}_drv.rel"], work)
    if status:
        return [f"{target}: {stem}.c does not build: {output[:600]}"]
    symbols = (work / f"{stem}.map").read_text(errors="replace")
    done = int(re.search(r"C:\s+([0-9A-F]{8})\s+_Done\b", symbols).group(1), 16)
    (work / f"{stem}.cmd").write_text(f'load "{stem}.ihx"\nbreak 0x{done:04x}\nrun\nquit\n', encoding="ascii")
    received = work / f"{stem}.out"
    received.unlink(missing_ok=True)
    status, output = run([tools["s51"], "-t", core, "-X", str(crystal), "-S",
                          f"out={stem}.out", "-C", f"{stem}.cmd"], work, timeout=20)
    sent = received.read_bytes() if received.exists() else b""
    if sent != TEXT:
        return [f"{target}: s51 received {sent!r}, not {TEXT!r}"]
    if not re.search(rf"^Stop at 0x0*{done:x}:", output, re.MULTILINE | re.IGNORECASE):
        return [f"{target}: the program did not reach its end: {output[-600:]}"]
    return []


# The frames whose ninth bit send and receive pass, on the 8051's own UART
# (t1-12t, s51 -t 8051) and on a port that is not bit-addressable (the STC
# UART2, memory in s51 -t 8052): send must put the right ninth bit in TB8
# before each byte, receive must compare RB8 with what the byte needs and
# return the difference (or the ninth data bit) in bit 8.
FRAMES = ("8E1", "8O1", "8M1", "8S1", "8N2", "9N1")
FRAME_BYTES = (0x00, 0x01, 0x03, 0x55, 0x7F, 0x80, 0xFE, 0xFF)
FRAME_NINTH = (1, 0, 0, 1, 1, 0, 1, 0)  # 9N1's ninth bits; RB8 given to receive when it is right or wrong
FRAME_RESULTS = 0x1000


def ninth_bit(frame, byte, ninth):
    """The bit the frame sends after the byte (the ninth data bit for 9N1)."""
    ones = bin(byte).count("1") % 2
    return {"E": ones, "O": 1 - ones, "M": 1, "S": 0, "N": ninth if frame == "9N1" else 1}[frame[1]]


def frame_expected(frame):
    """TB8 after each send, and what receive returns for each byte given RB8."""
    tb8 = [ninth_bit(frame, b, n) for b, n in zip(FRAME_BYTES, FRAME_NINTH)]
    # receive gets the right ninth bit for even indexes, the wrong one for odd ones (9N1: the bits above)
    rb8 = [n if frame == "9N1" else bit ^ (i % 2) for i, (bit, n) in enumerate(zip(tb8, FRAME_NINTH))]
    got = [b | (r << 8 if frame == "9N1" else (i % 2) << 8) for i, (b, r) in enumerate(zip(FRAME_BYTES, rb8))]
    return tb8, rb8, got


def frame_program(frame, prefix, memory):
    """The C program that sends and receives the frame's bytes through the assembly driver."""
    count = len(FRAME_BYTES)
    tb8, rb8, _ = frame_expected(frame)
    sent = [b | (n << 8 if frame == "9N1" else 0) for b, n in zip(FRAME_BYTES, FRAME_NINTH)]
    argument = "unsigned int" if frame == "9N1" else "unsigned char"
    lines = ["#include <8051.h>", f"void {prefix}_send({argument} c);", f"unsigned int {prefix}_receive(void);",
             "void SIO_Init(void);",
             f"__xdata __at (0x{FRAME_RESULTS:04X}) unsigned char tb8[{count}];",
             f"__xdata __at (0x{FRAME_RESULTS + 0x10:04X}) unsigned int got[{count}];",
             f"__xdata __at (0x{FRAME_RESULTS + 0x30:04X}) unsigned char flags[{count}];",
             f"static const unsigned int sent[] = {{{', '.join(map(str, sent))}}};",
             f"static const unsigned char rb8[] = {{{', '.join(map(str, rb8))}}};",
             f"static const unsigned char tb8Wrong[] = {{{', '.join(str(1 - t) for t in tb8)}}};",
             "void Done(void) {}", "void main(void)\n{", "\tunsigned char i;"]
    if memory:
        # S2CON and S2BUF are memory: the flags are set as the UART would,
        # TB8 starts at the wrong value so that send must change it.
        lines += ["\t{ __sfr __at (0x9A) CTRL; __sfr __at (0x9B) BUF;",
                  f"\tfor (i = 0; i < {count}; i++) {{",
                  "\t\tCTRL = 0x01 | (rb8[i] << 2); BUF = sent[i] & 0xFF;",
                  f"\t\tgot[i] = {prefix}_receive(); flags[i] = CTRL & 0x01;",
                  "\t\tCTRL = 0x02 | (tb8Wrong[i] << 3);",
                  f"\t\t{prefix}_send(sent[i]); tb8[i] = (CTRL >> 3) & 1;",
                  "\t\tif (BUF != (sent[i] & 0xFF) || (CTRL & 0x02)) flags[i] |= 2;", "\t} }"]
    else:
        # s51 feeds the bytes to the receiver; RB8 is set as each byte came
        # with the given ninth bit, before receive reads it.
        lines += ["\tSIO_Init();", f"\tfor (i = 0; i < {count}; i++) {{",
                  "\t\twhile (!RI)\n\t\t\t;", "\t\tRB8 = rb8[i];",
                  f"\t\tgot[i] = {prefix}_receive(); flags[i] = RI;", "\t}",
                  f"\tfor (i = 0; i < {count}; i++) {{", "\t\tTB8 = tb8Wrong[i];",
                  f"\t\t{prefix}_send(sent[i]); tb8[i] = TB8;", "\t}"]
    lines += ["\tDone();", "\twhile (1) {\n\t}", "}"]
    return "\n".join(lines) + "\n"


def frame_problems(tools, work, frame):
    """One frame's send and receive on both ports."""
    problems = []
    for target, arguments, prefix, core, memory in (
            ("t1-12t", ["--target", "t1-12t", "11059200", "1200"], "uart0", "8051", False),
            ("stc8 UART2", ["--target", "stc8", "--uart", "2:9600", "22.1184MHz"], "uart2", "8052", True)):
        where = f"{frame} {target}"
        stem = f"frame_{frame}_{prefix}"
        pair = [cli_text(tools, [*arguments, "--frame", frame, "--asm", syntax, "--lf"])
                for syntax in ("a51", "sdas")]
        if None in pair:
            problems.append(f"{where}: no assembly text")
            continue
        found = assemble(tools, work, stem, *pair)
        if found:
            problems += found
            continue
        (work / f"{stem}.c").write_text(frame_program(frame, prefix, memory), encoding="ascii")
        status, output = run([tools["sdcc"], "-mmcs51", "--Werror", f"{stem}.c", f"{stem}_sdas.rel"], work)
        if status:
            problems.append(f"{where}: {stem}.c does not build: {output[:600]}")
            continue
        symbols = (work / f"{stem}.map").read_text(errors="replace")
        done = int(re.search(r"C:\s+([0-9A-F]{8})\s+_Done\b", symbols).group(1), 16)
        received = work / f"{stem}.out"
        received.unlink(missing_ok=True)
        (work / f"{stem}.in").write_bytes(bytes(FRAME_BYTES))
        count = len(FRAME_BYTES)
        commands = ["expr uart0_check_often=1", f'load "{stem}.ihx"', f"break 0x{done:04x}", "run",
                    f"dump xram 0x{FRAME_RESULTS:04x} 0x{FRAME_RESULTS + 0x30 + count - 1:04x}", "quit"]
        (work / f"{stem}.cmd").write_text("\n".join(commands) + "\n", encoding="ascii")
        serial = ["-S", f"in={stem}.in,out={stem}.out"] if not memory else []
        status, output = run([tools["s51"], "-t", core, "-X", "11059200", *serial, "-C", f"{stem}.cmd"], work,
                             timeout=60)
        memory_bytes = {}
        for address, data in re.findall(r"^0x([0-9a-f]{4})\s+((?:[0-9a-f]{2} )+)", output, re.MULTILINE):
            for offset, byte in enumerate(data.split()):
                memory_bytes[int(address, 16) + offset] = int(byte, 16)
        base = FRAME_RESULTS
        if len(memory_bytes) < 0x30 + count:
            problems.append(f"{where}: the program did not finish: {output[-600:]}")
            continue
        tb8, _, got = frame_expected(frame)
        for i, byte in enumerate(FRAME_BYTES):
            sent_tb8 = memory_bytes[base + i]
            value = memory_bytes[base + 0x10 + 2 * i] | memory_bytes[base + 0x11 + 2 * i] << 8
            flags = memory_bytes[base + 0x30 + i]
            if sent_tb8 != tb8[i]:
                problems.append(f"{where}: byte 0x{byte:02X} sent with TB8={sent_tb8}, not {tb8[i]}")
            if value != got[i]:
                problems.append(f"{where}: receive of 0x{byte:02X} returned 0x{value:03X}, not 0x{got[i]:03X}")
            if flags:
                problems.append(f"{where}: byte 0x{byte:02X}: a flag left set (receive 1, send 2): {flags}")
        if not memory:
            line = received.read_bytes() if received.exists() else b""
            if line != bytes(FRAME_BYTES):
                problems.append(f"{where}: s51's UART sent {line!r}, not {bytes(FRAME_BYTES)!r}")
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--sdcc", required=True)
    parser.add_argument("--s51", required=True)
    parser.add_argument("--as31", required=True)
    parser.add_argument("--cli", required=True)
    parser.add_argument("--work", required=True, type=Path)
    parser.add_argument("case_writer")
    options = parser.parse_args()

    started = time.monotonic()
    work = options.work
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    sdas = Path(options.sdcc).with_name("sdas8051") if "/" in options.sdcc else "sdas8051"
    tools = {"sdcc": options.sdcc, "s51": options.s51, "as31": options.as31, "cli": options.cli, "sdas": str(sdas)}
    subprocess.run([options.case_writer, str(work)], check=True)
    cases = [json.loads(line) for line in (work / "asm_cases.jsonl").read_text(encoding="ascii").splitlines()]
    problems = []
    texts = [(case["stem"], (work / f"{case['stem']}_a51.asm").read_text(encoding="latin-1"),
              (work / f"{case['stem']}_sdas.asm").read_text(encoding="latin-1")) for case in cases]
    # Each plan also in a frame of mode 3, and the Silicon Labs UART0, whose
    # ninth bits the 8051's headers do not name: the texts must assemble.
    framed = [(f"plan_{number}", ["--target", family, *[a for uart in uarts for a in ("--uart", uart)], crystal],
               frame) for number, ((family, crystal, uarts), frame) in enumerate(zip(PLANS, FRAMES))]
    framed.append(("silabs", ["--target", "silabs-t1", "24.5MHz", "115200"], "8O1"))
    for stem, arguments, frame in framed:
        for suffix, extra in (("", []), (f"_{frame}", ["--frame", frame])):
            if not suffix and stem == "silabs":
                continue
            pair = [cli_text(tools, [*arguments, *extra, "--asm", syntax]) for syntax in ("a51", "sdas")]
            if None in pair:
                problems.append(f"{' '.join(arguments + extra)}: no assembly text")
            else:
                texts.append((stem + suffix, *pair))
    with ThreadPoolExecutor(max_workers=2) as pool:
        for found in pool.map(lambda text: assemble(tools, work, *text), texts):
            problems += found
    if not problems:
        problems += registers_problems(tools, work, cases)
        with ThreadPoolExecutor(max_workers=2) as pool:
            for found in pool.map(lambda case: line_problems(tools, work, case), LINES):
                problems += found
            for found in pool.map(lambda frame: frame_problems(tools, work, frame), FRAMES):
                problems += found
    targets = sorted({case["target"] for case in cases})
    listing = subprocess.run([options.cli, "--list-targets", "--json"], capture_output=True, check=True).stdout
    missing = [t["name"] for t in json.loads(listing)["targets"] if t["name"] not in targets]
    if missing:
        problems.append(f"no assembly case for {', '.join(missing)}: --asm must cover them or refuse them")
    print(f"{len(texts)} texts assembled by as31 and sdas8051 ({len(cases)} cases of {len(targets)} targets, "
          f"{len(PLANS)} plans, with and without a frame); registers of C and assembly init compared; "
          f"{len(LINES)} drivers on s51's UART; "
          f"{len(FRAMES)} frames' ninth bit sent and checked; "
          f"{time.monotonic() - started:.1f} s")
    for problem in problems[:40]:
        print(problem)
    return 1 if problems or not cases else 0


if __name__ == "__main__":
    sys.exit(main())
