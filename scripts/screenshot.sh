#!/usr/bin/env bash
# Takes the README's screenshot: the dialog as it looks at start-up, under
# Wine on a virtual X display, cropped to the dialog with its caption.
#
#   scripts/screenshot.sh [output.png]        (default docs/screenshot.png)
#
# Builds the Windows tree first (build/win64, or $TESMIROL_BUILD_DIR
# configured from the win64 preset). The dialog runs in a Wine virtual desktop
# of 1024 x 900 pixels, which draws the window's caption and frame; Xvfb
# itself has no window manager to draw them.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
build=${TESMIROL_BUILD_DIR:-$root/build/win64}
output=${1:-$root/docs/screenshot.png}
case "$output" in /*) ;; *) output="$PWD/$output" ;; esac

if [ "${TESMIROL_SCREENSHOT_ON_DISPLAY:-}" != 1 ]; then
  "$here/install-deps.sh"
  cd "$root"
  if [ "$build" = "$root/build/win64" ]; then
    cmake --preset win64 >/dev/null
    cmake --build --preset win64 --target Tesmirol desktop_dialog
  else
    cmake --preset win64 -B "$build" >/dev/null
    cmake --build "$build" -j2 --target Tesmirol desktop_dialog
  fi
  command -v import >/dev/null || { echo "screenshot: ImageMagick is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }
  mkdir -p "$(dirname "$output")"
  TESMIROL_SCREENSHOT_ON_DISPLAY=1 exec "$here/with-display.sh" --size 1280x1024x24 "$0" "$output"
fi

# From here on, on the display that with-display.sh started.
wine_run=$here/wine-run.sh
helper=$build/tests/e2e/desktop_dialog.exe
desktop=tesmirol-shot-$$
program=$("$wine_run" winepath -w "$build/ui/Tesmirol.EXE" | tr -d '\r')

"$wine_run" explorer "/desktop=$desktop,1024x900" "$program" &
explorer_pid=$!
stop_explorer() {
  kill "$explorer_pid" 2>/dev/null || true
  wait "$explorer_pid" 2>/dev/null || true
}

if ! rect=$("$wine_run" "$helper" wait "$desktop" 60 | tr -d '\r'); then
  echo "screenshot: the dialog did not appear" >&2
  stop_explorer
  exit 1
fi
read -r left top right bottom <<<"$rect"
# The dialog has painted; give the X server a moment to show the last of it.
sleep 0.5
import -window "$desktop - Wine desktop" \
  -crop "$((right - left))x$((bottom - top))+$left+$top" +repage \
  -define png:exclude-chunk=date,time "$output"

# Closing the dialog ends the program, and with it the virtual desktop.
"$wine_run" "$helper" close "$desktop" || true
for _ in $(seq 50); do
  kill -0 "$explorer_pid" 2>/dev/null || break
  sleep 0.1
done
stop_explorer
echo "screenshot: wrote $output ($((right - left)) x $((bottom - top)) pixels)"
