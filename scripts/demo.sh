#!/usr/bin/env bash
# Shows Vornix Utility in a demo installation (run by `make demo` after the
# Windows build).
#
# The demo has its own Wine prefix, build/demo/prefix, kept between runs so a
# second demo starts at once. The e2e driver's --install-demo writes the
# suite's registry values and puts the companion library in place, so the
# program finds what an installed copy would find.
#
# With a display that answers, the program runs in a Wine virtual desktop in
# the foreground until it is closed. Without one, an Xvfb of our own stands
# in and the run ends with screenshots in build/demo/.
set -euo pipefail

VX_TAG="demo"
# shellcheck source=tests/wine-lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../tests/wine-lib.sh"

bin="$VX_BUILD/windows/bin"
utility="$bin/VornixUtility64.exe"
driver="$bin/vornix_e2e_tests.exe"
demo_dir="$VX_BUILD/demo"
prefix="$demo_dir/prefix"
desktop="Vornix,1024x768"
# How long the program gets to show its main dialog before the one picture
# is taken when the driver cannot guide the demo yet.
settle="${VORNIX_DEMO_SETTLE:-5}"

# The driver is started with a path relative to the repository, the folder it
# runs in, which Wine maps to the same place on its Z: drive.
cd "$VX_ROOT"
demo_arg="$(realpath -m --relative-to="$VX_ROOT" "$demo_dir")"

if [ ! -f "$utility" ]; then
  vx_say "$utility is missing; build it first (make demo does)"
  exit 1
fi

# A driver built before its demo modes existed would take an option it does
# not know as "run the whole UI suite", so an option is passed only when the
# driver's binary mentions it (as a narrow or a wide string).
driver_knows() {
  local opt="$1" wide
  [ -f "$driver" ] || return 1
  LC_ALL=C grep -qaF -- "$opt" "$driver" && return 0
  wide="$(printf '%s' "$opt" | sed 's/./&\\x00/g')"
  LC_ALL=C grep -qaP -- "$wide" "$driver"
}

headless=0
stopped=0
cleanup() {
  local rc=$?
  trap '' INT TERM HUP
  trap - EXIT
  # Interrupted, or headless: nothing of the demo may outlive the script.
  # After a normal interactive run the program has already closed and
  # wineserver ends by itself.
  if [ "$stopped" -eq 1 ] || [ "$headless" -eq 1 ]; then
    vx_stop_wineserver "$prefix"
  fi
  vx_xvfb_stop
  exit "$rc"
}
interrupted() {
  stopped=1
  vx_say "caught SIG$1, stopping the demo"
  exit "$2"
}
trap cleanup EXIT
trap 'interrupted INT 130' INT
trap 'interrupted TERM 143' TERM
trap 'interrupted HUP 129' HUP

if ! vx_display_ok; then
  headless=1
  if [ -n "${DISPLAY:-}" ]; then
    vx_say "display $DISPLAY does not answer; showing the demo on an Xvfb of our own"
  fi
  vx_xvfb_start
fi
export DISPLAY

# Reuse the prefix when a previous demo completed it; a half-made one (an
# interrupted first run) is made again.
if [ ! -f "$prefix/system.reg" ]; then
  rm -rf -- "$prefix"
  vx_make_prefix "$prefix" &
  wait $!
fi
vx_wine_env "$prefix"

if driver_knows --install-demo; then
  vx_say "preparing the demo installation"
  wine "$driver" --install-demo &
  wait $!
elif [ -f "$driver" ]; then
  vx_say "warning: $driver has no --install-demo yet; running without the demo installation"
else
  vx_say "warning: $driver is not built yet; running without the demo installation"
fi

if [ "$headless" -eq 0 ]; then
  vx_say "starting Vornix Utility on $DISPLAY; close it to end the demo"
  wine explorer "/desktop=$desktop" "$utility" &
  wait $!
  exit 0
fi

mkdir -p "$demo_dir"
# Pictures of an earlier demo would pass for this one's.
find "$demo_dir" -maxdepth 1 -type f -name '*.png' -delete

if driver_knows --demo; then
  vx_say "walking through the program's windows (screenshots into $demo_arg)"
  wine "$driver" --demo "$demo_arg" &
  wait $!
else
  vx_say "warning: the driver has no --demo mode yet; taking one picture of the main dialog"
  wine explorer "/desktop=$desktop" "$utility" &
  ui_pid=$!
  sleep "$settle"
  if ! vx_alive "$ui_pid"; then
    vx_say "warning: the program ended within $settle s; the picture shows what is left"
  fi
  "$VX_ROOT/tests/screenshot.sh" "$demo_dir/main-dialog.png"
  vx_stop_wineserver "$prefix"
  vx_kill_pid "$ui_pid"
fi

vx_stop_wineserver "$prefix"
vx_xvfb_stop

shots=()
while IFS= read -r f; do
  shots+=("$f")
done < <(find "$demo_dir" -maxdepth 1 -type f -name '*.png' | sort)
if [ ${#shots[@]} -eq 0 ]; then
  vx_say "no screenshots were taken"
  exit 1
fi
vx_say "${#shots[@]} screenshot(s) in $demo_dir:"
for f in "${shots[@]}"; do
  printf '  %s\n' "$f"
done
