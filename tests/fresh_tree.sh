#!/bin/sh
# `make windows` in a fresh copy of the source, in another folder, as another
# user (with a copy of the cache's Qt for Windows), under another umask and
# time zone (zip stores owners and local times), builds with that Qt and gives
# this build's bytes: each FILE, named as in BUILD_DIR.
#   fresh_tree.sh SOURCE_DIR BUILD_DIR FILE...
set -u
source=$1 build=$2 && shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$source/tests/lib.sh"
need make cmake tar setpriv
tree=$work/tree
mkdir "$tree" "$work/cache" "$work/home"
(cd "$source" && sh tools/tracked-files | tar --null -T - -cf -) | tar -xf - -C "$tree"
qt=$(sed -n 's/^Qt6_DIR:PATH=//p' "$build/CMakeCache.txt")
cp -a "${qt%/lib/cmake/Qt6}" "$work/cache/" && chown -R 4242:4242 "$work"
(umask 077 && TZ=Etc/GMT-14 HOME=$work/home MORVANTEL_CACHE=$work/cache \
    setpriv --reuid=4242 --regid=4242 --clear-groups make -C "$tree" windows) >"$work/make.log" 2>&1 ||
    { echo "FAIL: make windows in a fresh tree: $(tail -n 20 "$work/make.log")"; exit 1; }
qt=$(sed -n 's/^Qt6_DIR:PATH=//p' "$tree/build/windows/CMakeCache.txt")
case $qt in
"$work"/cache/qt-*-windows-*/lib/cmake/Qt6) echo "PASS: configured with $qt" ;;
*) echo "FAIL: the Windows build found Qt at '$qt', not the cache's Qt for Windows" && exit 1 ;;
esac
status=0
for file; do
    sums=$(cd "$build" && sha256sum "$file" "$tree/build/windows/$file" | cut -c 1-16 | tr '\n' ' ')
    if cmp -s "$build/$file" "$tree/build/windows/$file"; then
        echo "PASS: $file the same: $sums"
    else
        echo "FAIL: $file differs between the builds: $sums" && status=1
    fi
done
exit $status
