#!/bin/sh
# Runs a test program in a fresh, empty current directory, which also holds its temporary folder
# (a board starting clears the working folders no program holds: tests side by side would clear
# each other's), and removes it afterwards.
dir=$(mktemp -d "${TMPDIR:-/tmp}/veltorina-test.XXXXXX") || exit 1
mkdir "$dir/tmp" || exit 1
cd "$dir" || exit 1
TMPDIR="$dir/tmp" "$@"
status=$?
cd / && rm -rf "$dir"
exit $status
