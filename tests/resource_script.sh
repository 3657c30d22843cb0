#!/bin/sh
# Compiles the Windows resource script as a Windows build would, decompiles the
# result and checks the icon group, its one image and the version block.
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

# Exactly three resources, all US English: the image, its group and the version block.
[ "$(grep -c '^[0-9]* [0-9A-Z]* .*MOVEABLE\|^1 VERSIONINFO$' "$work/decompiled.rc")" -eq 3 ] ||
    fail "other resources: $(grep -E '^[0-9]+ ' "$work/decompiled.rc")"
[ "$(grep -c '^LANGUAGE 9, 1$' "$work/decompiled.rc")" -eq 1 ] || fail "not all US English"
grep -q '^30001 3 /\* RT_ICON \*/' "$work/decompiled.rc" || fail "no icon image 30001"
grep -q '^1 14 /\* RT_GROUP_ICON \*/' "$work/decompiled.rc" || fail "no icon group 1"

# The group's one entry: 32 x 32, 16 colours, 1 plane, 4 bits, 744 bytes, image 30001.
grep -q '^   0, 1, 1,' "$work/decompiled.rc" || fail "the group does not hold one icon"
grep -q '"\\040\\040\\020\\000", 1, 4, 0x2e8L, 30001' "$work/decompiled.rc" || fail "the group's entry"
# The image: a 40-byte header, 32 wide, 64 high (colours and mask), 1 plane, 4 bits.
grep -A 2 '^30001 3 ' "$work/decompiled.rc" | grep -q '0x28L *, 0x20L *, 0x40L *, 0x40001L' ||
    fail "the image is not 32 x 32 with 16 colours"
# It is the program icon file's own image, and its last 128 bytes, the mask, are clear.
[ "$(wc -c <"$resources/morvantel-icon.bin")" -eq 744 ] || fail "the image is not 744 bytes"
tail -c +23 "$resources/morvantel.ico" | cmp -s - "$resources/morvantel-icon.bin" ||
    fail "the embedded image differs from morvantel.ico"
[ "$(tail -c 128 "$resources/morvantel-icon.bin" | od -An -v -tx1 | tr -d ' \n' | tr -d 0)" = "" ] ||
    fail "the mask is not clear"

# The version block, whole: no file flags, 32-bit Windows, an application, and
# only these strings. (A decompiled block leaves out zero flags and subtype.)
sed -n '/^1 VERSIONINFO$/,$p' "$work/decompiled.rc" >"$work/version.rc"
cat >"$work/expected.rc" <<'VERSION'
1 VERSIONINFO
 FILEVERSION 1, 0, 0, 0
 PRODUCTVERSION 1, 0, 0, 0
 FILEFLAGSMASK 0x3f
 FILEOS 0x4
 FILETYPE 0x1
BEGIN
  BLOCK "StringFileInfo"
  BEGIN
    BLOCK "040904B0"
    BEGIN
      VALUE "CompanyName", "N/A"
      VALUE "ProductName", "Translator"
      VALUE "FileVersion", "1.00"
      VALUE "ProductVersion", "1.00"
      VALUE "InternalName", "morvantel"
      VALUE "OriginalFilename", "morvantel.exe"
    END
  END
  BLOCK "VarFileInfo"
  BEGIN
    VALUE "Translation", 0x409, 1200
  END
END
VERSION
diff -u "$work/expected.rc" "$work/version.rc" || fail "the version block differs"
echo "PASS: icon group 1, image 30001, version block"
