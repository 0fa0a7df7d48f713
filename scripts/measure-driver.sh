#!/usr/bin/env bash
# Measures the interrupt-driven serial driver of tesmirol-cli --driver as
# SDCC builds it for the classic 8051 (t1-12t, 11.0592 MHz, 9600 bps):
# the machine cycles its interrupt routine takes per received byte and per
# sent byte, and the code, data and idata bytes of the driver's module.
#
# A small program receives three bytes (s51 feeds them to the UART), waits
# until all three are in the buffer, then sends them back. s51 leaves RB8
# alone in mode 1 (hardware writes the received stop bit there): the program
# sets it, as good frames would, and the console clears it for the last
# received byte, whose run then also counts a framing error. s51 stops at the
# routine's entry and at its RETI; the ticks between the two, over 12 (a
# 12-clock 8051), plus RETI's own 2 cycles are the routine's cycles. The
# interrupt's call and the LJMP at its vector add 4 cycles before the entry.
# The sizes are the areas of the driver's object file (uart0.rel): what the
# driver adds to a program, putchar and getchar included.
#
# Usage: scripts/measure-driver.sh [RX_SIZE TX_SIZE [idata|xdata]]   (default 16 16 idata)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

rx=${1:-16}
tx=${2:-16}
space=${3:-idata}
cmake --preset native >/dev/null
cmake --build --preset native --target tesmirol-cli >/dev/null

python3 - "$rx" "$tx" "$space" build/native/cli/tesmirol-cli <<'PY'
import re
import subprocess
import sys
import tempfile
from pathlib import Path

rx, tx, space, cli = sys.argv[1:]
RECEIVED = b"\x00\xffA"
PROGRAM = r"""#include <8051.h>
#include "uart0.h"
__xdata __at(0xFFFF) volatile unsigned char simif;
void main(void)
{
	unsigned char i;
	uart0_init();
	RB8 = 1;
	EA = 1;
	while (uart0_available() != %d)
	{
	}
	for (i = 0; i < %d; i++)
	{
		uart0_write((unsigned char)uart0_read());
	}
	uart0_flush();
	simif = 's';
	while (1)
	{
	}
}
""" % (len(RECEIVED), len(RECEIVED))


def sdcc(work, *arguments):
    subprocess.run(["sdcc", "-mmcs51", "--iram-size", "128", *arguments], cwd=work, check=True,
                   capture_output=True)


with tempfile.TemporaryDirectory(prefix="tesmirol_driver_") as name:
    work = Path(name)
    subprocess.run([cli, "--target", "t1-12t", "--driver", "--driver-dir", str(work), "--rx-size", rx,
                    "--tx-size", tx, "--buffers", space, "--lf", "11059200", "9600"], check=True)
    (work / "main.c").write_text(PROGRAM, encoding="ascii")
    sdcc(work, "-c", "uart0.c")
    sdcc(work, "main.c", "uart0.rel")
    areas = {m.group(1): int(m.group(2), 16)
             for m in re.finditer(r"^A (\w+) size ([0-9A-F]+)", (work / "uart0.rel").read_text(), re.MULTILINE)}
    listing = (work / "uart0.rst").read_text()
    entry = int(re.search(r"^\s+([0-9A-F]{6})\s+\d+ _uart0_isr:", listing, re.MULTILINE).group(1), 16)
    body = listing[listing.index("_uart0_isr:"):]
    leave = int(re.search(r"^\s+([0-9A-F]{6}) 32\s.*\breti\b", body, re.MULTILINE).group(1), 16)
    (work / "in.bin").write_bytes(RECEIVED)
    # 3 bytes in, then 3 out: the first goes from uart0_write on the idle
    # line, the next two from the routine, whose last run finds the queue empty
    runs = 2 * (len(RECEIVED) + len(RECEIVED))
    commands = (["expr uart0_check_often=1", f"break 0x{entry:04x}", f"break 0x{leave:04x}"] +
                ["run"] * (2 * len(RECEIVED) - 1) + ["expr RB8=0", "run", "expr RB8=1"] +
                ["run"] * (runs - 2 * len(RECEIVED)) + ["kill"])
    out = subprocess.run(["s51", "-t", "8051", "-X", "11059200", "-I", "if=xram[0xffff]", "-S", "in=in.bin",
                          "-S", "out=out.bin", "main.ihx"], cwd=work, input="\n".join(commands) + "\n",
                         capture_output=True, text=True, errors="replace", timeout=60).stdout
    stops = [int(s, 16) for s in re.findall(r"^Stop at 0x([0-9a-f]+)", out, re.MULTILINE)]
    ticks = [int(t) for t in re.findall(r"^Simulated (\d+) ticks", out, re.MULTILINE)]
    cycles = [ticks[i] // 12 + 2 for i in range(1, len(stops)) if stops[i] == leave and stops[i - 1] == entry]
    sent = (work / "out.bin").read_bytes() if (work / "out.bin").exists() else b""
    if len(cycles) != 2 * len(RECEIVED) or sent != RECEIVED:
        sys.exit(f"the measuring run went wrong: {len(cycles)} routine runs, sent {sent!r}\n{out[-1500:]}")

n = len(RECEIVED)
print(f"t1-12t interrupt driver, {rx}/{tx} byte buffers in {space}, classic 8051 (12 clocks a cycle)")
print(f"  interrupt routine, machine cycles from its entry to RETI (add 4 for the call and the vector's LJMP):")
print(f"    per received byte              {', '.join(map(str, cycles[:n - 1]))}")
print(f"    received with a framing error  {cycles[n - 1]}")
print(f"    per sent byte (next from queue) {', '.join(map(str, cycles[n:2 * n - 1]))}")
print(f"    last send, queue empty         {cycles[2 * n - 1]}")
print(f"  driver module: code {areas.get('CSEG', 0)} bytes, data {areas.get('DSEG', 0)}, "
      f"idata {areas.get('ISEG', 0)}, xdata {areas.get('XSEG', 0)}")
PY
