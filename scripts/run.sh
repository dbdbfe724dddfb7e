#!/usr/bin/env bash
# Sets up, builds, and starts Pordex.exe under Wine against the simulated dial-up service,
# headless on a private Xvfb display. The simulated phonebook gets a broadband entry the first
# time. Prints where the screenshot went; Ctrl-C (or closing the program) ends it.
# Without TARGET, it runs the 32-bit product where 32-bit Wine runs here, else the 64-bit build.
set -euo pipefail
source "$(dirname "$0")/env.sh"
require_runnable_target
"$ROOT/scripts/build.sh" >/dev/null
source "$ROOT/scripts/display.sh"

SIZE=1024x768
DESKTOP=Pordex
SHOT=$BUILD/screenshots/run.png
RASCTL=(wine rasctl.exe)

seed_phonebook() {
  if ! "${RASCTL[@]}" state 2>/dev/null | iconv -f GBK | grep -q '^entry '; then
    "${RASCTL[@]}" entry add 宽带连接 >/dev/null
    "${RASCTL[@]}" account add demo@isp demo >/dev/null
  fi
}

start_display "$SIZE"
trap 'wineserver -k 2>/dev/null; stop_display' EXIT
seed_phonebook
wine explorer "/desktop=$DESKTOP,$SIZE" "$(wine winepath -w "$BUILD/Pordex.exe")" </dev/null >/dev/null 2>&1 &
program=$!
# Returns once the Main window is on the screen.
wine "$BUILD/tests/ui/window_driver.exe" main "$DESKTOP" </dev/null >/dev/null 2>&1
sleep 1
mkdir -p "$(dirname "$SHOT")"
import -display "$DISPLAY" -window root "$SHOT"
echo "Pordex ($TARGET, $TARGET_WHY) is running on display $DISPLAY; screenshot: $SHOT"
echo "The simulated service: $BUILD/wine-run rasctl state | iconv -f GBK (see rassim/README.md)."
wait "$program"
