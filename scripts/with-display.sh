#!/usr/bin/env bash
# Runs a command on a display of its own: starts an Xvfb on a free display
# number, exports DISPLAY, runs the command and stops the Xvfb afterwards.
#
#   scripts/with-display.sh [--size WIDTHxHEIGHTxDEPTH] command [arguments...]
#
# Exits with the command's status. When Xvfb is missing or will not start it
# says so and exits with 77, the status that CTest reports as a skipped test
# (the end-to-end tests set SKIP_RETURN_CODE 77). A command that only lists a
# test program's tests (--gtest_list_tests) needs no display and runs as it
# is, so that CTest can discover the tests on any machine.
set -euo pipefail

size=1280x1024x24
if [ "${1:-}" = "--size" ]; then
  size=$2
  shift 2
fi
if [ $# -eq 0 ]; then
  echo "usage: with-display.sh [--size WIDTHxHEIGHTxDEPTH] command [arguments...]" >&2
  exit 2
fi

for argument in "$@"; do
  if [ "$argument" = "--gtest_list_tests" ]; then
    exec "$@"
  fi
done

skip() {
  echo "with-display: $1; skipping what needs a display" >&2
  exit 77
}

command -v Xvfb >/dev/null || skip "Xvfb is not installed (scripts/install-deps.sh installs it)"

workdir=$(mktemp -d "${TMPDIR:-/tmp}/with-display.XXXXXX")
xvfb_pid=
command_pid=

stop_all() {
  if [ -n "$command_pid" ]; then
    kill "$command_pid" 2>/dev/null || true
    wait "$command_pid" 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$workdir"
}
trap stop_all EXIT
trap 'exit 143' TERM
trap 'exit 130' INT

# Starts Xvfb on display $1 and waits until it accepts connections; Xvfb
# writes the display number to descriptor 3 at that moment. Fails when the
# number is taken (another server won the race) or Xvfb does not come up.
start_xvfb() {
  local number=$1 ready="$workdir/ready"
  : >"$ready"
  Xvfb ":$number" -displayfd 3 -screen 0 "$size" -nolisten tcp 3>"$ready" 2>"$workdir/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 100); do
    if [ -s "$ready" ]; then
      return 0
    fi
    if ! kill -0 "$xvfb_pid" 2>/dev/null; then
      wait "$xvfb_pid" 2>/dev/null || true
      xvfb_pid=
      return 1
    fi
    sleep 0.1
  done
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=
  return 1
}

# Display numbers from 90 up (:77 and below are left to people's own
# sessions), skipping any number with a server's lock file or socket.
display=
for number in $(seq 90 189); do
  if [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ]; then
    continue
  fi
  if start_xvfb "$number"; then
    display=":$number"
    break
  fi
done
if [ -z "$display" ]; then
  echo "with-display: Xvfb said:" >&2
  cat "$workdir/xvfb.log" >&2 || true
  skip "Xvfb did not start on any display from :90 to :189"
fi

export DISPLAY=$display
"$@" &
command_pid=$!
status=0
wait "$command_pid" || status=$?
command_pid=
exit "$status"
