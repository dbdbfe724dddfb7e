#!/usr/bin/env bash
# Photographs Pordex.exe's windows on Wine's virtual desktop (so captions, the task bar and the
# notification area are drawn) on a private Xvfb display: the Main window, the New-connection
# window, the About window and the Main window widened to show its log. Builds first; the PNGs
# go to $BUILD/screenshots/ (or OUT). Without TARGET, it photographs the target this machine runs.
# DPI=120, 144 or 192 photographs at that display scaling (the prefix's LogPixels, 96 again after).
set -euo pipefail
source "$(dirname "$0")/env.sh"
require_runnable_target
"$ROOT/scripts/build.sh" >/dev/null

DESKTOP=Pordex
SIZE=${SIZE:-1024x768}  # larger for high DPI: the unfolded Main window is 1174 px wide at 144
OUT=${OUT:-$BUILD/screenshots}
DRIVER=$BUILD/tests/ui/window_driver.exe
mkdir -p "$OUT"
set_dpi() { wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }
echo "photographing $TARGET ($TARGET_WHY)" >&2

source "$ROOT/scripts/display.sh"
start_display "$SIZE"
# The program outlives its display unless it is closed first.
cleanup() {
  wine "$DRIVER" quit "$DESKTOP" </dev/null >/dev/null 2>&1 || true
  stop_display
  set_dpi 96
}
trap cleanup EXIT
set_dpi "${DPI:-96}"

wine explorer "/desktop=$DESKTOP,$SIZE" "$(wine winepath -w "$BUILD/Pordex.exe")" </dev/null >/dev/null 2>&1 &

# shoot SCENE NAME: the driver sets the scene up and returns once it is on the screen.
shoot() {
  wine "$DRIVER" "$1" "$DESKTOP" </dev/null >/dev/null 2>&1 || { echo "scene $1 could not be set up" >&2; exit 1; }
  sleep 1
  import -display "$DISPLAY" -window root "$OUT/$2.png"
  echo "$OUT/$2.png"
}

shoot main main-window
shoot new-connection new-connection-window
shoot about about-window
shoot wide main-window-wide
