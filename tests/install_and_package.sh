#!/bin/sh
# Checks what reaches a user's machine: the files a staged install puts in
# place, validated as a desktop and man(1) would read them, and the Debian
# package, checked as Debian's archive checks packages.
#
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
    ls "$work"/morvantel-dbgsym_"$version"_*.deb >/dev/null 2>&1 || fail "no debug symbols package"
    contents=$(dpkg-deb -c "$deb")
    # Debian compresses the manual page, and adds the copyright and changelog.
    for file in $(printf './usr/%s\n' $installed | sed 's/\.1$/.1.gz/') \
        ./usr/share/doc/morvantel/copyright ./usr/share/doc/morvantel/changelog.gz; do
        echo "$contents" | grep -q " $file\$" || fail "$file is not in the package"
    done
    [ "$(dpkg-deb -f "$deb" Homepage)" = "$(sed -n 's|.*<url type="homepage">\(.*\)</url>.*|\1|p' \
        "$(dirname "$0")/../resources/morvantel.metainfo.xml.in")" ] || fail "Homepage $(dpkg-deb -f "$deb" Homepage)"
    depends=$(dpkg-deb -f "$deb" Depends)
    for package in libqt6widgets6 libc6 fonts-liberation2; do
        echo "$depends" | grep -q "$package" || fail "dependencies without $package: '$depends'"
    done
    dpkg-deb -x "$deb" "$work/root"
    # A program is marked for control-flow protection only where every part
    # of it is, and the C start files of Debian 12's and 13's libc6-dev
    # (Scrt1.o, crti.o, crtn.o) carry no such mark: no program built there
    # has it (nor ls, nor Qt). Where they do, it counts. Branch protection is
    # arm64's, which Debian 13's hardening-check asks of every architecture.
    skip=
    readelf -n "$(dpkg-query -L libc6-dev | grep '/Scrt1\.o$')" | grep -q 'x86 feature: IBT' || skip=--nocfprotection
    [ "$(dpkg --print-architecture)" = arm64 ] || ! hardening-check --help 2>&1 | grep -q nobranchprotection ||
        skip="$skip --nobranchprotection"
    hardening-check $skip "$work/root/usr/bin/morvantel" >"$work/hardening.log" 2>&1 ||
        fail "hardening: $(cat "$work/hardening.log")"
    # Every tag lintian knows, pedantic ones included, fails the source or
    # binary package or the changes; but that the package follows a newer
    # Debian policy than Debian 12's lintian knows, which Debian 13's asks for.
    timeout 200 lintian --display-info --pedantic --fail-on error,warning,info,pedantic \
        --suppress-tags newer-standards-version "$changes" \
        >"$work/lintian.log" 2>&1 || fail "lintian: $(cat "$work/lintian.log")"
    ;;
*)
    fail "unknown mode"
    ;;
esac
echo "PASS ($mode)"
