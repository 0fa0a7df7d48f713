#!/usr/bin/env bash
# Builds both trees (Linux and the Windows cross build) and runs every test;
# the Windows tests run under Wine. The WebAssembly build's page runs in
# headless Chromium against the Linux tesmirol-cli. Then the checking builds: the unit tests
# under AddressSanitizer and UndefinedBehaviorSanitizer, each fuzz target for
# half a minute (scripts/fuzz.sh alone runs them a minute), and the static
# checks. Installs missing Debian packages first.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

./scripts/install-deps.sh

# wasm comes after native, whose tesmirol-cli its browser tests compare the
# page with, and before win64, whose release zip carries the page.
# Each phase says how long it took, so a slow phase shows in CI's log.
phase_started=$SECONDS
phase() {
  echo "== $1 (previous phase: $((SECONDS - phase_started)) s, total: $SECONDS s)"
  phase_started=$SECONDS
}

for preset in native wasm win64 asan; do
  phase "$preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  phase "$preset: test"
  ctest --preset "$preset"
done

phase "fuzz"
./scripts/fuzz.sh 30

phase "lint"
./scripts/lint.sh
phase "done"
