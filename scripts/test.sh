#!/usr/bin/env bash
# Builds every tree and runs every test: the Linux build with AddressSanitizer
# and UndefinedBehaviorSanitizer runs the unit, command-line, SDCC and s51
# tests; the WebAssembly build's page runs in headless Chromium against that
# build's tesmirol-cli; the Windows cross build's tests run under Wine. Then
# each fuzz target for half a minute (scripts/fuzz.sh alone runs them a
# minute), and the static checks. Installs missing Debian packages first.
#
# The release builds' optimised code is tested where it ships: the Windows
# build (the dialog and tesmirol-cli.exe) under Wine, and the page's module.
# The Linux tests run once, on the checked build, which finds everything the
# unchecked one would and reports memory and undefined-behaviour faults besides.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

./scripts/install-deps.sh

# Each phase says how long it took, so a slow phase shows in CI's log.
phase_started=$SECONDS
phase() {
  echo "== $1 (previous phase: $((SECONDS - phase_started)) s, total: $SECONDS s)"
  phase_started=$SECONDS
}

# Wine makes its prefix on first use, which takes half a minute; it is made
# beside the Linux build, so the Windows tests find it ready. A test that
# starts while it is still being made waits for it (scripts/wine-run.sh).
./scripts/wine-run.sh cmd /c exit </dev/null >/dev/null 2>&1 &
prefix_maker=$!

phase "asan: configure and build"
cmake --preset asan >/dev/null
cmake --build --preset asan
phase "asan: test"
ctest --preset asan

# The page's tests compare it with the Linux tesmirol-cli of the build above.
phase "wasm: configure and build"
cmake --preset wasm -DTESMIROL_CLI="$PWD/build/asan/cli/tesmirol-cli" >/dev/null
cmake --build --preset wasm
phase "wasm: test"
ctest --preset wasm

wait "$prefix_maker" || echo "== the Wine prefix was not made ahead; the first Windows test makes it"
phase "win64: configure and build"
cmake --preset win64 >/dev/null
cmake --build --preset win64
phase "win64: test"
ctest --preset win64

phase "fuzz"
./scripts/fuzz.sh 30

phase "lint"
./scripts/lint.sh
phase "done"
