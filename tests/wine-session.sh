#!/usr/bin/env bash
# Runs one command inside a Wine test session of its own and returns the
# command's exit code:
#
#   tests/wine-session.sh NAME -- COMMAND [ARGS...]
#
# The session is a fresh prefix under build/wine/NAME-<pid> (so no test ever
# sees registry values or files left by an earlier run, and two sessions never
# share a wineserver), plus an Xvfb of its own when there is no usable display.
# Whatever happens - success, failure, Ctrl-C, SIGTERM - the session ends its
# wineserver, stops the Xvfb it started and deletes the prefix.
#
# The command sees WINEPREFIX, DISPLAY, WINEDLLOVERRIDES, WINEDEBUG and
# VORNIX_WINE_SESSION=1; tests/wine-run.sh (CTest's emulator) insists on the
# last one so that no Windows test runs in somebody's personal ~/.wine.
# shellcheck disable=SC2317 # the clean-up functions run from traps
set -euo pipefail

usage() {
  echo "usage: tests/wine-session.sh NAME -- COMMAND [ARGS...]" >&2
  exit 2
}
if [ $# -lt 3 ] || [ "$2" != "--" ]; then
  usage
fi
name="$1"
shift 2
# The name becomes part of a path we later delete: keep it a plain word.
[[ "$name" =~ ^[A-Za-z0-9._-]+$ ]] || usage

VX_TAG="wine-session"
# shellcheck source=tests/wine-lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine-lib.sh"

session_start="$(vx_now)"
session_epoch="$(date +%s)"
prefix="$VX_BUILD/wine/$name-$$"
screens="$VX_BUILD/windows/test-screens"
cmd_pgid=""
boot_pid=""
keeper_pid=""

report_screens() {
  local all fresh
  [ -d "$screens" ] || return 0
  all="$(find "$screens" -type f | wc -l)"
  [ "$all" -gt 0 ] || return 0
  fresh="$(find "$screens" -type f -newermt "@$session_epoch" | wc -l)"
  vx_say "screenshots of failing UI tests ($fresh from this run, $all in all): $screens"
}

on_exit() {
  local rc=$?
  # A second Ctrl-C must not cut the clean-up short and leave a wineserver.
  trap '' INT TERM HUP
  trap - EXIT
  if [ -n "$boot_pid" ]; then
    vx_kill_pid "$boot_pid"
  fi
  # The command first: it runs in a process group of its own, and anything it
  # left behind (a test runner between two tests, a fixture server) goes with
  # it. Ended after Wine instead, a test runner would start the next test and
  # with it a new wineserver for a prefix that is about to be deleted.
  if [ -n "$cmd_pgid" ]; then
    vx_kill_pid "-$cmd_pgid"
  fi
  # Then every Wine process of the prefix, through its server.
  vx_stop_wineserver "$prefix"
  if [ -n "$keeper_pid" ]; then
    vx_kill_pid "$keeper_pid"
  fi
  vx_xvfb_stop
  case "$prefix" in
    "$VX_BUILD/wine/$name-$$") rm -rf -- "$prefix" "$prefix.wineboot.log" ;;
  esac
  report_screens
  vx_say "$name finished in $(vx_elapsed "$session_start") s, exit code $rc"
  exit "$rc"
}
on_signal() {
  vx_say "$name: caught SIG$1, cleaning up"
  exit "$2"
}
trap on_exit EXIT
trap 'on_signal INT 130' INT
trap 'on_signal TERM 143' TERM
trap 'on_signal HUP 129' HUP

vx_ensure_display
export DISPLAY

# Boot in the background and wait for it: bash runs a trap only once the
# foreground child is done, and wineboot can take several seconds.
vx_make_prefix "$prefix" &
boot_pid=$!
wait "$boot_pid"
boot_pid=""

vx_wine_env "$prefix"
export VORNIX_WINE_SESSION=1

# Wine starts its service processes, and the desktop process once a program
# needs windows, on behalf of whichever program comes first, with that
# program's Unix stdout and stderr; and it ends them a moment after the last
# program exits. Left like that, each test pays over a second to bring them
# up and down again, and a test that reads a child's output until EOF waits
# for a desktop process that holds that pipe. One idle cmd.exe, reading a
# FIFO nobody writes to, starts them for the whole session with output that
# is nobody's pipe; each test program then starts in a few hundredths of a
# second. It signals through a file on C: once all of that is up.
mkfifo "$prefix/session-keeper.fifo"
ready="$prefix/drive_c/windows/temp/vornix-session.ready"
wine cmd.exe /k "start /b explorer.exe /desktop & echo ready>C:\windows\temp\vornix-session.ready" \
  <>"$prefix/session-keeper.fifo" >/dev/null 2>&1 &
keeper_pid=$!
deadline=$((SECONDS + 30))
while [ ! -e "$ready" ] && [ "$SECONDS" -lt "$deadline" ]; do
  sleep 0.05
done
[ -e "$ready" ] || vx_say "warning: Wine's session processes did not come up within 30 s"

# Again in the background so a signal is handled at once. setsid gives the
# command its own process group for the clean-up above; the explicit <&0
# keeps its standard input (bash would otherwise give a background job
# /dev/null).
setsid "$@" <&0 &
cmd_pgid=$!
rc=0
wait "$cmd_pgid" || rc=$?
exit "$rc"
