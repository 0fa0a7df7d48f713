#!/usr/bin/env bash
# Builds the page (the wasm preset: the engine and the generator compiled to
# WebAssembly, and the page's files in build/wasm/web/page) and serves it on
# 127.0.0.1, printing the address. Any static host serves the same folder;
# the page also works opened straight from disk.
#
#   scripts/web.sh [PORT]      (default 8051)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

port=${1:-8051}
./scripts/install-deps.sh
cmake --preset wasm >/dev/null
cmake --build --preset wasm --target tesmirol_page
page=$PWD/build/wasm/web/page
echo "web: the page's files are in $page"
echo "web: serving http://127.0.0.1:$port/ (Ctrl+C stops)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$page"
