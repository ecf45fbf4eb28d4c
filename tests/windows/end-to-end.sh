#!/usr/bin/env bash
# kelvora.exe under Wine as a user starts it, on an Xvfb of its own, with
# ALSA's default device recording into a file (Wine's sound goes through
# winealsa). The volume dialog and the main window must appear with their
# titles in the language of the Windows the program runs on; Space must play
# a test pattern at 8000 Hz that arrives bit-exact; the right count must play
# the chime bit-exact; "0" (don't know) the buzz bit-exact and then the answer
# dialog; Esc closes that and Esc ends the program. The reference sounds come
# from kelvora-render.exe -o -, so its standard output is checked to be binary
# as well.
# Usage: end-to-end.sh KELVORA.EXE KELVORA-RENDER.EXE HELP-FOLDER [ja|en]
# (Japanese by default). A caller that has booted a Wine prefix and started an
# X server of its own names them in KELVORA_WINEPREFIX and KELVORA_WINE_DISPLAY
# with KELVORA_E2E_SHARED=1; they are then used and left running.
set -euo pipefail
program="$1"
render="$2"
help="$3"
language="${4:-ja}"
# Wine gives a Windows program the display language of LANG (LC_ALL first).
case $language in
  ja) locale=ja_JP.UTF-8 volume_title='スピーカの音量設定 [Kelvora]' answer_title='10000 Hzのチェック' ;;
  en) locale=C.UTF-8 volume_title='Speaker Volume [Kelvora]' answer_title='Check at 10000 Hz' ;;
  *) echo "end-to-end.sh: no language '$language' (ja or en)" >&2; exit 2 ;;
esac
main_title='Kelvora ver 1.000'
shared="${KELVORA_E2E_SHARED:-0}"
. "$(cd "$(dirname "$0")" && pwd)/own-prefix-and-display.sh"
if [ "$shared" != 1 ]; then
  start_own_prefix_and_display
else
  export DISPLAY="$KELVORA_WINE_DISPLAY"
fi

# The reference images, whole, as the program plays them.
"$wine_run" "$render" pattern --frequency 8000 --volume 9000 --slots 11111 -o - >"$work/pattern.wav"
"$wine_run" "$render" pattern --frequency 10000 --volume 9000 --slots 11111 -o - >"$work/pattern2.wav"
"$wine_run" "$render" chime --volume 9000 -o - >"$work/chime.wav"
"$wine_run" "$render" buzz --volume 9000 -o - >"$work/buzz.wav"
for f in pattern pattern2 chime buzz; do
  size=$(stat -c %s "$work/$f.wav")
  case $f in pattern*) want=192044 ;; chime) want=48044 ;; buzz) want=64044 ;; esac
  if [ "$size" != "$want" ]; then
    echo "FAIL: kelvora-render.exe $f -o - wrote $size bytes, not $want (standard output not binary?)" >&2
    exit 1
  fi
done


write_alsa_capture "$work/asound.conf" "$work/recording.raw"

window_timeout=60
# A title as a pattern that matches it alone (xdotool ignores case, so the
# window found is then held to the title exactly).
regex() { printf '%s' "^$(printf '%s' "$1" | sed 's/[][\\.^$*+?(){}|]/\\&/g')\$"; }
wait_for_title() {
  local id name
  id=$(wait_for_window "$(regex "$1")") || return 1
  name=$(xdotool getwindowname "$id")
  [ "$name" = "$1" ] || { echo "FAIL: a window is titled '$name', not '$1'" >&2; return 1; }
  echo "$id"
}
program_log="$work/program.log"
# Waits until the samples of image $1 (with "pattern": a five-slot pattern
# built from its bursts) lie in the recording, bit for bit; prints the count
# of bursts of a pattern. ALSA's file plugin may start the file anew for
# each sound, so the whole recording is searched.
wait_for_sound() {
  python3 - "$work/recording.raw" "$work/$1" "${2:-}" <<'PY'
import array, os, sys, time
samples = open(sys.argv[2], "rb").read()[44:]
wanted = [(samples, 0)]
if sys.argv[3] == "pattern":
    slot = len(samples) // 5  # 19200 samples: the burst, then silence
    burst = samples[:slot]
    wanted = [(b"".join(burst if mask >> k & 1 else bytes(slot) for k in range(5)),
               bin(mask).count("1")) for mask in range(1, 32)]
# The program writes each sample in the audio engine's mix format, on both
# front channels: 16-bit integers or 32-bit floats of full scale 1.0 (exact
# for every 16-bit sample); the mono image as it is for a mono output.
def encodings(image):
    s16 = array.array("h", image)
    yield image
    yield array.array("h", [v for v in s16 for _ in (0, 1)]).tobytes()
    yield array.array("f", [v / 32768 for v in s16 for _ in (0, 1)]).tobytes()
wanted = [(encoded, bursts) for image, bursts in wanted for encoded in encodings(image)]
deadline = time.time() + 20
size = 0
while time.time() < deadline:
    try:
        recording = open(sys.argv[1], "rb").read()
    except FileNotFoundError:
        recording = b""
    size = len(recording)
    for image, bursts in wanted:
        if recording.find(image) >= 0:
            if bursts:
                print(bursts)
            sys.exit(0)
    time.sleep(0.3)
sys.exit("not found bit for bit in the %d bytes recorded" % size)
PY
}

