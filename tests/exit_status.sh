#!/bin/sh
# Starts the real program on an X server of its own, answers File › Exit with
# Yes as a person would, and checks that the process ends with status 0 and
# leaves no window behind. Every wait is bounded; nothing is left running.
set -u
program=$1
work=$(mktemp -d)
xvfb="" wm="" app=""
cleanup() {
    for pid in $app $wm $xvfb; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
DISPLAY=:$(cat "$work/display")
export DISPLAY
openbox >"$work/openbox.log" 2>&1 &
wm=$!

"$program" >"$work/program.log" 2>&1 &
app=$!
main=$(timeout 10 xdotool search --sync --name '^Tessar Morvantel - English') || fail "no main window"
timeout 10 xdotool windowactivate --sync "$main" || fail "main window not activated"
xdotool key --clearmodifiers ctrl+x
timeout 10 xdotool search --sync --name '^Tessar Morvantel$' >/dev/null || fail "no exit confirmation"
xdotool key --clearmodifiers Return

for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "the program did not end after Yes"
wait "$app"
status=$?
app=""
[ "$status" -eq 0 ] || fail "exit status $status"
echo "PASS: File, Exit, Yes ended the program with status 0"
