#!/usr/bin/env bash
# Measures the wall time of the crystal finder over both preset lists
# (tesmirol-cli --table: every crystal preset against every rate preset, one
# process, start-up included), also solved exactly for one target
# (--target t1-12t), for a chip family (--target stc15, six generators and
# clocks a row), for one UART with a prescaler set (the N76E003's Timer 3,
# eight prescalers) and for a four-UART STC8 plan on every crystal, side by side with a process that only starts and exits
# (tesmirol-cli --version). Prints the medians and quartiles of
# many runs, of the wall time and of the processor time (user + system) the
# process used; on a busy machine the second shows the program's own cost.
# Builds the native tree first when needed.
#
# Usage: scripts/bench-table.sh [RUNS]   (default 200)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

runs=${1:-200}
cmake --preset native >/dev/null
cmake --build --preset native --target tesmirol-cli >/dev/null

python3 - "$runs" build/native/cli/tesmirol-cli <<'PY'
import resource
import statistics
import subprocess
import sys
import time

runs, cli = int(sys.argv[1]), sys.argv[2]
commands = {
    "start and exit (--version)": [cli, "--version"],
    "full table, text (--table)": [cli, "--table"],
    "full table, CSV": [cli, "--table", "--format", "csv"],
    "full table, JSON": [cli, "--table", "--format", "json"],
    "table, --target t1-12t": [cli, "--table", "--target", "t1-12t"],
    "table, --target stc15": [cli, "--table", "--target", "stc15"],
    "table, stc15, JSON": [cli, "--table", "--target", "stc15", "--format", "json"],
    "table, --target n76-t3-uart0 (8 prescalers)": [cli, "--table", "--target", "n76-t3-uart0"],
    "table, stc8 plan of 4 UARTs": [cli, "--table", "--target", "stc8", "--uart", "1:115200", "--uart", "2:9600",
                                    "--uart", "3:57600", "--uart", "4:38400"],
}
rows = subprocess.run([cli, "--table", "--format", "csv"], capture_output=True, check=True).stdout.count(b"\n") - 1
def ChildCpuSeconds():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


wall = {name: [] for name in commands}
cpu = {name: [] for name in commands}
for _ in range(runs):
    # Interleaved, so that a burst of load elsewhere hits every command alike.
    for name, command in commands.items():
        cpuBefore = ChildCpuSeconds()
        start = time.perf_counter()
        subprocess.run(command, stdout=subprocess.DEVNULL, check=True)
        wall[name].append((time.perf_counter() - start) * 1000.0)
        cpu[name].append((ChildCpuSeconds() - cpuBefore) * 1000.0)


def Summary(values):
    q1, median, q3 = statistics.quantiles(values, n=4)
    return f"{median:7.2f} [{q1:6.2f} .. {q3:6.2f}]"


with open("/proc/loadavg", encoding="ascii") as loadavg:
    load = loadavg.read().split()[0]
print(f"{rows} rows, {runs} runs each, load average {load}; milliseconds, median [quartiles]")
width = max(len(name) for name in commands)
print(f"  {'':<{width}} {'wall time':<25} processor time")
for name in commands:
    print(f"  {name:<{width}} {Summary(wall[name])}   {Summary(cpu[name])}")
PY
