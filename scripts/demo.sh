#!/usr/bin/env bash
# Shows Vornix Utility in a demo installation, the way a user meets it on a
# morning when an update is out (run by `make demo` after the Windows build).
#
# The demo has its own Wine prefix, build/demo/prefix, kept between runs so a
# second demo starts at once. VornixDemo.exe --install-demo writes the
# suite's registry values, puts the companion library and the help file in
# place, dates the suite's programs before the update that the local update
# page names, and makes the web check due. The local update page
# (tools/update_page/update_page_server.py) runs for the length of the demo,
# answering after two seconds so the start-up message has time on screen;
# its CA is trusted by the demo's Wine processes only (with-ca.sh), and the
# installation names it as its update page (HKLM "UpdatePageAddress", where
# an administrator would put a staging page).
#
# With a display that answers, the program runs in a Wine virtual desktop in
# the foreground until it is closed: the update offer comes first. Without
# one, an Xvfb of our own stands in, VornixDemo.exe --demo walks through the
# program (the splash, the start-up message, the offer answered with No, the
# reminder, the main dialog, its menus, the About box and the help) and the
# run ends with PNG pictures in build/demo/ (VORNIX_BUILD_DIR/demo).
# shellcheck disable=SC2317 # the clean-up functions run from traps
set -euo pipefail

VX_TAG="demo"
# The screen an Xvfb of ours shows: room for the gallery at 200 %.
export VX_SCREEN_SIZE=1280x1280
# shellcheck source=scripts/wine-lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine-lib.sh"

bin="$VX_BUILD/windows/bin"
utility="$bin/VornixUtility64.exe"
gallery="$bin/ControlsGallery64.exe"
driver="$bin/VornixDemo.exe"
demo_dir="$VX_BUILD/demo"
prefix="$demo_dir/prefix"
server_state="$demo_dir/update-server"
desktop="Vornix,1024x768"
# Long enough for a person to look at the offer; the server is stopped as
# soon as the demo ends anyway.
server_lifetime=1800
# Seconds the page takes to answer: the start-up message is alone on screen
# that long, long enough to be pictured.
server_delay=2

# The driver is started with a path relative to the repository, the folder it
# runs in, which Wine maps to the same place on its Z: drive.
cd "$VX_ROOT"
demo_arg="$(realpath -m --relative-to="$VX_ROOT" "$demo_dir")"

for f in "$utility" "$driver"; do
  if [ ! -f "$f" ]; then
    vx_say "$f is missing; build it first (make demo does)"
    exit 1
  fi
done

headless=0
stopped=0
server_pid="" page_url=""
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
  if [ -n "$server_pid" ]; then
    vx_kill_pid "$server_pid"
  fi
  rm -rf -- "$server_state"
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

# Starts the local update page and sets page_url.
start_update_server() {
  local deadline
  rm -rf -- "$server_state"
  mkdir -p "$server_state"
  python3 tools/update_page/update_page_server.py --state-dir "$server_state" \
    --lifetime "$server_lifetime" --mode marker --delay "$server_delay" \
    </dev/null >"$server_state/server.out" 2>"$server_state/server.err" &
  server_pid=$!
  vx_wait_for_page_server "$server_state" "$server_pid" "$server_state/server.err" || exit 1
  page_url="$(vx_page_server_field "$server_state" url)"
  vx_say "update page: $page_url"
}

# Runs a Wine command that may check the update page's certificate.
with_ca() {
  tools/update_page/with-ca.sh "$server_state/ca.pem" -- "$@"
}

# The driver's .bmp pictures as PNG files, in the order it took them.
convert_pictures() {
  local list="$demo_dir/pictures.txt" name
  [ -f "$list" ] || return 0
  while IFS= read -r name || [ -n "$name" ]; do
    name="${name%$'\r'}"
    [ -f "$demo_dir/$name" ] || continue
    convert "$demo_dir/$name" "$demo_dir/${name%.bmp}.png"
    rm -f -- "$demo_dir/$name"
  done <"$list"
}

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
start_update_server

vx_say "preparing the demo installation"
"$VX_WINE" "$driver" --install-demo "$page_url" &
wait $!

if [ "$headless" -eq 0 ]; then
  vx_say "starting Vornix Utility on $DISPLAY; close it to see the controls gallery"
  with_ca "$VX_WINE" explorer "/desktop=$desktop" "$utility" &
  wait $!
  vx_say "starting the controls gallery; close it to end the demo"
  "$VX_WINE" explorer "/desktop=$desktop" "$gallery" &
  wait $!
  exit 0
fi

mkdir -p "$demo_dir"
# Pictures of an earlier demo would pass for this one's.
find "$demo_dir" -maxdepth 1 -type f \( -name '*.png' -o -name '*.bmp' \) -delete

vx_say "walking through the program's windows (pictures into $demo_arg)"
rc=0
with_ca "$VX_WINE" "$driver" --demo "$demo_arg" &
wait $! || rc=$?

vx_stop_wineserver "$prefix"
vx_xvfb_stop
convert_pictures

shots=()
while IFS= read -r f; do
  shots+=("$f")
done < <(find "$demo_dir" -maxdepth 1 -type f -name '*.png' | sort)
if [ ${#shots[@]} -eq 0 ]; then
  vx_say "no pictures were taken"
  exit 1
fi
vx_say "${#shots[@]} picture(s) in $demo_dir:"
for f in "${shots[@]}"; do
  printf '  %s\n' "$f"
done
exit "$rc"
