#!/bin/sh
# What reaches a user's machine: the files a staged install puts in place, as a
# desktop and man(1) read them; the Debian package, as Debian's archive checks it.
#   install_and_package.sh install|package BUILD_DIR APP_ID
set -u
mode=$1 build=$2 id=$3
. "$(dirname "$0")/lib.sh"
need mandoc desktop-file-validate appstreamcli identify dpkg-buildpackage dpkg-deb hardening-check lintian readelf dpkg-query
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL ($mode): $*"
    exit 1
}

# What the program installs, below its prefix.
installed="bin/morvantel share/applications/$id.desktop share/metainfo/$id.metainfo.xml
share/icons/hicolor/32x32/apps/morvantel.png share/icons/hicolor/scalable/apps/morvantel.svg
share/man/man1/morvantel.1"

case $mode in
install)
    prefix=$work/prefix
    cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || fail "cmake --install: $(cat "$work/install.log")"
    [ "$(cd "$prefix" && find . -type f | sort)" = "$(printf './%s\n' $installed | sort)" ] ||
        fail "installed: $(cd "$prefix" && find . -type f)"
    [ -x "$prefix/bin/morvantel" ] || fail "the program is not executable"

    page=$prefix/share/man/man1/morvantel.1
    mandoc -T lint -W all "$page" >"$work/mandoc.log" 2>&1 || fail "manual page: $(cat "$work/mandoc.log")"
    mandoc -T html "$page" | grep -q "id=\"EXIT_STATUS\"" || fail "the manual page shows no EXIT STATUS"
    mandoc -T ascii "$page" | tail -n 1 | grep -q '^Translator 1\.00  ' || fail "the manual page is not of Translator 1.00"

    desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop entry"
    appstreamcli validate --pedantic --no-net "$prefix/share/metainfo/$id.metainfo.xml" >"$work/appstream.log" 2>&1 ||
        fail "metainfo: $(cat "$work/appstream.log")"
    grep -q "^Icon=morvantel$" "$prefix/share/applications/$id.desktop" || fail "the entry names no icon"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$prefix/share/metainfo/$id.metainfo.xml" ||
        fail "the metainfo does not launch the desktop entry"
    grep -q '<release version="1.00"' "$prefix/share/metainfo/$id.metainfo.xml" || fail "no release 1.00"
    [ "$(identify -format '%wx%h' "$prefix/share/icons/hicolor/32x32/apps/morvantel.png")" = 32x32 ] ||
        fail "the 32x32 icon is another size"
    [ "$(identify -format '%k' "$prefix/share/icons/hicolor/32x32/apps/morvantel.png")" -le 16 ] ||
        fail "the 32x32 icon has more than 16 colours"
    ;;
package)
    # Built as a Debian maintainer builds it, its own tests included.
    # Under umask 002, as some users check out, the package must come out alike.
    (umask 002 && timeout 850 sh "$(dirname "$0")/../tools/build-package" "$work") >"$work/build.log" 2>&1 ||
        fail "dpkg-buildpackage: $(tail -30 "$work/build.log")"
    version=$(dpkg-parsechangelog -l "$(dirname "$0")/../debian/changelog" -S Version)
    deb=$(ls "$work"/morvantel_"$version"_*.deb 2>/dev/null)
    changes=$(ls "$work"/morvantel_"$version"_*.changes 2>/dev/null)
    [ -n "$deb" ] && [ -n "$changes" ] && [ -f "$work/morvantel_$version.dsc" ] ||
        fail "not all of source, binary and changes made: $(ls "$work")"
    contents=$(dpkg-deb -c "$deb")
    for file in $(printf './usr/%s\n' $installed | sed 's/\.1$/.1.gz/'); do
        echo "$contents" | grep -q " $file\$" || fail "$file is not in the package"
    done
    [ "$(dpkg-deb -f "$deb" Homepage)" = "$(sed -n 's|.*<url type="homepage">\(.*\)</url>.*|\1|p' \
        "$(dirname "$0")/../resources/morvantel.metainfo.xml.in")" ] || fail "Homepage $(dpkg-deb -f "$deb" Homepage)"
    # The font the windows are designed in, which no library's dependencies bring.
    dpkg-deb -f "$deb" Depends | grep -q fonts-liberation2 || fail "no dependency on fonts-liberation2"
    dpkg-deb -x "$deb" "$work/root"
    # Control-flow protection counts where libc6-dev's start files carry it
    # (not on Debian 12 or 13, where no program has it); branch protection on arm64.
    skip=
    readelf -n "$(dpkg-query -L libc6-dev | grep '/Scrt1\.o$')" | grep -q 'x86 feature: IBT' || skip=--nocfprotection
    [ "$(dpkg --print-architecture)" = arm64 ] || ! hardening-check --help 2>&1 | grep -q nobranchprotection ||
        skip="$skip --nobranchprotection"
    hardening-check $skip "$work/root/usr/bin/morvantel" >"$work/hardening.log" 2>&1 ||
        fail "hardening: $(cat "$work/hardening.log")"
    # Every tag lintian knows fails, but a policy newer than Debian 12's lintian knows.
    timeout 200 lintian --display-info --pedantic --fail-on error,warning,info,pedantic \
        --suppress-tags newer-standards-version "$changes" \
        >"$work/lintian.log" 2>&1 || fail "lintian: $(cat "$work/lintian.log")"
    ;;
*)
    fail "unknown mode"
    ;;
esac
echo "PASS ($mode)"
