#!/usr/bin/env bash
# Builds the command-line companion natively and runs it with the given
# arguments (default: 11.0592MHz 9600).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

./scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native --target tesmirol-cli >/dev/null
exec build/native/cli/tesmirol-cli "$@"
