#!/usr/bin/env bash
# Takes docs/web-page.png, the browser page as headless Chromium draws it,
# opened from disk with a calculation in its URL: three UARTs of an STC8
# planned together at 22.1184 MHz, each UART's serial link to a CH340 checked.
#
#   scripts/web-screenshot.sh [output.png]
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
output=${1:-$root/docs/web-page.png}
case "$output" in /*) ;; *) output="$PWD/$output" ;; esac

"$here/install-deps.sh"
cd "$root"
cmake --preset wasm >/dev/null
cmake --build --preset wasm --target tesmirol_page >/dev/null

profile=$(mktemp -d "${TMPDIR:-/tmp}/web-screenshot.XXXXXX")
trap 'rm -rf "$profile"' EXIT
url="file://$root/build/wasm/web/page/index.html#crystal=22.1184MHz&baud=115200&target=stc8&uart=UART1&also=UART2:9600&also=UART3:57600&peer=ch340&tolerance=100ppm&frame=8N1"
# The virtual time budget lets the page load its module and show the result
# before the picture is taken.
chromium --headless --no-sandbox --disable-gpu --disable-background-networking --disable-component-update \
  --disable-sync --no-first-run --user-data-dir="$profile" --hide-scrollbars --force-device-scale-factor=1 \
  --window-size=900,1600 --virtual-time-budget=3000 --screenshot="$profile/shot.png" "$url" 2>/dev/null
mkdir -p "$(dirname "$output")"
convert "$profile/shot.png" -trim -bordercolor '#fafafa' -border 12 "$output"
echo "web-screenshot: $output"
