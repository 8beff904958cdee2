#!/bin/sh
# Runs a test program in a fresh, empty current directory and removes it afterwards.
dir=$(mktemp -d "${TMPDIR:-/tmp}/veltorina-test.XXXXXX") || exit 1
cd "$dir" || exit 1
"$@"
status=$?
cd / && rm -rf "$dir"
exit $status
