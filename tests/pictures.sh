#!/bin/sh
# The committed pictures are what their sources make: the same size, no pixel
# more than 8 levels of a channel (3 %) away, as SVG renderers and JPEG
# encoders of two releases round otherwise; every other file byte for byte.
#   pictures.sh RESOURCE_DIR
set -u
. "$(dirname "$0")/lib.sh"
need /usr/bin/python3 rsvg-convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$1" "$work/resources"
/usr/bin/python3 "$work/resources/make-pictures" || { echo "FAIL: make-pictures failed"; exit 1; }
/usr/bin/python3 - "$1" "$work/resources" <<'COMPARE' || exit 1
import filecmp
import sys
from pathlib import Path

from PIL import Image, ImageChops

committed, remade = Path(sys.argv[1]), Path(sys.argv[2])
faults = []
for ours in sorted(path for path in committed.rglob("*") if path.is_file()):
    theirs = remade / ours.relative_to(committed)
    if filecmp.cmp(ours, theirs, shallow=False):
        continue
    if ours.suffix not in {".jpg", ".png", ".ppm"}:
        faults.append(f"{ours.name} differs")
        continue
    a, b = Image.open(ours).convert("RGB"), Image.open(theirs).convert("RGB")
    worst = a.size == b.size and max(high for _, high in ImageChops.difference(a, b).getextrema())
    if a.size != b.size or worst > 8:
        faults.append(f"{ours.name} looks otherwise: {b.size}, up to {worst} levels apart")
if faults:
    sys.exit("FAIL: not what the sources make: " + "; ".join(faults))
COMPARE
echo "PASS: the pictures are what their sources make"
