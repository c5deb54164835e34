#!/usr/bin/env bash
# Measures what the web update check costs the start-up (the figures of
# docs/PERFORMANCE.md):
#
#   scripts/bench-startup.sh [RUNS] [FILES]      (defaults: 5 runs, 10000 files)
#
# 1. vornix_e2e_tests.exe --bench-startup RUNS: milliseconds from CreateProcess
#    to the main dialog on screen, RUNS starts each with the check not due,
#    due with a quick update page, and due with a server that never answers
#    (the local update page of tests/run-windows-tests.sh), with the medians;
# 2. vornix_scan_bench.exe FILES RUNS: the newest-file scan over FILES files,
#    timed and with its file-system calls counted, beside a scan that lists
#    the names first and then asks for each file's status.
#
# Both run in one fresh Wine session (on an Xvfb of their own when there is
# no display) after the Windows build (make build-windows).
set -euo pipefail

VX_TAG="bench"
# shellcheck source=tests/wine-lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../tests/wine-lib.sh"

runs="${1:-5}"
files="${2:-10000}"
[[ "$runs" =~ ^[1-9][0-9]*$ && "$files" =~ ^[1-9][0-9]*$ ]] || {
  echo "usage: scripts/bench-startup.sh [RUNS] [FILES]" >&2
  exit 2
}

cd "$VX_ROOT"
driver="$VX_BUILD/windows/bin/vornix_e2e_tests.exe"
scanner="$VX_BUILD/windows/bin/vornix_scan_bench.exe"
for f in "$driver" "$scanner"; do
  if [ ! -f "$f" ]; then
    vx_say "$f is missing; run make build-windows first"
    exit 1
  fi
done

vx_say "start-up: $runs runs per situation; newest-file scan: $files files, $runs runs"
# shellcheck disable=SC2016 # expanded by the inner shell
exec tests/run-windows-tests.sh bash -c '
  set -euo pipefail
  echo "== start-up to the main dialog"
  tests/wine-run.sh "$1" --bench-startup "$3"
  echo
  echo "== newest-file scan"
  tests/wine-run.sh "$2" "$4" "$3"
' bench "$driver" "$scanner" "$runs" "$files"
