# shellcheck shell=bash
# Shared by tests/run-windows-tests.sh, scripts/demo.sh and
# scripts/bench-startup.sh: finding or starting an X server, and creating a
# Wine prefix of our own. Sourced, never run.
#
# Everything here works on processes and folders that the calling script
# started or created itself, identified by PID or absolute path, so two test
# sessions (or a session and the demo) can run side by side.

# Repository root and the build folder everything lands in; absolute, since
# the scripts change to the repository root and hand paths to Wine.
VX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck disable=SC2034 # used by the scripts that source this file
VX_BUILD="$(realpath -m -- "${VORNIX_BUILD_DIR:-$VX_ROOT/build}")"

# mscoree/mshtml disabled: a fresh prefix would otherwise offer to download
# Mono and Gecko, which nobody here wants and which would hang on a dialog.
# winemenubuilder disabled: it writes .desktop files and MIME entries into the
# host user's home, which a throwaway prefix has no business doing.
VX_WINE_OVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Size of the virtual desktop every session prefix runs its programs in, and
# of the Xvfb screen it is shown on (a session may ask for larger ones).
VX_DESKTOP_SIZE="${VX_DESKTOP_SIZE:-1024x768}"
VX_SCREEN_SIZE="${VX_SCREEN_SIZE:-1280x1024}"

# Wine's 64-bit loader, which every Windows program of ours is started with.
# Debian's "wine" launcher takes the 32-bit loader whenever wine32 is
# installed, and on a kernel without 32-bit support that fails every program,
# 64-bit ones too. Started by the 64-bit loader, a 32-bit program is handed
# to the 32-bit one by Wine itself (WINELOADER names the pair), so this loses
# nothing where 32-bit programs run.
vx_find_wine64() {
  local c
  for c in /usr/lib/wine/wine64 "$(command -v wine64 2>/dev/null)"; do
    if [ -n "$c" ] && [ -x "$c" ] && [ ! -d "$c" ]; then
      printf '%s' "$c"
      return 0
    fi
  done
  # A Wine without a separate 64-bit loader has only the launcher.
  command -v wine 2>/dev/null || printf wine
}
VX_WINE="$(vx_find_wine64)"

# Prefixed messages on stderr, so a test runner's stdout stays its own.
VX_TAG="${VX_TAG:-wine}"
vx_say() { printf '%s: %s\n' "$VX_TAG" "$*" >&2; }

# Seconds since the epoch with fractions, for the timings we print.
vx_now() { printf '%s' "${EPOCHREALTIME:-$(date +%s.%N)}"; }
vx_elapsed() { awk -v a="$1" -v b="$(vx_now)" 'BEGIN { printf "%.1f", b - a }'; }

# True when $1 (default: $DISPLAY) names an X server that answers. Bounded, so
# a display pointing at a dead remote host cannot hang the run.
vx_display_ok() {
  local d="${1:-${DISPLAY:-}}"
  [ -n "$d" ] || return 1
  timeout 5 xdpyinfo -display "$d" >/dev/null 2>&1
}

# --- Xvfb ------------------------------------------------------------------
VX_XVFB_PID=""

# Starts Xvfb on the first free display number from 90 up and exports DISPLAY.
# "Free" is judged by the lock file and the socket, but two sessions can still
# pick the same number at the same moment; Xvfb's own lock (created with
# link(), so atomic) lets only one of them win, and the loser sees its server
# die and moves on. We only accept a display whose lock file names our PID, so
# we never mistake the winner's server for ours.
vx_xvfb_start() {
  local n pid lock deadline log
  log="$(mktemp "${TMPDIR:-/tmp}/vornix-xvfb.XXXXXX")"
  for n in $(seq 90 189); do
    lock="/tmp/.X$n-lock"
    if [ -e "$lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; then
      continue
    fi
    # A session of its own: a Ctrl-C at the terminal goes to our whole process
    # group, and the X server must outlive the Wine processes drawing on it
    # until the clean-up has ended them.
    setsid Xvfb ":$n" -screen 0 "${VX_SCREEN_SIZE}x24" -nolisten tcp </dev/null >"$log" 2>&1 &
    pid=$!
    deadline=$((SECONDS + 15))
    while [ "$SECONDS" -lt "$deadline" ]; do
      if ! vx_alive "$pid"; then
        # Lost the race for this number (or could not start at all).
        wait "$pid" 2>/dev/null || true
        pid=""
        break
      fi
      if [ -e "$lock" ] && [ "$(tr -d ' \n' <"$lock")" = "$pid" ] && vx_display_ok ":$n"; then
        VX_XVFB_PID="$pid"
        export DISPLAY=":$n"
        rm -f "$log"
        return 0
      fi
      sleep 0.1
    done
    if [ -n "$pid" ]; then
      # Alive but never answered: not usable, and it is ours to stop.
      vx_kill_pid "$pid"
    fi
  done
  vx_say "could not start Xvfb (last output: $(tr '\n' ' ' <"$log"))"
  rm -f "$log"
  return 1
}

# Stops the Xvfb that vx_xvfb_start started, by its PID only.
vx_xvfb_stop() {
  [ -n "$VX_XVFB_PID" ] || return 0
  vx_kill_pid "$VX_XVFB_PID"
  VX_XVFB_PID=""
}

# Uses $DISPLAY when it answers, otherwise starts our own Xvfb.
vx_ensure_display() {
  if vx_display_ok; then
    return 0
  fi
  if [ -n "${DISPLAY:-}" ]; then
    vx_say "display $DISPLAY does not answer; starting Xvfb"
  fi
  vx_xvfb_start
}

# True while the process (or, with a leading '-', the process group) $1 has a
# member that is not a zombie. Orphans are reaped by PID 1 at its own pace,
# and waiting for that would only add seconds to every run. Read from /proc
# directly: a slim machine may have no ps.
vx_alive() {
  local target="$1" f state pgrp
  # Explicit statuses throughout: this runs from EXIT traps, where a bare
  # "return" would hand back the status the script was exiting with.
  if [ "${target#-}" = "$target" ]; then
    if vx_proc_state "/proc/$target/stat" && [ "$state" != Z ]; then
      return 0
    fi
    return 1
  fi
  for f in /proc/[0-9]*/stat; do
    vx_proc_state "$f" || continue
    if [ "$pgrp" = "${target#-}" ] && [ "$state" != Z ]; then
      return 0
    fi
  done
  return 1
}

# Waits (at most 30 s) until the update page server PID has written
# STATE_DIR/ready.json; if it dies or the time passes, shows its ERR_FILE
# and fails.
vx_wait_for_page_server() {
  local state_dir="$1" pid="$2" err_file="$3" deadline=$((SECONDS + 30))
  while [ ! -s "$state_dir/ready.json" ]; do
    if ! vx_alive "$pid" || [ "$SECONDS" -ge "$deadline" ]; then
      vx_say "the update page server did not start:"
      cat "$err_file" >&2 || true
      return 1
    fi
    sleep 0.1
  done
}

# Prints field NAME of the update page server's STATE_DIR/ready.json.
vx_page_server_field() {
  python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))[sys.argv[2]])' "$1/ready.json" "$2"
}

