#!/usr/bin/env bash
# Builds both trees (Linux and the Windows cross build) and runs every test;
# the Windows tests run under Wine. Then the checking builds: the unit tests
# under AddressSanitizer and UndefinedBehaviorSanitizer, each fuzz target for
# a minute, and the static checks. Installs missing Debian packages first.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

./scripts/install-deps.sh

for preset in native win64 asan; do
  echo "== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset: test"
  ctest --preset "$preset"
done

echo "== fuzz"
./scripts/fuzz.sh 60

echo "== lint"
./scripts/lint.sh
