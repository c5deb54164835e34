#!/usr/bin/env bash
# Every test tier, as `make test` runs them on a fresh machine:
#
#   1. install what the tests need (scripts/install-deps.sh test);
#   2. build the native tree, the 64-bit and the 32-bit Windows tree (a
#      build error ends the run: nothing after it would mean anything);
#   3. the tiers: the layout of the C++ sources, the native unit tests under
#      the sanitizers, the scripts' own test, then under Wine the in-process,
#      package and end-to-end tests of each build (tests/run-windows-tests.sh)
#      and the gallery at 100, 150 and 200 % in a session of its own
#      (--scales);
#   4. a summary: one line per tier, passed or failed.
#
# Every tier runs even when an earlier one failed; the run fails when any
# tier that ran failed. On a machine that runs no 32-bit programs
# (scripts/machine-lib.sh; VORNIX_32BIT=no behaves as one) the 32-bit build
# is still built, its tiers are not run, and one line at the start and one
# in the summary say so and why.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
# shellcheck source=scripts/machine-lib.sh
source scripts/machine-lib.sh

say() { printf 'test: %s\n' "$*"; }

vx_decide_32bit || exit 2
skipped_line="$(vx_32bit_skip_line)"
[ -z "$skipped_line" ] || say "$skipped_line"

bash scripts/install-deps.sh test
for preset in native windows windows-x86; do
  cmake --preset "$preset" >/dev/null
  if ! cmake --build --preset "$preset"; then
    say "the $preset build failed; no tier was run"
    exit 1
  fi
done

summary="$(mktemp "${TMPDIR:-/tmp}/vornix-test-summary.XXXXXX")"
trap 'rm -f -- "$summary"' EXIT
export VX_SUMMARY="$summary"
# Runs one tier and writes its line of the summary. The Windows sessions
# write one line per build themselves (VX_SUMMARY).
tier() {
  local name="$1"
  shift
  if "$@"; then
    echo "$name: passed" >>"$summary"
  else
    echo "$name: failed" >>"$summary"
  fi
}
tier "layout (clang-format)" bash scripts/check-format.sh
tier "native unit tests" ctest --preset native --parallel 2
tier "scripts" bash tests/scripts/machine_test.sh
# A Windows session that fails before its tests run (no prefix, no X
# server) has written no line of its own: it still fails the run.
windows_session() {
  local name="$1" before
  shift
  before="$(wc -l <"$summary")"
  if ! bash tests/run-windows-tests.sh "$@" && ! tail -n +"$((before + 1))" "$summary" | grep -q ': failed$'; then
    echo "$name: failed (the session ended before its tests had run)" >>"$summary"
  fi
}
windows_session "Windows tests"
windows_session "Windows display scales" --scales

passed="$(grep -c ': passed$' "$summary" || true)"
failed="$(grep -c -v ': passed$' "$summary" || true)"
echo
say "summary"
sed 's/^/  /' "$summary"
[ -z "$skipped_line" ] || say "$skipped_line"
if [ -n "$skipped_line" ]; then
  echo "tiers: $passed passed, $failed failed, 2 skipped"
else
  echo "tiers: $passed passed, $failed failed"
fi
[ "$failed" -eq 0 ]
