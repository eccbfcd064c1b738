#!/usr/bin/env bash
# With the simulator linked and then stopped (SIGSTOP), clicks through the window system under
# Xvfb, each timed from the click (xdotool) to what the pilot sees: the Gauge panel (the gauge
# shows or hides), Alert (its cue and colour), the UIPC lamp (its cue and new period); then Exit
# until every window is hidden. Prints the median and the maximum of each. The program runs in
# the desktop test program (its own Xvfb and sound server).
#   scripts/measure-stalled-clicks.sh [build-dir]
set -euo pipefail
BUILD=${1:-build}
cmake --build "$BUILD" --target test_desktop vantrel-sim >/dev/null
"$BUILD/tests/test_desktop" --gtest_also_run_disabled_tests --gtest_filter='StalledClicks.DISABLED_*' 2>/dev/null |
  grep -E "with the simulator stopped|FAILED|SKIPPED"
