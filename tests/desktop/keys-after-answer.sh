#!/usr/bin/env bash
# The program as users start it, on an X server without a window manager
# (run through tests/support/run-on-xvfb), with ALSA's default device
# recording into a file. After a wrong answer's dialog is closed with Enter,
# Alt+S and C must choose the continuous tone from the menu at once; if the
# main window had not got the keyboard back, C would restart instead and
# nothing would play.
# Usage: keys-after-answer.sh PROGRAM
set -euo pipefail
program="$1"
work="$(mktemp -d)"
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

cat >"$work/asound.conf" <<CONF
pcm.!default {
  type file
  slave.pcm { type null }
  format "raw"
  file "$work/recording.raw"
}
CONF

# Waits until a visible window's title matches; prints its id.
wait_for_window() {
  local deadline=$((SECONDS + 10)) id
  while [ $SECONDS -lt $deadline ]; do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.05
  done
  echo "no window '$1'" >&2
  return 1
}
wait_gone() {
  local deadline=$((SECONDS + 10))
  while [ $SECONDS -lt $deadline ]; do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.05
  done
  echo "window '$1' stayed" >&2
  return 1
}
# The size of the last recording once it has stopped growing.
settled_size() {
  local last=-1 now
  while :; do
    sleep 0.5
    now=$(stat -c %s "$work/recording.raw" 2>/dev/null || echo 0)
    [ "$now" = "$last" ] && { echo "$now"; return; }
    last=$now
  done
}

ALSA_CONFIG_PATH="$work/asound.conf" "$program" 2>/dev/null &
pid=$!
wait_for_window 'スピーカの音量設定 \[Kelvora\]' >/dev/null
xdotool key Return
wait_gone 'スピーカの音量設定'
wait_for_window '^Kelvora ver 1\.000$' >/dev/null
sleep 0.3
xdotool key plus                  # start a check
sleep 0.5
settled_size >/dev/null           # the pattern has played
xdotool key 0                     # "don't know": buzz, then the answer dialog
wait_for_window 'Hzのチェック$' >/dev/null
sleep 0.3
xdotool key Return                # closes the answer dialog
sleep 0.3
xdotool key alt+s
sleep 0.3
xdotool key c
size=$(settled_size)
# The continuous tone is 192000 bytes of samples; the buzz only 64000.
if [ "$size" -lt 192000 ]; then
  echo "FAIL: Alt+S, C after the answer dialog played no continuous tone (last recording $size bytes)" >&2
  exit 1
fi
echo "ok: the menu took Alt+S at once after the answer dialog (recording $size bytes)"
