#!/bin/sh
# Every tool the tests, the benchmarks and the build call, as they name them
# (`need` in the scripts, find_program(… REQUIRED) in CMake), comes from a
# package the package lists name (debian/control, debian/tests/control),
# from one those depend on, or from one every Debian system has: on a fresh
# machine, what make test installs is all the tests find.
#
#   listed_tools.sh SOURCE_DIR
set -u
source=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$source/tests/lib.sh"
need apt-cache dpkg-query
failures=0

# The packages named, alternatives each on its own, without versions,
# architectures or build profiles.
awk '/^#/ {next} /^[A-Za-z-]+:/ {field = $1} field ~ /^(Build-)?Depends:$/ {sub(/^[A-Za-z-]+:/, ""); print}' \
    "$source/debian/control" "$source/debian/tests/control" | tr ',|' '\n\n' |
    sed 's/([^)]*)//g; s/<[^>]*>//g; s/\[[^]]*\]//g; s/:any//; s/^ *//; s/ *$//' |
    grep -v '^$\|[$@]\|^morvantel$' | sort -u >"$work/listed"
# …and what they bring, as apt installs them (no recommended packages), and
# what every Debian system has.
# shellcheck disable=SC2046 # one package a word
apt-cache depends --recurse --installed --no-recommends --no-suggests --no-conflicts --no-breaks \
    --no-replaces --no-enhances $(cat "$work/listed") 2>/dev/null | grep '^[a-z0-9]' >"$work/brought"
dpkg-query -W -f '${Package} ${Essential} ${Priority}\n' |
    awk '$2 == "yes" || $3 == "required" {print $1}' >>"$work/brought"
sed 's/:.*//' "$work/brought" | sort -u >"$work/installed-by-lists"

# The tools named: the words after `need` that are no shell expansion, and
# the programs CMake must find.
cat "$source"/tests/*.sh "$source"/bench/*.sh | grep -v '^[[:space:]]*#' |
    grep -oE '(^|[ ;&|(])need [A-Za-z/][^;&|)]*' | sed 's/.*need //' | tr ' ' '\n' |
    grep -v '^$\|^\$' >"$work/tools"
grep -rhoE --include=CMakeLists.txt --include='*.cmake' 'find_program\([A-Za-z_]+ [^ )]+ REQUIRED' "$source" |
    sed 's/.* \([^ ]*\) REQUIRED/\1/' >>"$work/tools"
[ -s "$work/tools" ] || { echo "FAIL: no tools named"; exit 1; }

for tool in $(sort -u "$work/tools"); do
    path=$(command -v "$tool") || { echo "FAIL: $tool is not installed"; failures=$((failures + 1)); continue; }
    # Merged /usr: dpkg knows a file by the path its package installed.
    package=$(dpkg-query -S "$path" "$(readlink -f "$path")" "/${path#/usr/}" 2>/dev/null |
        grep -v '^diversion' | head -n 1 | cut -d: -f1)
    if [ -z "$package" ]; then
        echo "FAIL: $tool ($path) comes from no package"
        failures=$((failures + 1))
    elif ! grep -qx "$package" "$work/installed-by-lists"; then
        echo "FAIL: $tool comes from $package, which no package list brings"
        failures=$((failures + 1))
    else
        echo "ok: $tool from $package"
    fi
done
[ "$failures" = 0 ] || { echo "$failures failed"; exit 1; }
