#!/usr/bin/env bash
# A machine that runs no 32-bit programs still gets its Windows session (a tier of `make test`),
# stood in for by VORNIX_32BIT=no and a "wine" launcher on the PATH that fails as Debian's does
# there ("Exec format error"): the session runs a 64-bit test program and says which tiers it
# leaves out. Needs the 64-bit build.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
program="$root/build/windows/bin/vornix_win_tests.exe"
failures=0
fail() {
  printf 'machine_test: FAIL: %s\n' "$*" >&2
  failures=$((failures + 1))
}

shims="$(mktemp -d "${TMPDIR:-/tmp}/vornix-no32.XXXXXX")"
trap 'rm -rf -- "$shims"' EXIT
for launcher in wine wine-stable; do
  printf '#!/bin/sh\necho "%s: /usr/lib/wine/wine: Exec format error" >&2\nexit 126\n' "$launcher" >"$shims/$launcher"
  chmod +x "$shims/$launcher"
done
if PATH="$shims:$PATH" wineboot --help >/dev/null 2>&1; then
  fail "the stand-in launcher is not the one Wine's own commands reach"
fi
log="$shims/session.log"
PATH="$shims:$PATH" VORNIX_32BIT=no env -u VX_SUMMARY \
  bash "$root/tests/run-windows-tests.sh" "$root/tests/wine-run.sh" "$program" --gtest_list_tests >"$log" 2>&1 ||
  fail "the session without 32-bit support failed: $(tail -n 5 "$log")"
grep -q '^FileVersionReader\.' "$log" || fail "the 64-bit program did not run in that session: $(tail -n 5 "$log")"
grep -q 'not run: the 32-bit tiers .*VORNIX_32BIT=no' "$log" || fail "the session did not say which tiers it leaves out"

[ "$failures" -eq 0 ] && echo "machine_test: passed" && exit 0
echo "machine_test: $failures check(s) failed"
exit 1
