#!/usr/bin/env bash
# The owner-drawn button's benchmark (figures in docs/PERFORMANCE.md):
#
#   scripts/bench-button.sh [REPAINTS [REPLACEMENTS]]   (defaults: 10000, 1000)
#
# Runs tools/bench/button_bench.cpp's vornix_button_bench.exe in a fresh Wine
# prefix of its own (and its own Xvfb when there is no display), which it
# removes when it ends. It prints the figures and fails only on its own errors.
# shellcheck disable=SC2317 # the clean-up runs from a trap
set -euo pipefail

VX_TAG="bench-button"
# shellcheck source=scripts/wine-lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine-lib.sh"

cd "$VX_ROOT"
bench="$VX_BUILD/windows/bin/vornix_button_bench.exe"
[ -f "$bench" ] || { vx_say "$bench is missing; run make build-windows first"; exit 1; }
prefix="$VX_BUILD/wine/bench-button-$$"

cleanup() {
  local rc=$?
  trap '' INT TERM HUP
  trap - EXIT
  vx_stop_wineserver "$prefix"
  vx_xvfb_stop
  rm -rf -- "$prefix"
  exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

vx_ensure_display
export DISPLAY
vx_make_prefix "$prefix" &
wait $!
vx_wine_env "$prefix"
# Wine reports the brushes the probe makes until GDI refuses; that is expected.
WINEDEBUG=-all "$VX_WINE" "$bench" "${1:-10000}" "${2:-1000}"
