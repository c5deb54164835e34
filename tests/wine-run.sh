#!/usr/bin/env bash
# CTest's emulator for the cross-built test programs: runs PROGRAM under Wine
# in the session that tests/wine-session.sh set up, and hands back the
# program's exit code (wine passes it through).
#
#   tests/wine-run.sh PROGRAM [ARGS...]
#
# Outside a session it refuses: the program would otherwise run in whatever
# ~/.wine the caller has, with that prefix's registry and without a display
# we control.
# shellcheck disable=SC2317 # the clean-up function runs from a trap
set -euo pipefail

if [ -z "${VORNIX_WINE_SESSION:-}" ]; then
  echo "wine-run.sh: run the Windows tests through tests/wine-session.sh (e.g. tests/wine-session.sh test -- ctest --preset windows)" >&2
  exit 2
fi
if [ $# -lt 1 ]; then
  echo "usage: tests/wine-run.sh PROGRAM [ARGS...]" >&2
  exit 2
fi

# Wine hands a program's Unix stdout and stderr on to helper processes it
# starts on the program's behalf, and those can outlive the program. CTest
# reads a test's output until every holder has closed it, so a test would
# "run" until the whole session ends. The program therefore writes into files
# of its own, which we stream to our caller until the program exits.
out="$(mktemp "${TMPDIR:-/tmp}/vornix-run.XXXXXX")"
err="$(mktemp "${TMPDIR:-/tmp}/vornix-run.XXXXXX")"
prog_pid=""
out_pid=""
err_pid=""
finish() {
  local rc=$?
  trap '' INT TERM HUP
  local pid
  for pid in "$prog_pid" "$out_pid" "$err_pid"; do
    if [ -n "$pid" ]; then
      kill -TERM "$pid" 2>/dev/null || true
    fi
  done
  rm -f -- "$out" "$err"
  exit "$rc"
}
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# Explicit <&0: a background job would otherwise read from /dev/null.
wine "$@" <&0 >"$out" 2>"$err" &
prog_pid=$!
# tail reads the files once more after the program is gone, so nothing
# written at the very end is lost.
tail -q -n +1 -s 0.05 -f --pid="$prog_pid" "$out" &
out_pid=$!
tail -q -n +1 -s 0.05 -f --pid="$prog_pid" "$err" >&2 &
err_pid=$!

rc=0
wait "$prog_pid" || rc=$?
prog_pid=""
wait "$out_pid" || true
wait "$err_pid" || true
out_pid=""
err_pid=""
exit "$rc"
