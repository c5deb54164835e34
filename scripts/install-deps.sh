#!/usr/bin/env bash
# Installs the Debian packages that building, testing and the demo need
# (clang-format-14: the version scripts/check-format.sh checks the layout with).
# Idempotent and quiet: packages already present are not touched, and apt's
# index is refreshed only when something is actually missing.
set -euo pipefail

# The 32-bit Windows build and its tests need the i686 cross compiler and
# wine32, a package of the i386 architecture.
packages=(
  cmake ninja-build make g++ clang clang-format-14 libclang-rt-14-dev googletest
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  wine64 wine32:i386 xvfb x11-utils fp-utils imagemagick openssl python3 util-linux
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq >/dev/null
$SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
