#!/usr/bin/env bash
# Runs a command with two small file systems mounted for it, for the tests of
# writing the manual beside the executable:
#
#   TESMIROL_FULL_VOLUME      an empty 8 MiB tmpfs that the test fills up, so
#                             that writing the manual fails part way
#   TESMIROL_READONLY_VOLUME  a read-only tmpfs that holds a copy of
#                             $TESMIROL_EXE, where no file can be created
#
# Both are unmounted and removed afterwards. Mounting needs root with the
# right to mount (CAP_SYS_ADMIN); without it the variables stay unset and the
# tests that need them report themselves as skipped. A command that only
# lists a test program's tests runs as it is.
set -euo pipefail

for argument in "$@"; do
  if [ "$argument" = "--gtest_list_tests" ]; then
    exec "$@"
  fi
done

workdir=$(mktemp -d "${TMPDIR:-/tmp}/tesmirol-volumes.XXXXXX")
mounted=()

cleanup() {
  for point in "${mounted[@]}"; do
    umount "$point" 2>/dev/null || umount -l "$point" 2>/dev/null || true
  done
  rm -rf "$workdir"
}
trap cleanup EXIT

# Mounts a tmpfs of the given size at the given point; fails quietly.
mount_tmpfs() {
  mkdir -p "$2"
  mount -t tmpfs -o "size=$1,mode=0755" tesmirol-test "$2" 2>/dev/null || return 1
  mounted+=("$2")
}

if mount_tmpfs 8m "$workdir/full"; then
  export TESMIROL_FULL_VOLUME="$workdir/full"
else
  echo "with-scratch-volumes: cannot mount a tmpfs here; the tests that need one skip" >&2
fi

if [ -n "${TESMIROL_EXE:-}" ] && [ -f "$TESMIROL_EXE" ] && mount_tmpfs 16m "$workdir/readonly"; then
  cp "$TESMIROL_EXE" "$workdir/readonly/"
  if mount -o remount,ro "$workdir/readonly" 2>/dev/null; then
    export TESMIROL_READONLY_VOLUME="$workdir/readonly"
  fi
fi

status=0
"$@" || status=$?
exit "$status"
