#!/bin/sh
# Runs the paste benchmark on an X server of its own, once for each size of a
# single-line text on the clipboard, each in a fresh program.
set -eu
bench=$1
work=$(mktemp -d)
xvfb= clipboard=
trap 'kill $clipboard $xvfb 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
. "$(dirname "$0")/../tests/lib.sh"
need xclip
start_xvfb -screen 0 1024x768x24
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
clipboard_serves() { xclip -selection clipboard -o -t TARGETS >/dev/null 2>&1; }
# One letter first: what the program costs at rest with a word in the box.
for size in 1 1048576 10485760 104857600; do
    head -c $size /dev/zero | tr '\0' k >"$work/text"
    label=$(numfmt --to=iec-i --suffix=B --format=%.0f $size)
    xclip -selection clipboard -quiet -i "$work/text" 2>/dev/null &
    clipboard=$!
    poll 10 clipboard_serves || { echo "FAIL: xclip does not serve the clipboard"; exit 1; }
    "$bench" "$label"
    kill $clipboard
    wait $clipboard 2>/dev/null || true
    clipboard=
done
