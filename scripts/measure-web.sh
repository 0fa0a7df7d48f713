#!/usr/bin/env bash
# Measures the page in headless Chromium: input event to every result shown
# (median), page load to the first full result from a local server (median)
# and the size of the page's files. Builds the page and tesmirol-cli first.
#
#   scripts/measure-web.sh [LOADS [ROUNDS]]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

./scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native --target tesmirol-cli >/dev/null
cmake --preset wasm >/dev/null
cmake --build --preset wasm >/dev/null
export TESMIROL_PAGE_DIR=$PWD/build/wasm/web/page
export TESMIROL_CLI=$PWD/build/native/cli/tesmirol-cli
export TESMIROL_NODE_MODULES=$PWD/build/wasm/web/web-tests/node_modules
exec node tests/web/measure.js "$@"
