#!/usr/bin/env bash
# Takes a picture of one page of the compiled manual as a browser renders it:
# the page is read back out of build/native/docs/manual/QuelvanHelp.chm (so
# it shows the GBK text and the style sheet that the program carries), and
# headless Chromium draws it.
#
#   scripts/manual-screenshot.sh [page.html [output.png]]
#                                 (default formula.html, docs/manual-page.png)
#
# Chromium is not one of the build's packages; the script installs Debian's
# when it is missing (as root).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
page=${1:-formula.html}
output=${2:-$root/docs/manual-page.png}
case "$output" in /*) ;; *) output="$PWD/$output" ;; esac

"$here/install-deps.sh"
if ! command -v chromium >/dev/null; then
  echo "manual-screenshot: installing Debian's chromium"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq chromium
fi

cd "$root"
cmake --preset native >/dev/null
cmake --build --preset native --target tesmirol_manual
chm=$root/build/native/docs/manual/QuelvanHelp.chm

workdir=$(mktemp -d "${TMPDIR:-/tmp}/manual-screenshot.XXXXXX")
trap 'rm -rf "$workdir"' EXIT
extract_chmLib "$chm" "$workdir/pages" >/dev/null
[ -f "$workdir/pages/$page" ] || { echo "manual-screenshot: the manual has no page $page" >&2; exit 1; }

# As wide as a help viewer's topic pane, and tall enough for the whole page.
chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --force-device-scale-factor=1 \
  --window-size=820,2400 --screenshot="$workdir/shot.png" "file://$workdir/pages/$page" 2>/dev/null
mkdir -p "$(dirname "$output")"
# Trim the empty space below the page.
convert "$workdir/shot.png" -trim -bordercolor white -border 12 "$output"
echo "manual-screenshot: $output"
