#!/bin/sh
# Runs the start-up benchmark on an X server of its own (no window manager, so
# that only the programs themselves are timed).
set -eu
bench=$1 floor=$2 text=$3 program=$4 runs=${5:-31}
work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
DISPLAY=:$(cat "$work/display") "$bench" "$runs" "$floor" "$text" "$program"
