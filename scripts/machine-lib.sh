# shellcheck shell=bash
# What this machine can run, decided once and handed on to every script the
# two commands start. Sourced, never run.
#
# The one question today: does the kernel run 32-bit x86 programs? Many
# virtual machines and containers switch IA32 emulation off, and then Wine's
# 32-bit loader fails with "Exec format error" for every program. Names and
# versions do not tell (a 64-bit kernel may or may not have it on), so we run
# a 32-bit program and look.
#
# VORNIX_32BIT=yes|no forces the answer (no: behave as a machine without 32-bit
# support, whatever the kernel can do); unset, the probe decides.

# Sets and exports VX_32BIT (yes or no) and VX_32BIT_WHY (why not, for the
# messages; empty when yes). The probe runs only when no earlier script of
# this run has probed; returns 2 when VORNIX_32BIT holds anything but yes or
# no.
vx_decide_32bit() {
  case "${VORNIX_32BIT:-}" in
    yes) VX_32BIT=yes VX_32BIT_WHY="" ;;
    no) VX_32BIT=no VX_32BIT_WHY="VORNIX_32BIT=no says to behave as a machine without 32-bit support" ;;
    "") [ -n "${VX_32BIT_PROBED:-}" ] || vx_probe_32bit ;;
    *)
      printf '%s\n' "VORNIX_32BIT must be yes or no (or unset to let the machine decide), not '${VORNIX_32BIT}'" >&2
      return 2
      ;;
  esac
  export VX_32BIT VX_32BIT_WHY
}

# Runs a 96-byte static i386 program that only exits with status 42 (no
# libraries, no loader: nothing but the kernel is asked) and sets VX_32BIT.
vx_probe_32bit() {
  local dir probe rc=0 err
  export VX_32BIT_PROBED=1
  # Beside the build, not in /tmp: a temporary folder mounted noexec would
  # fail any program, 32-bit or not.
  dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build"
  if ! mkdir -p "$dir" 2>/dev/null || ! probe="$(mktemp "$dir/probe-i386.XXXXXX" 2>/dev/null)"; then
    VX_32BIT=no VX_32BIT_WHY="the 32-bit test program could not be written to $dir"
    return 0
  fi
  # ELF header, one loadable segment at 0x08048000, then
  # mov eax, 1 (exit); mov ebx, 42; int 0x80.
  printf '%b' \
    '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' \
    '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' \
    '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00' \
    '\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08' \
    '\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00' \
    '\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
  chmod 0700 "$probe"
  err="$("$probe" 2>&1)" || rc=$?
  rm -f -- "$probe"
  if [ "$rc" -eq 42 ]; then
    VX_32BIT=yes VX_32BIT_WHY=""
    return 0
  fi
  # The shell's own words name the cause.
  err="${err##*: }"
  VX_32BIT=no VX_32BIT_WHY="a 32-bit test program did not run (${err:-exit status $rc})"
  if [ "$err" = "Exec format error" ]; then
    # IA32 emulation is off in the kernel: Wine's 32-bit loader fails alike.
    VX_32BIT_WHY="this machine's kernel runs no 32-bit programs ($VX_32BIT_WHY)"
  fi
}

# The one line that says which 32-bit tiers a run leaves out and why;
# nothing when this machine runs them.
vx_32bit_skip_line() {
  [ "${VX_32BIT:-}" = no ] || return 0
  printf 'not run: the 32-bit tiers (windows-x86 tests, windows-x86 display scales): %s\n' "$VX_32BIT_WHY"
}
