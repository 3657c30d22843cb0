#!/bin/sh
# tools/add-source-lists on apt configurations of its own (APT_CONFIG), with
# local archives of which only with-qt holds qt6-base's source. A row is a
# configuration, an entry per `+`, the status that must follow and how many
# lists of sources apt then fetches; run twice, the second run changes nothing.
#   source_lists.sh TOOLS_DIR
set -u
tools=$1
. "$(dirname "$0")/lib.sh"
need apt-get apt-cache apt-config
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

for archive in plain plain2 with-qt; do mkdir "$work/$archive" && : >"$work/$archive/Packages"; done
printf 'Package: qt6-base\nBinary: libqt6core6\nVersion: 6.4.2+dfsg-10\nMaintainer: M <m@example.org>
Architecture: any\nDirectory: .\nFiles:\n d41d8cd98f00b204e9800998ecf8427e 0 qt6-base_6.4.2+dfsg-10.dsc\n' \
    >"$work/with-qt/Sources"
: >"$work/plain/Sources" && : >"$work/plain2/Sources"

# An entry of a configuration, and the file it goes into.
add_entry() { # root kind
    list=$1/etc/apt/sources.list deb822=$1/etc/apt/sources.list.d/debian.sources
    case $2 in
    one-line) echo "deb [trusted=yes] file:$work/with-qt ./" >>"$list" ;;
    one-line-plain) printf '# the archive\ndeb [trusted=yes] file:%s/plain ./\n' "$work" >>"$list" ;;
    one-line-src) echo "deb-src [trusted=yes] file:$work/with-qt ./" >>"$list" ;;
    deb822) printf 'Types: deb\n# the archive\nURIs: file:%s/with-qt\nSuites: ./\nTrusted: yes\n' "$work" >>"$deb822" ;;
    deb822-off) printf 'Types: deb\nURIs: file:%s/with-qt\nSuites: ./\nTrusted: yes\nEnabled: no\n' "$work" >>"$deb822" ;;
    deb822-plain) printf 'Types: deb\nURIs: file:%s/plain2\nSuites: ./\nTrusted: yes\n' "$work" >>"$deb822" ;;
    # An archive out of reach, as a dead mirror.
    dead) echo "deb [trusted=yes] file:$work/gone ./" >>"$list" ;;
    # Left empty by an earlier set-up.
    older-set-up) : >"$1/etc/apt/sources.list.d/morvantel-sources.sources" ;;
    esac
}
configuration() { (cd "$1/etc/apt" && find . -type f -exec md5sum {} + | sort); }

row() { # name configuration status sources
    root=$work/$1
    mkdir -p "$root/etc/apt/sources.list.d" "$root/etc/apt/apt.conf.d" "$root/lists/partial" "$root/cache"
    for kind in $(echo "$2" | tr + ' '); do add_entry "$root" "$kind"; done
    printf 'Dir::Etc "%s/etc/apt";\nDir::State::Lists "%s/lists";\nDir::Cache "%s/cache";
Dir::State::status "/dev/null";\nAPT::Sandbox::User "root";\n' "$root" "$root" "$root" >"$root/apt.conf"
    export APT_CONFIG=$root/apt.conf
    before=$(configuration "$root")
    sh "$tools/add-source-lists" >"$root/out" 2>&1
    status=$?
    set_up=$(configuration "$root")
    sh "$tools/add-source-lists" >"$root/again" 2>&1
    sources=$(apt-get indextargets 'Identifier: Sources' 2>/dev/null | grep -c '^MetaKey')
    problem=
    if [ "$status" != "$3" ]; then
        problem="status $status, not $3"
    elif [ "$sources" != "$4" ]; then
        problem="apt fetched $sources lists of sources, not $4"
    elif [ "$3" = 0 ] && ! apt-cache showsrc qt6-base | grep -q '^Version: 6.4.2'; then
        problem="apt finds no source of qt6-base"
    elif [ "$3" != 0 ] && [ "$(wc -l <"$root/out")" != 1 ]; then
        problem="it did not say why in one line"
    elif [ "$3" != 0 ] && [ "$before" != "$set_up" ]; then
        problem="it changed the configuration though it failed"
    elif [ "$set_up" != "$(configuration "$root")" ]; then
        problem="a second run changed the configuration: $(cat "$root/again")"
    fi
    [ -z "$problem" ] && echo "ok: $1" || { echo "FAIL: $1: $problem; it said: $(cat "$root/out")" && failures=$((failures + 1)); }
}

# name                 configuration                   status sources
row one-line             one-line                         0 1
row deb822               deb822                           0 1
row both                 one-line-plain+deb822            0 2
row deb822-and-one-line  deb822-plain+one-line            0 2
row listed-not-fetched   one-line+one-line-src            0 1
row after-older-set-up   one-line+older-set-up            0 1
row beside-a-dead-one    dead+one-line                    0 1
row none                 older-set-up                     1 0
row switched-off         deb822-off                       1 0
row no-qt-source         one-line-plain+deb822-plain      1 0
[ "$failures" = 0 ] || { echo "$failures failed"; exit 1; }
