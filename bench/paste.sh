#!/bin/sh
# Runs the paste benchmark on an X server of its own, once for each size of a
# single-line text on the clipboard, each in a fresh program.
set -eu
bench=$1
work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
clipboard=
trap 'kill $clipboard $xvfb 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display") XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
# One letter first: what the program costs at rest with a word in the box.
for size in 1 1048576 10485760 104857600; do
    head -c $size /dev/zero | tr '\0' k >"$work/text"
    label=$(numfmt --to=iec-i --suffix=B --format=%.0f $size)
    xclip -selection clipboard -quiet -i "$work/text" 2>/dev/null &
    clipboard=$!
    for _ in $(seq 100); do
        xclip -selection clipboard -o -t TARGETS >/dev/null 2>&1 && break
        sleep 0.1
    done
    "$bench" "$label"
    kill $clipboard
    wait $clipboard 2>/dev/null || true
    clipboard=
done
