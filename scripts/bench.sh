#!/usr/bin/env bash
# Measures the running program's speed against the simulated dial-up service, on a private
# Xvfb display: how soon the monitor redials a dropped link and what it costs while idle.
# TARGET=x86_64 measures the 64-bit build.
set -euo pipefail
source "$(dirname "$0")/env.sh"
"$ROOT/scripts/build.sh" >/dev/null
echo "target: $TARGET, $(nproc) cores, $(uname -m)"
# A drop is timed from the start of the control tool that makes it, so its start-up counts;
# one row also gives the time from the tool's exit, just after the drop.
xvfb-run -a -s "-screen 0 1280x1024x24" "$BUILD/wine-run" "$BUILD/tests/dialup/monitor_bench.exe" | iconv -f GBK
