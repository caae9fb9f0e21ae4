#!/usr/bin/env bash
# Benchmarks of the pattern painters and the EDID decoder: builds them and
# runs them under Wine in a private Xvfb display (the build that Wine runs
# here, or the one PELMIRA_WINE asks for). The painters' one prints, per
# pattern, the median milliseconds per paint at 1920x1080 and 3840x2160 and
# that time as a multiple of one BitBlt of the whole screen-sized bitmap,
# and the first paint of "Moire Interference" (which works out its ring set
# once per window), also at 7680x4320; the decoder's one, the time to decode
# an EDID of 256 blocks and to write its report. Each says which build it
# measured.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

pelmira_install_packages
pelmira_build pelmira_bench edid_bench
pelmira_start_test_session
# Wine's helper processes would hold a pipe open: the output goes to a file.
log=$(mktemp)
status=0
for program in pelmira_bench edid_bench; do
    "$PELMIRA_RUN_LOADER" "$PELMIRA_RUN_BUILD/$program.exe" >"$log" 2>&1 </dev/null || status=$?
    cat "$log"
done
rm -f "$log"
exit $status
