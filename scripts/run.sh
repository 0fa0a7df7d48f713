#!/usr/bin/env bash
# Builds the program and runs it on the default inputs (11.0592MHz, 9600).
# Extra arguments go to tesmirol-cli, for example: scripts/run.sh 12MHz 4800
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

./scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native --target tesmirol-cli
exec build/native/cli/tesmirol-cli "$@"
