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

# check_setup TARGET SETUP: installs, starts, upgrades and uninstalls TARGET's Pordex.exe with
# SETUP in a fresh prefix.
check_setup() {
  in_target "$1" xvfb-run -a -s "-screen 0 1024x768x24" "$ROOT/tests/package/check_setup.sh" "$2" \
    "$BUILDS/$1/Pordex.exe" "$BUILDS/$1/tests/ui/window_driver.exe"
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
  check_setup i686 "$(sed -n 2p <<<"$artefacts")" || failed+=(setup)
else
  # The setup program is 32-bit, as NSIS makes them, and Debian's 64-bit Wine runs none: its
  # script is run made 64-bit around the x86_64 build instead.
  echo "the setup program is built, not run ($(why_no_32bit_wine)); its script runs made for x86_64"
  setup=$(sed -n 2p <<<"$artefacts") stage=$BUILDS/x86_64/package-stage
  version=${setup##*/Pordex-} version=${version%-setup.exe}
  rm -rf "$stage" && mkdir -p "$stage" && cp "$BUILDS/x86_64/Pordex.exe" "$BUILDS/i686/package-stage/使用说明.txt" "$stage"
  makensis -V2 -INPUTCHARSET UTF8 -DAMD64 "-DVERSION=$version" "-DSTAGE=$stage" \
    "-DOUTFILE=$BUILDS/x86_64/Pordex-setup.exe" "$ROOT/packaging/pordex.nsi" &&
    check_setup x86_64 "$BUILDS/x86_64/Pordex-setup.exe" || failed+=(setup)
fi

if [ ${#failed[@]} -gt 0 ]; then
  echo "failed: ${failed[*]}" >&2
  exit 1
fi
echo "passed: every suite that this machine can run"
