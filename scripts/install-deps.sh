#!/usr/bin/env bash
# Installs the Debian packages that one of the two commands needs:
#
#   scripts/install-deps.sh demo   # the 64-bit build and Wine to run it
#   scripts/install-deps.sh test   # both builds, the native tests, the layout
#                                  # check, and 32-bit Wine where it can run
#
# Idempotent and quiet: packages already present are not touched, and apt's
# index is refreshed only when something is actually missing. wine32, an
# i386 package and the largest download, comes only where this machine runs
# 32-bit programs (scripts/machine-lib.sh decides, VORNIX_32BIT forces); the
# i686 cross compiler comes for every test run, since the 32-bit build is
# built and checked everywhere.
set -euo pipefail
# shellcheck source=scripts/machine-lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/machine-lib.sh"

goal="${1:-test}"
# The demo: the 64-bit build (GoogleTest's sources are part of its
# configuration), the help compiler, Wine, a private X server, the picture
# converter and the local update page (python3, openssl, and util-linux's
# unshare for the page's CA).
packages=(
  cmake ninja-build make googletest
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine64 xvfb x11-utils fp-utils imagemagick openssl python3 util-linux
)
case "$goal" in
  demo) ;;
  test)
    # clang-format-14: the version scripts/check-format.sh checks the layout
    # with; clang and its runtime: the native tests under the sanitizers.
    packages+=(g++ clang clang-format-14 libclang-rt-14-dev
      g++-mingw-w64-i686-posix binutils-mingw-w64-i686)
    vx_decide_32bit || exit 2
    [ "$VX_32BIT" = no ] || packages+=(wine32:i386)
    ;;
  *)
    echo "usage: scripts/install-deps.sh demo|test" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq >/dev/null
$SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
