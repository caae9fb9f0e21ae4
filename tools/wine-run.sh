#!/bin/sh
# Runs a Windows program under Wine for ctest: wine-run.sh LOADER PROGRAM ARGS...
# Wine's helper processes (services, the desktop) outlive the program and
# keep its standard output open; they get a file here instead of ctest's pipe,
# so that ctest sees the end of the test when the program ends.
loader=$1
shift
log=$(mktemp)
"$loader" "$@" >"$log" 2>&1 </dev/null
code=$?
cat "$log"
rm -f "$log"
exit $code
