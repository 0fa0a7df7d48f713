#!/usr/bin/env bash
# A long soak of the dialog: random user actions on the real Tesmirol.EXE
# under Wine on a virtual X display, each followed by a comparison of every
# label, label colour and the output box with what the engine and the code
# generator give for the boxes' texts. Prints the seed, the actions made of
# each kind and every fault (at most five before it stops).
#
#   scripts/soak.sh [actions (5000)] [seed (8051)]
#
# A failing run is repeated exactly by giving the same actions and seed.
# Builds the Windows tree first (build/win64, or $TESMIROL_BUILD_DIR
# configured from the win64 preset).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
build=${TESMIROL_BUILD_DIR:-$root/build/win64}
actions=${1:-5000}
seed=${2:-8051}

"$here/install-deps.sh"
cd "$root"
targets=(Tesmirol soak_e2e_tests)
if [ "$build" = "$root/build/win64" ]; then
  cmake --preset win64 >/dev/null
  cmake --build --preset win64 --target "${targets[@]}" >/dev/null
else
  cmake --preset win64 -B "$build" >/dev/null
  cmake --build "$build" -j2 --target "${targets[@]}" >/dev/null
fi

export TESMIROL_EXE="$build/ui/Tesmirol.EXE"
export TESMIROL_SOAK_ACTIONS=$actions
export TESMIROL_SOAK_SEED=$seed
exec "$here/with-display.sh" "$here/wine-run.sh" "$build/tests/e2e/soak_e2e_tests.exe"