mkdir -m 700 "$work/runtime"
cp -r "$help" "$work/help"
cd "$work"
LC_ALL=$locale LANG=$locale XDG_RUNTIME_DIR="$work/runtime" PULSE_SERVER="unix:$work/none" \
  ALSA_CONFIG_PATH="$work/asound.conf" \
  "$wine_run" "$program" >"$work/program.log" 2>&1 &
pid=$!

wait_for_title "$volume_title" >/dev/null
echo "ok: the volume dialog"
sleep 0.5
xdotool key Return
main=$(wait_for_title "$main_title")
echo "ok: the main window"
# Its icon, as Wine hands it to the X server, is the program's: the opaque
# pixels of its 32 pixel image are those of res/icons/kelvora.ico.
xprop -id "$main" -notype 32c _NET_WM_ICON >"$work/window-icon" 2>&1 || true
python3 - "$work/window-icon" "$here/../../res/icons/kelvora.ico" <<'PY' ||
import struct, sys
numbers = [int(n) for n in open(sys.argv[1]).read().partition("=")[2].replace(",", " ").split()]
window = {}
while len(numbers) >= 2:
    w, h = numbers[0], numbers[1]
    window[w] = numbers[2:2 + w * h]
    numbers = numbers[2 + w * h:]
if 32 not in window:
    sys.exit("the main window has no 32 pixel icon (it has %s)" % sorted(window))
icon = open(sys.argv[2], "rb").read()
for k in range(struct.unpack_from("<H", icon, 4)[0]):
    w, _, _, _, _, _, size, offset = struct.unpack_from("<4B2HII", icon, 6 + 16 * k)
    if w == 32:
        pixels = icon[offset + 40:offset + 40 + 32 * 32 * 4]  # BGRA, the bottom row first
        break
different = 0
for y in range(32):
    for x in range(32):
        b, g, r, a = pixels[4 * ((31 - y) * 32 + x):][:4]
        if a == 255 and window[32][y * 32 + x] & 0xFFFFFFFF != (a << 24 | r << 16 | g << 8 | b):
            different += 1
if different:
    sys.exit("%d opaque pixels of the window's icon differ from the program's icon" % different)
PY
  { echo "FAIL: the main window's icon" >&2; exit 1; }
echo "ok: the main window shows the program's icon"
sleep 2
# A warning about the output (same caption) would stand over the main window.
if [ "$(xdotool search --onlyvisible --name "$(regex "$main_title")" | wc -l)" -ge 2 ]; then
  echo "note: a sound-path warning was shown; closed" >&2
  xdotool key Return
  sleep 0.5
fi
xdotool key space
bursts=$(wait_for_sound pattern.wav pattern) || { echo "FAIL: Space played no pattern at 8000 Hz" >&2; exit 1; }
echo "ok: Space played a pattern of $bursts bursts at 8000 Hz, bit for bit"
sleep 0.5
xdotool key "$bursts"
wait_for_sound chime.wav || { echo "FAIL: the right answer $bursts played no chime" >&2; exit 1; }
echo "ok: the right answer played the chime, bit for bit"
sleep 1
xdotool key space
wait_for_sound pattern2.wav pattern >/dev/null ||
  { echo "FAIL: the second Space played no pattern at 10000 Hz" >&2; exit 1; }
sleep 0.5
xdotool key 0
wait_for_sound buzz.wav || { echo "FAIL: don't know played no buzz" >&2; exit 1; }
wait_for_title "$answer_title" >/dev/null
echo "ok: don't know played the buzz, bit for bit, and the answer dialog opened"
sleep 0.5
xdotool key Escape
sleep 1
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool key Escape
for _ in $(seq 150); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "FAIL: Esc did not end the program" >&2
  exit 1
fi
wait "$pid" || true
pid=
echo "ok: Esc ended the program"
