#!/usr/bin/env bash
# Measures what the web update check costs the start-up (the figures of
# docs/PERFORMANCE.md):
#
#   scripts/bench-startup.sh [RUNS] [FILES]      (defaults: 5 runs, 10000 files)
#
# 1. vornix_startup_bench.exe RUNS STATE_DIR: milliseconds from CreateProcess
#    to the main dialog on screen, RUNS starts each with the check not due,
#    due with a quick update page, and due with a server that never answers
#    (the local update page, tools/update_page/update_page_server.py, whose
#    state folder it is given), with the medians;
# 2. vornix_scan_bench.exe FILES RUNS: the newest-file scan over FILES files,
#    timed and with its file-system calls counted, beside a scan that lists
#    the names first and then asks for each file's status.
#
# Both run in one fresh Wine session of this script's own (a prefix under
# VORNIX_BUILD_DIR/wine, and an Xvfb when there is no display), after the
# Windows build (make build-windows); the session, the server and the prefix
# go when the script ends, however it ends.
# shellcheck disable=SC2317 # the clean-up functions run from traps
set -euo pipefail

VX_TAG="bench"
# shellcheck source=scripts/wine-lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine-lib.sh"

runs="${1:-5}"
files="${2:-10000}"
[[ "$runs" =~ ^[1-9][0-9]*$ && "$files" =~ ^[1-9][0-9]*$ ]] || {
  echo "usage: scripts/bench-startup.sh [RUNS] [FILES]" >&2
  exit 2
}

cd "$VX_ROOT"
bin="$VX_BUILD/windows/bin"
startup="$bin/vornix_startup_bench.exe"
scanner="$bin/vornix_scan_bench.exe"
for f in "$startup" "$scanner" "$bin/VornixUtility64.exe"; do
  if [ ! -f "$f" ]; then
    vx_say "$f is missing; run make build-windows first"
    exit 1
  fi
done

prefix="$VX_BUILD/wine/bench-$$"
server_state="$prefix.update-page"
# Ends by itself should this script be killed without its clean-up.
server_lifetime=1800
server_pid=""
boot_pid=""
job_pid=""

cleanup() {
  local rc=$? pid
  trap '' INT TERM HUP
  trap - EXIT
  for pid in "$job_pid" "$boot_pid"; do
    if [ -n "$pid" ]; then
      vx_kill_pid "$pid"
    fi
  done
  vx_stop_wineserver "$prefix"
  if [ -n "$server_pid" ]; then
    vx_kill_pid "$server_pid"
  fi
  vx_xvfb_stop
  rm -rf -- "$prefix" "$prefix.wineboot.log" "$server_state"
  exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# Runs a Wine program in the background, so a signal is handled at once,
# with the update page's CA trusted.
run_wine() {
  tools/update_page/with-ca.sh "$server_state/ca.pem" -- "$VX_WINE" "$@" &
  job_pid=$!
  local rc=0
  wait "$job_pid" || rc=$?
  job_pid=""
  return "$rc"
}

vx_ensure_display
export DISPLAY

mkdir -p "$server_state"
python3 tools/update_page/update_page_server.py --state-dir "$server_state" \
  --lifetime "$server_lifetime" </dev/null >"$server_state/server.out" 2>"$server_state/server.err" &
server_pid=$!

# Boot in the background and wait for it: bash runs a trap only once the
# foreground child is done, and wineboot takes several seconds.
vx_make_prefix "$prefix" &
boot_pid=$!
wait "$boot_pid"
boot_pid=""
vx_wine_env "$prefix"

vx_wait_for_page_server "$server_state" "$server_pid" "$server_state/server.err" || exit 1

vx_say "start-up: $runs runs per situation; newest-file scan: $files files, $runs runs"
echo "== start-up to the main dialog"
run_wine "$startup" "$runs" "$server_state"
echo
echo "== newest-file scan"
run_wine "$scanner" "$files" "$runs"
