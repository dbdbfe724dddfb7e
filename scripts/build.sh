#!/usr/bin/env bash
# Sets up, then builds TARGET (without one, the target that runs here): the program, the tests and the
# simulated dial-up service (the build installs the service into the target's Wine prefix).
set -euo pipefail
source "$(dirname "$0")/env.sh"
"$ROOT/scripts/setup.sh"
cmake --build "$BUILD"
