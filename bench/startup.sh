#!/bin/sh
# Runs the start-up benchmark on an X server of its own (no window manager, so
# that only the programs themselves are timed).
set -eu
bench=$1 floor=$2 text=$3 program=$4 runs=${5:-31}
work=$(mktemp -d)
xvfb=
trap '[ -z "$xvfb" ] || kill $xvfb 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
. "$(dirname "$0")/../tests/lib.sh"
start_xvfb -screen 0 1024x768x24
"$bench" "$runs" "$floor" "$text" "$program"
