#!/usr/bin/env bash
# Benchmark of the pattern painters: builds it and runs it under Wine in a
# private Xvfb display. It prints, per pattern, the median milliseconds per
# paint at 1920x1080 and 3840x2160 and that time as a multiple of one BitBlt
# of the whole screen-sized bitmap, and the first paint of "Moire
# Interference" (which works out its ring set once per window), also at
# 7680x4320.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

pelmira_install_packages
pelmira_build pelmira_bench
pelmira_start_test_session
# Wine's helper processes would hold a pipe open: the output goes to a file.
log=$(mktemp)
status=0
"$PELMIRA_RUN_LOADER" "$PELMIRA_RUN_BUILD/pelmira_bench.exe" >"$log" 2>&1 </dev/null || status=$?
cat "$log"
rm -f "$log"
exit $status
