#!/bin/sh
# The Makefile as a newcomer meets it: in a fresh copy of the source, with no
# build tree yet, `make windows-configured` sets up the packages and Qt for
# Windows (from the cache, built by now) and configures the Windows build
# with that Qt.
#
#   fresh_tree.sh SOURCE_DIR
set -u
source=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$source/tests/lib.sh"
need make cmake tar
(cd "$source" && sh tools/tracked-files | tar --null -T - -cf -) | tar -xf - -C "$work"
make -C "$work" windows-configured >"$work/make.log" 2>&1 ||
    { echo "FAIL: make windows-configured in a fresh tree: $(tail -n 20 "$work/make.log")"; exit 1; }
qt=$(sed -n 's/^Qt6_DIR:PATH=//p' "$work/build/windows/CMakeCache.txt")
case $qt in
*/qt-*-windows-*/lib/cmake/Qt6) echo "PASS: configured with $qt" ;;
*) echo "FAIL: the Windows build found Qt at '$qt', not Qt for Windows" && exit 1 ;;
esac
