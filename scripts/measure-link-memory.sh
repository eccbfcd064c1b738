#!/usr/bin/env bash
# Runs the program under Xvfb linked to vantrel-sim at a 1 s monitor period and prints its peak
# resident memory (VmHWM) after 1 minute and after MINUTES minutes (default 10). Screenshots of
# the main window unlinked and linked mid-flight go to OUT (default /tmp/vantrel-shots).
#   scripts/measure-link-memory.sh [build-dir] [minutes]
set -euo pipefail
BUILD=${1:-build}
MINUTES=${2:-10}
OUT=${OUT:-/tmp/vantrel-shots}
BIN="$BUILD/vantrel"
mkdir -p "$OUT"
WORK=$(mktemp -d)
export VANTREL_IPC_DIR="$WORK/ipc"
mkdir -m 700 "$VANTREL_IPC_DIR"
export XDG_RUNTIME_DIR="$WORK/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
DISPLAY_NUM=$((100 + RANDOM % 100))
export DISPLAY=":$DISPLAY_NUM"

pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
sleep 1

main_window() { # the main window: the widest window whose title begins with the program's
  local best="" widest=0 w
  for id in $(xdotool search --onlyvisible --name "^Vantrel Suite"); do
    w=$(xwininfo -id "$id" | awk '/Width:/ {print $2}')
    if [ "$w" -gt "$widest" ]; then widest=$w; best=$id; fi
  done
  echo "$best"
}
shot() { # name: the main window's picture as PNG
  xwd -silent -id "$(main_window)" -out "$WORK/$1.xwd"
  python3 "$(dirname "$0")/xwd-to-png.py" "$WORK/$1.xwd" "$OUT/$1.png"
}

"$BIN/vantrel" >"$WORK/program.log" 2>&1 &
PROGRAM=$!
pids+=($PROGRAM)
# Without a simulator installation the start-up asks whether to go on: "Yes" (the default button).
for _ in 1 2 3; do
  sleep 2
  xdotool key Return || true
done
sleep 5 # the splash has gone
shot main-unlinked

"$BIN/vantrel-sim" --dir "$VANTREL_IPC_DIR" --scenario data/scenarios/eddh-eham.txt --scale 10 --quiet \
  < <(sleep $((MINUTES * 60 + 60))) >/dev/null 2>&1 &
pids+=($!)
sleep 12 # the monitor's next tick (10 s) links
# The UIPC lamp: 10 s -> 30 s -> 1 s.
WIN=$(main_window)
for _ in 1 2; do
  xdotool mousemove --window "$WIN" 334 18 click 1
  sleep 0.5
done
START=$(date +%s)
sleep 60
echo "after 1 min:  $(grep VmHWM /proc/$PROGRAM/status) $(grep VmRSS /proc/$PROGRAM/status)"
shot main-linked
sleep $((MINUTES * 60 - ($(date +%s) - START)))
echo "after $MINUTES min: $(grep VmHWM /proc/$PROGRAM/status) $(grep VmRSS /proc/$PROGRAM/status)"
