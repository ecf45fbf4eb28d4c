#!/usr/bin/env bash
# Inside an X server: starts $EXE in $RUN_DIR as a desktop launcher would, waits
# for the volume dialog ($VOLUME_TITLE), closes it with Enter, waits for the
# main window ($MAIN_TITLE) and presses F1. The program hands the help page to
# xdg-open, which is a stand-in from $FAKE_BIN that appends its arguments to
# $OPENED. Exits 0 when both windows appeared and something was opened.
set -uo pipefail
cd "$RUN_DIR"
PATH="$FAKE_BIN:$PATH" "$EXE" >"$LOG" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null' EXIT

# xdotool takes a regular expression; the title's brackets are literal.
title_pattern() {
  printf '^%s$' "$(sed 's/[][\.*^$()+?{}|]/\\&/g' <<<"$1")"
}

# Bounded waits for the program's own pace, not timing assumptions.
wait_for_window() {
  local title="$1" id
  for _ in $(seq 1 200); do
    id="$(xdotool search --onlyvisible --name "$(title_pattern "$title")" 2>/dev/null | head -n 1)"
    if [ -n "$id" ]; then
      echo "window \"$title\" is shown"
      window="$id"
      return 0
    fi
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      echo "the program ended (status $?) before showing \"$title\""
      return 1
    fi
    sleep 0.25
  done
  echo "no window \"$title\" within 50 s"
  xwininfo -root -tree 2>/dev/null | head -n 40
  return 1
}

press() {
  xdotool windowfocus --sync "$1" && xdotool key "$2"
}

wait_for_window "$VOLUME_TITLE" || exit 1
# The dialog's focus starts on its OK button, so Enter ends it.
press "$window" Return || exit 1
wait_for_window "$MAIN_TITLE" || exit 1
press "$window" F1 || exit 1
for _ in $(seq 1 120); do
  if [ -s "$OPENED" ]; then
    echo "F1 opened: $(cat "$OPENED")"
    exit 0
  fi
  sleep 0.25
done
echo "F1 opened nothing within 30 s"
exit 1
