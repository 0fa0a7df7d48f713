#!/usr/bin/env bash
# Measures the dialog under Wine on a virtual X display and prints the
# figures (nothing is asserted):
#  - from a keystroke in the crystal box until all five result labels and the
#    output box are updated, and until they are repainted: median and p95,
#    for keystrokes that turn the output box from the warning to the code and
#    back (the figure we hold), then for keystrokes that change only the
#    code's description line;
#  - from start-up until the dialog is shown and idle, for Tesmirol.EXE, for
#    a minimal dialog program built the same way, and for that program showing
#    Tesmirol's dialog template with no program code behind it, started in
#    turn in one run; and the ratios of the medians.
#
#   scripts/measure-dialog.sh [keystrokes (400)] [starts of each program (10)]
#
# Builds the Windows tree first (build/win64, or $TESMIROL_BUILD_DIR
# configured from the win64 preset).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
build=${TESMIROL_BUILD_DIR:-$root/build/win64}

"$here/install-deps.sh"
cd "$root"
targets=(Tesmirol minimal_dialog dialog_measure)
if [ "$build" = "$root/build/win64" ]; then
  cmake --preset win64 >/dev/null
  cmake --build --preset win64 --target "${targets[@]}" >/dev/null
else
  cmake --preset win64 -B "$build" >/dev/null
  cmake --build "$build" -j2 --target "${targets[@]}" >/dev/null
fi

exec "$here/with-display.sh" "$here/wine-run.sh" "$build/tests/e2e/dialog_measure.exe" \
  "$build/ui/Tesmirol.EXE" "$build/tests/e2e/minimal_dialog.exe" "$@"
