#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan and UBSan) and runs each for
# the given number of seconds, 60 by default, two at a time. The corpus each
# target learns stays in build/fuzz/tests/fuzz/corpus/, so repeated runs go
# deeper; inputs that break an invariant land in build/fuzz/tests/fuzz/artifacts/.
#   scripts/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

seconds=${1:-60}
cmake --preset fuzz -DTESMIROL_FUZZ_SECONDS="$seconds" >/dev/null
cmake --build --preset fuzz

rm -f build/fuzz/tests/fuzz/artifacts/*
status=0
ctest --preset fuzz || status=$?

# Executions per target, from libFuzzer's final statistics in CTest's log.
log=build/fuzz/Testing/Temporary/LastTest.log
echo "== fuzz: executions in ${seconds} s per target"
awk '/^[0-9]+\/[0-9]+ Test: / { name = $3 }
     /stat::number_of_executed_units:/ { printf "%-22s %s\n", name, $2 }' "$log"
if compgen -G "build/fuzz/tests/fuzz/artifacts/*" >/dev/null; then
  echo "== fuzz: inputs that broke an invariant"
  ls -1 build/fuzz/tests/fuzz/artifacts/
fi
exit $status