# Sets $state and $pgrp (the caller's locals) from a /proc/PID/stat file. The
# command name in parentheses may itself hold spaces or parentheses, so the
# fields are counted from the last ')'.
vx_proc_state() {
  local line rest
  { read -r line <"$1"; } 2>/dev/null || return 1
  rest="${line##*) }"
  read -r state _ pgrp _ <<<"$rest"
}

# TERM, a bounded wait, then KILL: for a process (or, with a leading '-', a
# process group) that this script started.
vx_kill_pid() {
  local target="$1" pid="${1#-}" _
  vx_alive "$target" || { wait "$pid" 2>/dev/null || true; return 0; }
  kill -TERM -- "$target" 2>/dev/null || true
  for _ in $(seq 50); do
    vx_alive "$target" || break
    sleep 0.1
  done
  if vx_alive "$target"; then
    kill -KILL -- "$target" 2>/dev/null || true
  fi
  # Reap it when it is our direct child; harmless otherwise.
  wait "$pid" 2>/dev/null || true
}

# --- Wine prefixes -----------------------------------------------------------

# Exports the Wine environment for prefix $1.
vx_wine_env() {
  export WINEPREFIX="$1"
  export WINEDLLOVERRIDES="$VX_WINE_OVERRIDES"
  export WINEDEBUG="-all"
  # tests/wine-run.sh starts the test programs with it; Wine's own helpers
  # (the services wineboot starts, a 32-bit child's loader) go by
  # WINELOADER.
  export VX_WINE
  case "$VX_WINE" in
    */wine64) export WINELOADER="$VX_WINE" ;;
  esac
}

# Creates a fresh prefix at $1 (absolute path) and waits until Wine is done
# with it: wineboot returns before the services it started have settled, and
# a command started during that would share a half-initialised registry.
vx_make_prefix() {
  local prefix="$1" start log
  start="$(vx_now)"
  mkdir -p "$prefix"
  log="$prefix.wineboot.log"
  if ! (vx_wine_env "$prefix" && timeout 120 "$VX_WINE" wineboot -i >"$log" 2>&1 && timeout 60 wineserver -w); then
    vx_say "wineboot failed for $prefix; its output:"
    cat "$log" >&2 || true
    rm -f "$log"
    return 1
  fi
  rm -f "$log"
  # Wine draws caption buttons, combo arrows and check marks with glyphs of
  # the Marlett font; a fresh prefix does not pick up the copy Wine ships, so
  # screenshots would show letters ("r" for the close box) instead.
  # Marlett has no text faces, so no dialog's metrics change with it.
  if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ -d "$prefix/drive_c/windows/Fonts" ]; then
    cp -f /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/"
  fi
  # Every program of the prefix runs in a Wine virtual desktop. Without a
  # window manager (Xvfb) Wine waits about two seconds for each top-level
  # window it unmaps; inside a virtual desktop it manages the windows itself,
  # and draws their captions, so screenshots show what a user sees. The
  # wineserver has written user.reg and exited, so the file can be appended.
  # A program that crashes must end (and fail its test), not wait for a
  # click on winedbg's crash dialog.
  if [ -f "$prefix/user.reg" ]; then
    printf '\n[Software\\\\Wine\\\\Explorer] %s\n"Desktop"="Default"\n\n[Software\\\\Wine\\\\Explorer\\\\Desktops] %s\n"Default"="%s"\n\n[Software\\\\Wine\\\\WineDbg] %s\n"ShowCrashDialog"=dword:00000000\n' \
      "$(date +%s)" "$(date +%s)" "$VX_DESKTOP_SIZE" "$(date +%s)" >>"$prefix/user.reg"
  fi
  vx_say "prefix $prefix ready in $(vx_elapsed "$start") s"
}

# Ends every Wine process of prefix $1 (all of them were started in it by us)
# and waits, bounded, until its wineserver is gone.
vx_stop_wineserver() {
  local prefix="$1"
  [ -d "$prefix" ] || return 0
  (
    vx_wine_env "$prefix"
    wineserver -k >/dev/null 2>&1 || true
    timeout 10 wineserver -w >/dev/null 2>&1 || true
  )
}
