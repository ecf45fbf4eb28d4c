#!/usr/bin/env bash
# The program as users start it, on an X server without a window manager
# (run through tests/support/run-on-xvfb), with a PulseAudio server whose
# output runs at 44100 Hz and whose monitor parec records. After the sound-path warning and after a wrong answer's dialog
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
recorder=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  [ -n "$recorder" ] && kill "$recorder" 2>/dev/null || true
  [ -n "$server" ] && kill "$server" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT


wait_gone() {
  local deadline=$((SECONDS + 10))
  while [ $SECONDS -lt $deadline ]; do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.05
  done
  echo "window '$1' stayed" >&2
  return 1
}
# Seconds of sound (first to last sample that is not zero) that the
# monitor's recording holds from byte $1 on, once the sound has had time
# to play.
sound_seconds() {
  sleep 3
  python3 - "$work/recording.raw" "$1" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()[int(sys.argv[2]):]
samples = struct.unpack('<%dh' % (len(data) // 2), data[: len(data) // 2 * 2])
loud = [i for i, s in enumerate(samples) if s]
print('%.2f' % ((loud[-1] - loud[0]) / 48000 if loud else 0))
PY
}
recorded() { stat -c %s "$work/recording.raw" 2>/dev/null || echo 0; }

# Chooses the continuous tone from the menu and tells whether it played.
tone_from_menu() {
  local from seconds
  from=$(recorded)
  xdotool key alt+s
  sleep 0.3
  xdotool key c
  seconds=$(sound_seconds "$from")
  # The continuous tone lasts two seconds; the buzz only 0.67.
  if awk -v s="$seconds" 'BEGIN { exit !(s < 1.9) }'; then
    echo "FAIL: Alt+S, C after $1 played no continuous tone (${seconds} s of sound)" >&2
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

for _ in $(seq 100); do pactl -s "unix:$work/pulse/socket" info >/dev/null 2>&1 && break; sleep 0.05; done
# The program plays through the server; its sink's monitor is the recording.
parec -s "unix:$work/pulse/socket" -d out.monitor --raw --format=s16le --rate=48000 \
  --channels=1 --latency-msec=20 >"$work/recording.raw" 2>/dev/null &
recorder=$!
PULSE_SERVER="unix:$work/pulse/socket" "$program" 2>/dev/null &
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
sleep 3                           # the pattern has played
xdotool key 0                     # "don't know": buzz, then the answer dialog
wait_for_window 'Hzのチェック$' >/dev/null
sleep 0.3
xdotool key Return                # closes the answer dialog
sleep 0.3
tone_from_menu "the answer dialog"
