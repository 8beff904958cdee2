#!/bin/sh
# Prints, after a failed test run, what each failing test said of its failure, in short: the
# run's own log of a failing test can be thousands of lines long and its failure lost among them.
# Usage: show-failures.sh <ctest build directory>
log="$1/Testing/Temporary/LastTest.log"
[ -f "$log" ] || exit 0
echo
echo "What the failing tests said (from $log):"
awk '
/^[0-9]+\/[0-9]+ Test: / { test = $3; said = ""; lines = 0; next }
/^(FAIL!|XPASS|QFATAL)/ { told = 5 }
(told > 0 || /ERROR: (Address|Leak)Sanitizer/ || /runtime error:/ || /^SUMMARY: / ||
 /Received signal/) && lines++ < 60 {
    said = said test ": " substr($0, 1, 400) "\n"
}
told > 0 && (/Loc: \[/ || --told == 0) { told = 0 }
/^Test time = / { took = $4 " s" }
/^Test Failed\./ {
    printf "%s", said
    print test ": failed after " took " (a timeout, a crash or the failures above)"
}
' "$log" | head -n 300
