#!/usr/bin/env bash
# Installs what is missing, builds Pelmira and its tests, and runs the whole
# test suite under Wine in a private Xvfb display.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

pelmira_install_packages
pelmira_build
pelmira_start_test_session
# One wineserver for the whole run: every test process would otherwise start
# its own. One left from an earlier run would show its windows elsewhere.
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
wineserver -p
# Start Wine's services now, away from ctest's output pipes.
"$(pelmira_wine_loader)" wineboot >/dev/null 2>&1 </dev/null || true
ctest --test-dir "$(pelmira_runnable_build)" --output-on-failure "$@"
