#!/usr/bin/env bash
# Sets up, builds, and runs every test: unit tests and end-to-end tests under Wine on a
# private Xvfb display.
set -euo pipefail
source "$(dirname "$0")/env.sh"
"$ROOT/scripts/build.sh"
exec xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$BUILD" --output-on-failure -j2 "$@"
