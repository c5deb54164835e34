#!/usr/bin/env bash
# Runs the Windows test tiers (`make test` calls this) in a Wine session of
# their own, with the local update page the end-to-end tests talk to:
#
#   tests/run-windows-tests.sh [COMMAND [ARGS...]]
#   tests/run-windows-tests.sh --scales
#
# By default the 64-bit build's tiers, then the 32-bit build's, even when the
# first fail (one at a time: real input needs the desktop to itself), all but
# the display-scale tier. --scales runs that tier (CTest label "scale") for
# both builds: its tests set the prefix's DPI, so they get a session of their
# own, with a desktop large enough for a dialog at 200 %. On a machine that
# runs no 32-bit programs (scripts/machine-lib.sh; VORNIX_32BIT=no behaves as
# one) only the 64-bit build's, and a line says why. With VX_SUMMARY naming a
# file, a line per build is added to it: "BUILD TIER: passed" or "failed".
#
# The session is a fresh prefix under build/wine/ (no test sees what an
# earlier run left) that runs programs of either architecture, on an Xvfb
# of its own when there is no display, inside
# tools/update_page/with-ca.sh so the page's CA is trusted by these Wine
# processes only. Whatever happens, the session ends its wineserver, the
# update page server and the Xvfb, and deletes the prefix.
#
# The test programs find the page through the environment (Wine hands the
# Unix environment on): VORNIX_TEST_UPDATE_URL, VORNIX_TEST_UNTRUSTED_URL,
# VORNIX_TEST_SERVER_STATE (the server's folder; its file "mode" picks the
# page) and VORNIX_TEST_BROWSER (tests/record-browser.sh).
# shellcheck disable=SC2317 # the clean-up runs from a trap
set -euo pipefail

VX_TAG="windows-tests"
# CTest's option for the label "scale": left out, or the only one run.
label_option=-LE tier="tests"
if [ "${1:-}" = "--scales" ]; then
  shift
  label_option=-L tier="display scales"
  export VX_DESKTOP_SIZE=1280x1280 VX_SCREEN_SIZE=1280x1280
fi
# shellcheck source=scripts/wine-lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine-lib.sh"
# shellcheck source=scripts/machine-lib.sh
source "$VX_ROOT/scripts/machine-lib.sh"
vx_decide_32bit || exit 2
presets=(windows)
if [ "$VX_32BIT" = yes ]; then
  presets+=(windows-x86)
elif [ -z "${VX_SUMMARY:-}" ]; then
  # Run on its own; under scripts/run-tiers.sh that run's start and summary say it.
  vx_say "$(vx_32bit_skip_line)"
fi
# shellcheck disable=SC2016 # expanded by the inner shell
[ $# -gt 0 ] || set -- bash -c 'tier="$1" label_option="$2" rc=0; shift 2
  for p in "$@"; do
    if ctest --preset "$p" "$label_option" scale; then r=passed; else r=failed rc=1; fi
    [ -z "${VX_SUMMARY:-}" ] || echo "$p $tier: $r" >>"$VX_SUMMARY"
  done
  exit $rc' tiers "$tier" "$label_option" "${presets[@]}"

cd "$VX_ROOT"
mkdir -p "$VX_BUILD/wine"
prefix="$VX_BUILD/wine/tests-$$"
state="$prefix.update-page"
server_pid="" cmd_pid="" keeper_pid=""

cleanup() {
  local rc=$?
  trap '' INT TERM HUP
  trap - EXIT
  for pid in "$cmd_pid" "$keeper_pid"; do [ -z "$pid" ] || vx_kill_pid "-$pid"; done
  vx_stop_wineserver "$prefix"
  [ -z "$server_pid" ] || vx_kill_pid "$server_pid"
  vx_xvfb_stop
  rm -rf -- "$prefix" "$state"
  exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

mkdir -p "$state"
python3 tools/update_page/update_page_server.py --state-dir "$state" --lifetime 1500 \
  </dev/null >"$state/server.log" 2>&1 &
server_pid=$!
vx_ensure_display
export DISPLAY
vx_make_prefix "$prefix" &
wait $!
vx_wait_for_page_server "$state" "$server_pid" "$state/server.log" || exit 1
VORNIX_TEST_UPDATE_URL="$(vx_page_server_field "$state" url)"
VORNIX_TEST_UNTRUSTED_URL="$(vx_page_server_field "$state" untrusted_url)"
# For the DLLs tests/e2e/planted_dll_test.cpp plants, one beside the program
# comes first, as on Windows (Wine prefers its built-in ones otherwise).
VX_WINE_OVERRIDES="$VX_WINE_OVERRIDES;version,wininet,uxtheme,dwmapi,winmm,oleacc,cryptbase,hhctrl.ocx=n,b"
export VORNIX_TEST_UPDATE_URL VORNIX_TEST_UNTRUSTED_URL VORNIX_TEST_SERVER_STATE="$state" \
  VORNIX_TEST_BROWSER="$VX_ROOT/tests/record-browser.sh" VORNIX_WINE_SESSION=1
vx_wine_env "$prefix"

# Wine starts its service and desktop processes for whichever program comes
# first and ends them after the last one; one idle cmd.exe keeps them up for
# the whole session, so each test program starts at once.
mkfifo "$prefix/keeper.fifo"
setsid "$VX_WINE" cmd.exe /k "start /b explorer.exe /desktop & echo ready>C:\\windows\\temp\\session.ready" \
  <>"$prefix/keeper.fifo" >/dev/null 2>&1 &
keeper_pid=$!
for _ in $(seq 300); do [ -e "$prefix/drive_c/windows/temp/session.ready" ] || sleep 0.1; done

# setsid: the command's own process group, ended as one by the clean-up.
setsid tools/update_page/with-ca.sh "$state/ca.pem" -- "$@" <&0 &
cmd_pid=$!
rc=0
wait "$cmd_pid" || rc=$?
cmd_pid=""
exit "$rc"
