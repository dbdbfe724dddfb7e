# Sourced: start_display SIZE starts a private Xvfb display, exports DISPLAY and stops the
# display when the calling script exits (after the script's own cleanup, if it calls
# stop_display from its trap).
start_display() {
  local display_file
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp 3>"$display_file" 2>/dev/null &
  XVFB_PID=$!
  for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
  export DISPLAY=:$(cat "$display_file")
  rm -f "$display_file"
}

stop_display() {
  kill "$XVFB_PID" 2>/dev/null || true
}
