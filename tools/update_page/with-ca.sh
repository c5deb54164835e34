#!/usr/bin/env bash
# Runs one command with a CA trusted, for that command and its children only:
#
#   tools/update_page/with-ca.sh CA_PEM -- COMMAND [ARGS...]
#
# The command runs in a private mount namespace in which the system bundle,
# /etc/ssl/certs/ca-certificates.crt, is a bind mount of the host's bundle
# plus CA_PEM: nothing on the host changes and certificate validation stays
# on. Wine's crypt32 reads its root store from that bundle on Debian.
#
# Inside Wine the trust outlives the command: the first process of a prefix
# that checks a certificate copies the roots into the wineserver's volatile
# registry, so every later process of that prefix trusts the CA until its
# wineserver ends. Wrap the whole Wine session.
#
# Needs root (CAP_SYS_ADMIN) for unshare and mount. The exit code is the
# command's.
set -euo pipefail

usage() {
  echo "usage: tools/update_page/with-ca.sh CA_PEM -- COMMAND [ARGS...]" >&2
  exit 2
}
if [ $# -lt 3 ] || [ "$2" != "--" ]; then
  usage
fi
ca="$1"
shift 2

system_bundle=/etc/ssl/certs/ca-certificates.crt
if ! grep -q -- "-----BEGIN CERTIFICATE-----" "$ca" 2>/dev/null; then
  echo "with-ca: $ca is not a PEM certificate" >&2
  exit 2
fi
if [ ! -f "$system_bundle" ]; then
  echo "with-ca: no $system_bundle on this host" >&2
  exit 2
fi

if ! unshare --mount --propagation private true 2>/dev/null; then
  echo "with-ca: cannot make a private mount namespace (needs root)" >&2
  exit 2
fi

bundle="$(mktemp "${TMPDIR:-/tmp}/vornix-ca-bundle.XXXXXX")"
{
  cat -- "$system_bundle"
  # PEM blocks start on a line of their own; the host's may lack its last newline.
  echo
  cat -- "$ca"
} >"$bundle" || { rm -f -- "$bundle"; exit 2; }
chmod 0644 "$bundle"

# The temporary bundle is removed as soon as it is mounted (the mount keeps
# it alive), so nothing is left on the host however the command ends. exec
# all the way down: the command keeps this script's PID and gets its signals.
# shellcheck disable=SC2016 # expanded by the inner shell
exec unshare --mount --propagation private -- \
  sh -c 'mount --bind -- "$1" "$2"; rc=$?; rm -f -- "$1"; [ "$rc" -eq 0 ] || exit 125
         shift 2; exec "$@"' \
  with-ca "$bundle" "$system_bundle" "$@"
