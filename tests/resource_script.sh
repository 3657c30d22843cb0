#!/bin/sh
# Compiles the Windows resource script as a Windows build would, decompiles the
# result and holds it against what it must hold: the icon group with its one
# 32 x 32, 16-colour image, and the version block, all US English, and
# nothing else. The image itself is the program icon file's, with a clear mask.
#
#   resource_script.sh RESOURCE_DIR
set -u
resources=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}
windres=i686-w64-mingw32-windres

(cd "$resources" && timeout 60 $windres --preprocessor=cpp --preprocessor-arg=-E \
    --preprocessor-arg=-xc morvantel.rc -O res -o "$work/morvantel.res") || fail "the script does not compile"
timeout 60 $windres -i "$work/morvantel.res" -O rc -o "$work/decompiled.rc" || fail "the resources do not read back"
# Without windres's comments and blank lines, and without the image's bytes,
# which are held against the icon file below.
sed -e '/RT_ICON \*\//,/^END/{/^  0x/d}' -e '/^\/\*/,/\*\/$/d' -e '/^ *\/\*.*\*\/$/d' \
    -e 's/[ \t]*\/\*.*\*\///' -e '/^$/d' "$work/decompiled.rc" >"$work/resources.rc"
diff -u "$(dirname "$0")/resources.rc.expected" "$work/resources.rc" || fail "the resources differ"

tail -c +23 "$resources/morvantel.ico" | cmp -s - "$resources/morvantel-icon.bin" ||
    fail "the embedded image differs from morvantel.ico"
[ "$(tail -c 128 "$resources/morvantel-icon.bin" | od -An -v -tx1 | tr -d ' \n0')" = "" ] ||
    fail "the mask is not clear"
echo "PASS: icon group 1, image 30001, version block"
