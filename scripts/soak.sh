#!/usr/bin/env bash
# The long version of the fault and endurance scenarios (1,000 link drops, five minutes of a
# rejected password ...) against the real program, for TARGET (without one, the target this
# machine runs). Bounded: the whole run is stopped after SOAK_LIMIT seconds (default 5400) and
# then counts as failed. Arguments go to the test program, e.g. --gtest_filter='*Flapping'.
set -euo pipefail
source "$(dirname "$0")/env.sh"
require_runnable_target
"$ROOT/scripts/build.sh" >/dev/null
echo "soaking $TARGET ($TARGET_WHY) on $(nproc) cores, at most ${SOAK_LIMIT:-5400} s" >&2
# The limit stops the test program itself: xvfb-run waits for its child whatever it is sent, and
# the programs under test end with the virtual display.
PORDEX_SOAK=1 xvfb-run -a -s "-screen 0 1280x1024x24" \
  timeout --kill-after=10 "${SOAK_LIMIT:-5400}" "$BUILD/wine-run" "$BUILD/tests/endurance/endurance_tests.exe" "$@"
