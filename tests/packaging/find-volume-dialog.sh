#!/usr/bin/env bash
# Inside an X server: starts $EXE in $RUN_DIR, waits for a top-level window
# titled $VOLUME_TITLE, then ends the program. Exits 0 when the window appeared.
set -uo pipefail
cd "$RUN_DIR"
"$EXE" >"$LOG" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null' EXIT

shown() {
  if command -v xdotool >/dev/null; then
    # xdotool takes a regular expression; the brackets of the title are literal.
    local pattern="^${VOLUME_TITLE//[/\\[}"
    pattern="${pattern//]/\\]}\$"
    xdotool search --onlyvisible --name "$pattern" >/dev/null 2>&1 && return 0
  fi
  xwininfo -root -tree 2>/dev/null | grep -qF "\"$VOLUME_TITLE\""
}

# Bounded wait for the program's start-up, not a timing assumption.
for _ in $(seq 1 200); do
  if shown; then
    echo "window \"$VOLUME_TITLE\" is shown"
    exit 0
  fi
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"
    echo "the program ended (status $?) before showing \"$VOLUME_TITLE\""
    exit 1
  fi
  sleep 0.25
done
echo "no window \"$VOLUME_TITLE\" within 50 s"
xwininfo -root -tree 2>/dev/null | head -40
exit 1
