#!/usr/bin/env bash
# Takes a PNG of the whole screen of $DISPLAY (the root window, so a Wine
# virtual desktop and everything drawn in it is included):
#
#   tests/screenshot.sh OUT.png
#
# The picture is written next to OUT.png first and renamed into place, so a
# reader never sees half a file.
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "usage: tests/screenshot.sh OUT.png" >&2
  exit 2
fi
out="$1"
if [ -z "${DISPLAY:-}" ]; then
  echo "screenshot.sh: DISPLAY is not set" >&2
  exit 1
fi

mkdir -p "$(dirname "$out")"
tmp="$out.tmp"
trap 'rm -f -- "$tmp"' EXIT
# Bounded: a display that stops answering must not hang a test run.
timeout 30 import -display "$DISPLAY" -window root "png:$tmp"
mv -f -- "$tmp" "$out"
