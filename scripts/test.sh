#!/usr/bin/env bash
# Sets up, builds and runs every test: unit and end-to-end tests under Wine on a private Xvfb
# display. The x86_64 build is tested on every machine; the i686 product is built everywhere and
# tested as well where this machine executes 32-bit code; then the release zip and the setup
# program are made and checked, the setup program run where the product runs.
# Arguments go to every ctest run.
set -euo pipefail
source "$(dirname "$0")/env.sh"

# in_target TARGET COMMAND...: runs COMMAND with the target's build folder, prefix and locale.
in_target() (
  TARGET=$1 BUILD=$BUILDS/$1
  source "$ROOT/scripts/env.sh"
  shift
  "$@"
)
build() { in_target "$1" "$ROOT/scripts/build.sh"; }
# A failing test runs once more, as a safety net only: the suite must pass without it, so every
# test that needed its second run is named at the end (its first failure is in the output).
run_suite() {
  local log=$BUILDS/$1/ctest.log
  in_target "$1" xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir "$BUILDS/$1" --output-on-failure -j2 --repeat until-pass:2 "${@:2}" | tee "$log"
  local status=${PIPESTATUS[0]}
  if grep -aq '\*\*\*' "$log"; then
    echo "$1: tests that failed or timed out at their first run:" >&2
    grep -a '\*\*\*' "$log" >&2
  fi
  return "$status"
}

failed=()
echo "== x86_64: the whole suite under 64-bit Wine (every machine)"
build x86_64
run_suite x86_64 "$@" || failed+=(x86_64)
build i686
if runs_32bit_wine; then
  echo "== i686: the whole suite of the product under 32-bit Wine (this machine runs 32-bit code)"
else
  echo "== i686: the product is built and checked, not run: $(why_no_32bit_wine)"
fi
run_suite i686 "$@" || failed+=(i686)

echo "== the release zip and the setup program of the product"
if ! artefacts=$("$ROOT/scripts/package.sh") ||
   ! "$ROOT/tests/package/check_package.sh" "$(sed -n 1p <<<"$artefacts")" "$BUILDS/i686/Pordex.exe" "$ROOT" "$BUILDS"; then
  failed+=(package)
elif runs_32bit_wine; then
  in_target i686 xvfb-run -a -s "-screen 0 1024x768x24" "$ROOT/tests/package/check_setup.sh" \
    "$(sed -n 2p <<<"$artefacts")" "$BUILDS/i686/Pordex.exe" "$BUILDS/i686/tests/ui/window_driver.exe" ||
    failed+=(setup)
else
  # Debian's 64-bit Wine runs no 32-bit program, and the setup program is one, as NSIS makes them.
  echo "the setup program is built, not run: $(why_no_32bit_wine)"
fi

if [ ${#failed[@]} -gt 0 ]; then
  echo "failed: ${failed[*]}" >&2
  exit 1
fi
echo "passed: every suite that this machine can run"
