#!/usr/bin/env bash
# The scripts' own test (a tier of scripts/test.sh): how they decide whether
# this machine runs 32-bit programs, and that a machine which does not still
# gets its Windows session, whatever Debian's "wine" launcher would do there.
#
# A machine without 32-bit support is stood in for on any machine: VORNIX_32BIT=no,
# and a "wine" launcher on the PATH that fails as Debian's does on such a
# kernel (its 32-bit loader: "Exec format error"). The session must make its
# prefix and run a 64-bit test program all the same, and say which tiers it
# leaves out. Needs the 64-bit build.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
failures=0
fail() {
  printf 'machine_test: FAIL: %s\n' "$*" >&2
  failures=$((failures + 1))
}

# --- the decision: VORNIX_32BIT | expected VX_32BIT | status | why contains
while IFS='|' read -r forced expected status why; do
  # shellcheck disable=SC2016 # expanded by the inner shell
  out="$(env -u VX_32BIT -u VX_32BIT_WHY -u VX_32BIT_PROBED VORNIX_32BIT="$forced" bash -c '
    source "$1/scripts/machine-lib.sh"; err="$(mktemp)"; vx_decide_32bit 2>"$err"; rc=$?
    printf "%s|%s|%s%s" "${VX_32BIT:-}" "$rc" "$(vx_32bit_skip_line)" "$(cat "$err")"; rm -f "$err"' _ "$root")"
  IFS='|' read -r got got_status line <<<"$out"
  if [ "$got" != "$expected" ] || [ "$got_status" != "$status" ]; then
    fail "VORNIX_32BIT='$forced': decided '$got' with status $got_status, expected '$expected' with $status ($out)"
  fi
  [[ "$line" == *"$why"* ]] || fail "VORNIX_32BIT='$forced': the line '$line' does not say '$why'"
done <<'EOF'
no|no|0|VORNIX_32BIT=no
yes|yes|0|
maybe||2|must be yes or no
EOF

# Unforced, the probe answers, and a "no" names the kernel's refusal.
# shellcheck disable=SC2016 # expanded by the inner shell
out="$(env -u VX_32BIT -u VX_32BIT_PROBED -u VORNIX_32BIT bash -c \
  'source "$1/scripts/machine-lib.sh"; vx_decide_32bit && printf "%s|%s" "$VX_32BIT" "$VX_32BIT_WHY"' _ "$root")"
case "$out" in
  "yes|") ;;
  "no|"*"32-bit test program "*) ;;
  *) fail "the probe answered '$out'" ;;
esac

# --- a Windows session on a machine without 32-bit support
program="$root/build/windows/bin/vornix_win_tests.exe"
if [ ! -f "$program" ]; then
  fail "$program is missing: build the 64-bit tree first"
else
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
  PATH="$shims:$PATH" VORNIX_32BIT=no \
    bash "$root/tests/run-windows-tests.sh" "$root/tests/wine-run.sh" "$program" --gtest_list_tests >"$log" 2>&1
  rc=$?
  [ "$rc" -eq 0 ] || fail "the session without 32-bit support ended with $rc: $(tail -n 5 "$log")"
  grep -q '^FileVersionReader\.' "$log" || fail "the 64-bit program did not run in that session: $(tail -n 5 "$log")"
  grep -q 'not run: the 32-bit tiers .*VORNIX_32BIT=no' "$log" || fail "the session did not say which tiers it leaves out"
fi

if [ "$failures" -eq 0 ]; then
  echo "machine_test: passed"
  exit 0
fi
echo "machine_test: $failures check(s) failed"
exit 1
