#!/usr/bin/env bash
# Runs a Windows executable under Wine in the project's own prefix.
#
# The prefix is created on first use (default: build/wineprefix in the source
# tree, or $TESMIROL_WINEPREFIX): 64-bit, crash dialog off so that a crash
# fails a test instead of hanging it, no Mono or Gecko prompts, and the
# Chinese dialog font mapped to an installed CJK font.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")

export WINEPREFIX=${TESMIROL_WINEPREFIX:-$root/build/wineprefix}
export WINEARCH=win64
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
export WINEDEBUG=${WINEDEBUG:--all}

command -v wine >/dev/null || { echo "wine-run: wine is not installed (run scripts/install-deps.sh)" >&2; exit 127; }

prepare_prefix() {
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1 || true
  wineserver --wait || true
  local reg="$WINEPREFIX/tesmirol-settings.reg"
  # regedit reads CJK value names only from a UTF-16 file with a byte-order mark.
  {
    printf '\xff\xfe'
    iconv -f UTF-8 -t UTF-16LE <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"宋体"="WenQuanYi Zen Hei"
"SimSun"="WenQuanYi Zen Hei"
"新宋体"="WenQuanYi Zen Hei"
"NSimSun"="WenQuanYi Zen Hei"
REG
  } >"$reg"
  wine regedit /S "$reg" >/dev/null 2>&1
  wineserver --wait || true
  touch "$WINEPREFIX/.tesmirol-ready"
}

if [ ! -e "$WINEPREFIX/.tesmirol-ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock"
  flock 9
  [ -e "$WINEPREFIX/.tesmirol-ready" ] || prepare_prefix
  flock -u 9
  exec 9>&-
fi

# Keep one Wine server alive across the many short runs of a test session.
# A server that shuts down while the next program starts lets that program
# fail to start ("File not found") or hang; with it kept for a minute after
# its last program, back-to-back runs always meet a live server. Whoever
# starts the server also starts Wine's background services, with no terminal
# or pipe of ours: services started by a test program would hold that test's
# output open for as long as the server lives.
exec 8>"$WINEPREFIX.server.lock"
flock 8
if wineserver -p60 >/dev/null 2>&1; then
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
fi
flock -u 8
exec 8>&-

exec wine "$@"
