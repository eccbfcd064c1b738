#!/usr/bin/env bash
# With the simulator linked and then stopped (SIGSTOP), 20 clicks on the main window's Gauge panel
# under Xvfb, each timed from the click (xdotool) to the gauge showing or hiding; prints the median
# and the maximum. The program runs in the desktop test program (its own Xvfb and sound server).
#   scripts/measure-stalled-clicks.sh [build-dir]
set -euo pipefail
BUILD=${1:-build}
cmake --build "$BUILD" --target test_desktop vantrel-sim >/dev/null
"$BUILD/tests/test_desktop" --gtest_also_run_disabled_tests \
  --gtest_filter='DesktopProgram.DISABLED_MeasureGaugeClicksWithTheSimulatorStopped' 2>/dev/null |
  grep -E "^gauge clicks|FAILED|SKIPPED"
