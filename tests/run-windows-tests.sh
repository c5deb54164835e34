#!/usr/bin/env bash
# Runs the Windows test tier (`make test` calls this) with the local update
# page that the update-check UI tests talk to:
#
#   tests/run-windows-tests.sh [COMMAND [ARGS...]]     (default: ctest --preset windows)
#
# 1. starts tests/fixtures/update_server.py with a state folder under
#    build/windows/ and a bounded lifetime, and waits for its ready.json;
# 2. runs COMMAND in a Wine session of its own (tests/wine-session.sh) inside
#    tests/fixtures/with-test-ca.sh, so the server's test CA is trusted by
#    those Wine processes only; nothing on the host changes;
# 3. stops the server (by its PID) and deletes its state folder, however the
#    run ends.
#
# The Wine programs learn where the server is from the environment (Wine
# hands the Unix environment on to them):
#   VORNIX_TEST_UPDATE_URL     the page on the trusted port
#   VORNIX_TEST_UNTRUSTED_URL  the same page behind a certificate nobody trusts
#   VORNIX_TEST_SERVER_STATE   the server's state folder (Unix path: mode file,
#                              requests.log, connections.log)
#   VORNIX_TEST_BROWSER        record-browser.sh (Unix path), for the tests that
#                              check what the program hands to the web browser
# Tests that need the server skip themselves when these are missing.
# shellcheck disable=SC2317 # the clean-up functions run from traps
set -euo pipefail

VX_TAG="windows-tests"
# shellcheck source=tests/wine-lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine-lib.sh"

# The server outlives any sane run of the tier; should this script be killed
# with SIGKILL, the server still ends by itself.
server_lifetime="${VORNIX_TEST_SERVER_LIFETIME:-1500}"
ready_timeout=30

if [ $# -eq 0 ]; then
  set -- ctest --preset windows
fi

cd "$VX_ROOT"
mkdir -p "$VX_BUILD/windows"
state="$(mktemp -d "$VX_BUILD/windows/update-server.XXXXXX")"
server_pid=""
session_pid=""

cleanup() {
  local rc=$?
  trap '' INT TERM HUP
  trap - EXIT
  if [ -n "$session_pid" ]; then
    vx_kill_pid "$session_pid"
  fi
  if [ -n "$server_pid" ]; then
    vx_kill_pid "$server_pid"
  fi
  rm -rf -- "$state"
  exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

python3 tests/fixtures/update_server.py --state-dir "$state" --lifetime "$server_lifetime" \
  </dev/null >"$state/server.out" 2>"$state/server.err" &
server_pid=$!

deadline=$((SECONDS + ready_timeout))
while [ ! -s "$state/ready.json" ]; do
  if ! vx_alive "$server_pid"; then
    vx_say "the update server ended before it was ready:"
    cat "$state/server.err" >&2 || true
    exit 1
  fi
  if [ "$SECONDS" -ge "$deadline" ]; then
    vx_say "the update server was not ready within $ready_timeout s"
    exit 1
  fi
  sleep 0.1
done

# One value of the ready line per call; the line is JSON.
ready_value() {
  python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))[sys.argv[2]])' \
    "$state/ready.json" "$1"
}
VORNIX_TEST_UPDATE_URL="$(ready_value url)"
VORNIX_TEST_UNTRUSTED_URL="$(ready_value untrusted_url)"
VORNIX_TEST_SERVER_STATE="$state"
VORNIX_TEST_BROWSER="$VX_ROOT/tests/fixtures/record-browser.sh"
export VORNIX_TEST_UPDATE_URL VORNIX_TEST_UNTRUSTED_URL VORNIX_TEST_SERVER_STATE VORNIX_TEST_BROWSER
vx_say "update server $server_pid ready: $VORNIX_TEST_UPDATE_URL (untrusted: $VORNIX_TEST_UNTRUSTED_URL)"

# In the background so a signal reaches our trap at once; with-test-ca.sh
# execs down to wine-session.sh, whose own traps end the Wine session.
tests/fixtures/with-test-ca.sh "$state/ca.pem" -- tests/wine-session.sh test -- "$@" <&0 &
session_pid=$!
rc=0
wait "$session_pid" || rc=$?
session_pid=""
exit "$rc"
