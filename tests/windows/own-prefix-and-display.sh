# shellcheck shell=bash
# Sourced by the Wine tests that start the program as a user would: a work
# folder, and a Wine prefix and an Xvfb of the test's own, all stopped and
# removed at exit (the program first, if the test put its id in `pid`; the
# prefix's wineserver, unless the caller's shared one is used; Xvfb by its
# id). Leaves `work`, `wine_run` and, once start_own_prefix_and_display has
# run, KELVORA_WINEPREFIX, DISPLAY and KELVORA_WINE_DISPLAY set.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
. "$here/../support/window-and-capture.sh"
wine_run="$here/../support/run-under-wine"
work="$(mktemp -d)"
xvfb_pid=
pid=
own_prefix=0
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  [ "$own_prefix" = 1 ] && { WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true; }
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# Wine's desktop process stays with the prefix's wineserver, so in a prefix
# of the test's own it shows our windows on our display alone.
start_own_prefix_and_display() {
  own_prefix=1
  export KELVORA_WINEPREFIX="$work/prefix"
  mkdir "$KELVORA_WINEPREFIX"
  mkfifo "$work/display"
  Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1280x1024x24 3>"$work/display" \
    2>"$work/xvfb.log" &
  xvfb_pid=$!
  read -r -t 30 number <"$work/display" || { echo "FAIL: Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$number" KELVORA_WINE_DISPLAY=":$number"
  "$wine_run" wineboot --init >/dev/null 2>&1
}
