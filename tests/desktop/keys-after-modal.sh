#!/usr/bin/env bash
# The program as users start it, on an X server without a window manager
# (run through tests/support/run-on-xvfb), with ALSA's default device
# recording into a file and a PulseAudio server whose output runs at
# 44100 Hz. After the sound-path warning and after a wrong answer's dialog
# are closed with Enter, Alt+S and C must choose the continuous tone from the
# menu at once; if the main window had not got the keyboard back, C would
# restart instead and nothing would play.
# Usage: keys-after-modal.sh PROGRAM
set -euo pipefail
. "$(cd "$(dirname "$0")" && pwd)/../support/window-and-capture.sh"
program="$1"
work="$(mktemp -d)"
pid=
server=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  [ -n "$server" ] && kill "$server" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

write_alsa_capture "$work/asound.conf" "$work/recording.raw"

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

# Chooses the continuous tone from the menu and tells whether it played.
tone_from_menu() {
  xdotool key alt+s
  sleep 0.3
  xdotool key c
  local size
  size=$(settled_size)
  # The continuous tone is 192000 bytes of samples; the buzz only 64000.
  if [ "$size" -lt 192000 ]; then
    echo "FAIL: Alt+S, C after $1 played no continuous tone (last recording $size bytes)" >&2
    exit 1
  fi
  echo "ok: the menu took Alt+S at once after $1"
}

mkdir -m 700 "$work/pulse" "$work/home"
# A server set to one rate keeps the sink at 44100 Hz for our stream too.
mkdir -p "$work/home/.config/pulse"
echo "alternate-sample-rate = 44100" >"$work/home/.config/pulse/daemon.conf"
cat >"$work/default.pa" <<PA
load-module module-native-protocol-unix auth-anonymous=1 socket=$work/pulse/socket
load-module module-null-sink sink_name=out rate=44100 norewinds=1
set-default-sink out
PA
HOME="$work/home" XDG_RUNTIME_DIR="$work/pulse" pulseaudio -n -F "$work/default.pa" \
  --daemonize=no --exit-idle-time=-1 --use-pid-file=no --system=false 2>/dev/null &
server=$!
for _ in $(seq 100); do [ -S "$work/pulse/socket" ] && break; sleep 0.05; done

PULSE_SERVER="unix:$work/pulse/socket" ALSA_CONFIG_PATH="$work/asound.conf" "$program" 2>/dev/null &
pid=$!
wait_for_window 'スピーカの音量設定 \[Kelvora\]' >/dev/null
xdotool key Return
wait_gone 'スピーカの音量設定'
# The main window and, over it, the warning carry the same caption.
deadline=$((SECONDS + 10))
until [ "$(xdotool search --onlyvisible --name '^Kelvora ver 1\.000$' 2>/dev/null | wc -l)" -ge 2 ]; do
  [ $SECONDS -lt $deadline ] || { echo "FAIL: no warning about the 44100 Hz output" >&2; exit 1; }
  sleep 0.05
done
sleep 0.3
xdotool key Return                # closes the warning
sleep 0.3
tone_from_menu "the sound-path warning"
xdotool key plus                  # start a check
sleep 0.5
settled_size >/dev/null           # the pattern has played
xdotool key 0                     # "don't know": buzz, then the answer dialog
wait_for_window 'Hzのチェック$' >/dev/null
sleep 0.3
xdotool key Return                # closes the answer dialog
sleep 0.3
tone_from_menu "the answer dialog"
