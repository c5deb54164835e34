#!/usr/bin/env bash
# Fails, naming the files, when a tracked C++ file does not match the
# project's layout (.clang-format). `make test` runs it; to fix:
#   git ls-files '*.cpp' '*.h' | xargs clang-format-14 -i
# The layout is what one version of clang-format makes of .clang-format
# (each version lays some code out a little differently): the version that
# scripts/install-deps.sh installs, named here too.
set -euo pipefail
cd "$(dirname "$0")/.."
version=14
tool="clang-format-$version"
other="$(clang-format --version 2>/dev/null || true)"
if ! command -v "$tool" >/dev/null; then
  echo "check-format: the layout is clang-format $version's; $tool is missing (scripts/install-deps.sh installs it)${other:+, found: $other}" >&2
  exit 1
fi
if [ -n "$other" ] && ! grep -q "version $version\." <<<"$other"; then
  echo "check-format: checking with $tool; the clang-format on the PATH is another ($other) and lays out differently" >&2
fi
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if ! report=$("$tool" --dry-run -Werror "${files[@]}" 2>&1); then
  grep -o '^[^:]*\.\(cpp\|h\)' <<<"$report" | sort -u | sed 's/^/check-format: not in the layout: /' >&2
  exit 1
fi
echo "check-format: ${#files[@]} files in the layout ($tool)"
