#!/bin/sh
# Every tool the tests, the benchmarks and the build call (`need` in the
# scripts, find_program(… REQUIRED) and execute_process in CMake) comes from a
# package the lists name, one those bring or one every Debian system has: all
# the lists for make test, its own paragraph for each test of
# debian/tests/control. And each Makefile target that builds installs them first.
#   listed_tools.sh SOURCE_DIR
set -u
source=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$source/tests/lib.sh"
need apt-cache dpkg-query make
failures=0
failed() { echo "FAIL: $*" && failures=$((failures + 1)); }
dpkg-query -W -f '${Package} ${Essential} ${Priority}\n' |
    awk '$2 == "yes" || $3 == "required" {print $1}' >"$work/essential"

# The packages a paragraph's Depends name (all paragraphs' where none is named),
# without versions, architectures or profiles; @builddeps@: debian/control's.
listed() { # [test]
    awk -v test="${1:-}" 'BEGIN {RS = ""} test == "" || $0 ~ "(^|\n)Tests: " test "\n" {print}' \
        "$source/debian/tests/control" >"$work/paragraphs"
    grep -q '@builddeps@' "$work/paragraphs" || [ -z "${1:-}" ] && cat "$source/debian/control" >>"$work/paragraphs"
    awk '/^#/ {next} /^[A-Za-z-]+:/ {field = $1} field ~ /^(Build-)?Depends:$/ {sub(/^[A-Za-z-]+:/, ""); print}' \
        "$work/paragraphs" | tr ',|' '\n\n' |
        sed 's/([^)]*)//g; s/<[^>]*>//g; s/\[[^]]*\]//g; s/:any//; s/^ *//; s/ *$//' | grep -v '^$\|[$@]\|^morvantel$' | sort -u
}
# The tools the files name: after `need`, and what CMake must find or runs.
tools_of() { # file...
    cat "$@" | grep -v '^[[:space:]]*#' | grep -oE '(^|[ ;&|(])need [A-Za-z/][^;&|)]*' | sed 's/.*need //' |
        tr ' ' '\n' | grep -v '^$\|^\$'
    cat "$@" | grep -oE 'find_program\([A-Za-z_]+ [^ )]+ REQUIRED' | sed 's/.* \([^ ]*\) REQUIRED/\1/'
    cat "$@" | grep -oE 'execute_process\(COMMAND (\$\{CMAKE_COMMAND\} -E env [A-Z]+=[^ ]+ )?[a-z][a-z0-9_-]*' |
        sed 's/.* //'
}
check() { # test file...: each tool of the files from a package the test lists
    test=$1 && shift
    # shellcheck disable=SC2046 # one package a word
    apt-cache depends --recurse --installed --no-recommends --no-suggests --no-conflicts --no-breaks \
        --no-replaces --no-enhances $(listed "$test") 2>/dev/null | grep '^[a-z0-9]' | sed 's/:.*//' |
        cat - "$work/essential" | sort -u >"$work/brought"
    tools=$(tools_of "$@" | sort -u)
    [ -n "$tools" ] || failed "no tools named in $*"
    for tool in $tools; do
        path=$(command -v "$tool") || { failed "$tool is not installed" && continue; }
        # Merged /usr: dpkg knows a file by the path its package installed.
        package=$(dpkg-query -S "$path" "$(readlink -f "$path")" "/${path#/usr/}" 2>/dev/null |
            grep -v '^diversion' | head -n 1 | cut -d: -f1)
        if [ -z "$package" ]; then
            failed "$tool ($path) comes from no package"
        elif ! grep -qx "$package" "$work/brought"; then
            failed "$tool comes from $package, which ${test:-no package list} does not bring"
        fi
    done
    echo "checked: ${test:-make test}, $(echo "$tools" | wc -w) tools"
}

cd "$source" || exit 1
check "" tests/*.sh bench/*.sh CMakeLists.txt */CMakeLists.txt cmake/*.cmake
check desktop-scenarios tests/desktop_scenarios.sh tests/desktop_lib.sh tests/lib.sh
check source-checks tests/formatting.sh tests/pictures.sh tests/install_and_package.sh
check windows tests/wine.sh tests/wine_installed.sh tests/fresh_tree.sh tests/desktop_lib.sh cmake/*.cmake
for target in program ci-build windows test bench package; do
    make -s -n "$target" 2>/dev/null | grep -q '^sh tools/install-packages ' ||
        failed "make $target does not install the packages it needs first"
done
[ "$failures" = 0 ] || { echo "$failures failed"; exit 1; }
