#!/usr/bin/env bash
# Fails, naming the files, when a tracked C++ file does not match the
# project's layout (.clang-format). `make test` runs it; to fix:
#   git ls-files '*.cpp' '*.h' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if ! report=$(clang-format --dry-run -Werror "${files[@]}" 2>&1); then
  grep -o '^[^:]*\.\(cpp\|h\)' <<<"$report" | sort -u | sed 's/^/check-format: not in the layout: /' >&2
  exit 1
fi
echo "check-format: ${#files[@]} files in the layout"
