#!/bin/sh
# Runs a test program in a fresh, empty current directory and removes it afterwards. The
# program's temporary folder lies inside it: a program starting in one test clears the working
# folders it finds no program holding, and the tests run side by side must not find each
# other's (a folder a test has only begun to fill looks left over).
dir=$(mktemp -d "${TMPDIR:-/tmp}/veltorina-test.XXXXXX") || exit 1
mkdir "$dir/tmp" || exit 1
cd "$dir" || exit 1
TMPDIR="$dir/tmp" "$@"
status=$?
cd / && rm -rf "$dir"
exit $status
