#!/bin/sh
# The committed pictures are what their sources make, byte for byte.
#
#   pictures.sh RESOURCE_DIR
set -u
. "$(dirname "$0")/lib.sh"
need /usr/bin/python3 rsvg-convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$1" "$work/resources"
/usr/bin/python3 "$work/resources/make-pictures" || { echo "FAIL: make-pictures failed"; exit 1; }
changed=$(diff -rq "$1" "$work/resources") || { echo "FAIL: not what the sources make: $changed"; exit 1; }
echo "PASS: the pictures are what their sources make"
