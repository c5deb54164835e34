#!/usr/bin/env bash
# CTest's emulator for the cross-built test programs: runs PROGRAM under Wine
# in the session tests/run-windows-tests.sh set up (never in a personal
# ~/.wine) and hands back its exit code.
#
# Wine hands a program's stdout and stderr on to helper processes that can
# outlive it, and CTest would read the output until they all end; so the
# program writes into files that are streamed until the program exits.
set -euo pipefail
[ -n "${VORNIX_WINE_SESSION:-}" ] || { echo "wine-run.sh: run through tests/run-windows-tests.sh" >&2; exit 2; }
out="$(mktemp)" err="$(mktemp)"
trap 'rm -f -- "$out" "$err"' EXIT
# The loader the session chose (scripts/wine-lib.sh: the 64-bit one, which
# hands a 32-bit program on to its 32-bit twin).
"${VX_WINE:-wine}" "$@" <&0 >"$out" 2>"$err" &
pid=$!
tail -q -n +1 -s 0.05 -f --pid="$pid" "$out" &
tail -q -n +1 -s 0.05 -f --pid="$pid" "$err" >&2 &
rc=0
wait "$pid" || rc=$?
wait
exit "$rc"
