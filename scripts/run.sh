#!/usr/bin/env bash
# Builds the Windows program and starts it: under Wine on Linux, with the
# dialog font mapped to an installed Chinese font (scripts/wine-run.sh sets up
# the project's own Wine prefix on first use).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

./scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Tesmirol

program=build/win64/ui/Tesmirol.EXE
if [ -z "${DISPLAY:-}" ]; then
  cat >&2 <<MESSAGE
run: there is no X display to show the dialog on (DISPLAY is not set).
     The program is built: $program
     Start it from a desktop session with:   scripts/wine-run.sh $program
     Take a picture of it without a screen: scripts/screenshot.sh
     Here is what the dialog shows at start-up, from the command-line companion:

MESSAGE
  exec ./scripts/cli.sh 11.0592MHz 9600
fi
exec ./scripts/wine-run.sh "$program"
