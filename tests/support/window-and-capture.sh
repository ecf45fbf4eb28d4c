# Shared by the shell tests that drive the real program on an X server and
# read its sound back. Source it; it defines:
#   write_alsa_capture CONF RAW   an ALSA configuration whose default device
#                                 writes every sample, raw, to RAW
#   wait_for_window TITLE         prints the id of the first visible window
#                                 whose title matches TITLE; waits up to
#                                 $window_timeout seconds (10), and on failure
#                                 shows the end of $program_log when it is set

write_alsa_capture() {
  cat >"$1" <<CONF
pcm.!default {
  type file
  slave.pcm { type null }
  format "raw"
  file "$2"
}
CONF
}

wait_for_window() {
  local deadline=$((SECONDS + ${window_timeout:-10})) id
  while [ $SECONDS -lt $deadline ]; do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.05
  done
  echo "FAIL: no window '$1'" >&2
  if [ -n "${program_log:-}" ]; then tail -5 "$program_log" >&2; fi
  return 1
}
