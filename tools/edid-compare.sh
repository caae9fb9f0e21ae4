#!/usr/bin/env bash
# Compares the monitor report of EDID files with Debian's edid-decode:
# tools/edid-compare.sh [FILE_OR_FOLDER...] (default: the samples of the
# tests). Builds edid_report and runs it with the build that Wine runs here.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

pelmira_install_packages
pelmira_build edid_report
pelmira_start_test_session
python3 "$PELMIRA_ROOT/tests/edid/compare_edid.py" --tool "$PELMIRA_RUN_BUILD/tests/edid_report.exe" \
    --loader "$PELMIRA_RUN_LOADER" "$@"
