#!/usr/bin/env bash
# Sets up, then builds the program, the tests and the simulated dial-up service
# (the build installs the service into the project's Wine prefix).
set -euo pipefail
source "$(dirname "$0")/env.sh"
"$ROOT/scripts/setup.sh"
cmake --build "$BUILD"
