#!/usr/bin/env bash
# Builds both trees (Linux and the Windows cross build) and runs every test;
# the Windows tests run under Wine. The WebAssembly build's page runs in
# headless Chromium against the Linux tesmirol-cli. Then the checking builds: the unit tests
# under AddressSanitizer and UndefinedBehaviorSanitizer, each fuzz target for
# half a minute (scripts/fuzz.sh alone runs them a minute), and the static
# checks. Installs missing Debian packages first.
#
# The static checks need no test's result, only the builds' compile
# databases, and the Windows tests under Wine leave a core and more idle
# (they wait for the dialog): so the checks start, at a lower priority,
# beside those tests and go on beside the later phases; the last phase
# waits for them and prints what they found.
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

lint_log=$(mktemp)
lint_pid=
# The checks run in a session of their own, so that a failing phase ends
# every process of theirs.
trap '[ -z "$lint_pid" ] || kill -- -"$lint_pid" 2>/dev/null; rm -f "$lint_log"' EXIT

# The fuzz build's tree configured and its generated header made in the
# foreground, so that the static checks, which read its compile database,
# never build in the tree the fuzz phase builds in.
StartLint() {
  cmake --preset fuzz -DTESMIROL_FUZZ_SECONDS=30 >/dev/null
  cmake --build build/fuzz --target tesmirol_engine >/dev/null
  setsid nice -n 15 ./scripts/lint.sh >"$lint_log" 2>&1 &
  lint_pid=$!
}

for preset in native wasm win64 asan; do
  phase "$preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  if [ "$preset" = win64 ]; then
    StartLint
  fi
  phase "$preset: test"
  ctest --preset "$preset"
done

phase "fuzz"
./scripts/fuzz.sh 30

phase "lint (started beside the Windows tests)"
lint_status=0
wait "$lint_pid" || lint_status=$?
lint_pid=
cat "$lint_log"
if [ "$lint_status" -ne 0 ]; then
  echo "== lint: the static checks found problems (status $lint_status)"
  exit "$lint_status"
fi
phase "done"
