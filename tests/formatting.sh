#!/bin/sh
# Fails where clang-format, with the project's .clang-format, would change a
# C++ file of the source tree, and names each such file.
#   formatting.sh SOURCE_DIR
set -u
. "$(dirname "$0")/lib.sh"
need clang-format
cd "$1" || exit 1
files=$(find . -path ./build -prune -o -path ./debian -prune -o \( -name '*.cpp' -o -name '*.h' \) -print | sort)
[ -n "$files" ] || { echo "FAIL: no C++ files under $1"; exit 1; }
# shellcheck disable=SC2086
clang-format --dry-run --Werror $files || { echo "FAIL: clang-format would change the files above"; exit 1; }
echo "PASS: $(echo "$files" | wc -l) files as clang-format writes them"
