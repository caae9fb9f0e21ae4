#!/usr/bin/env bash
# Installs what is missing, builds Pelmira and its tests, and runs the whole
# test suite under Wine in a private Xvfb display.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

pelmira_install_packages
pelmira_build
pelmira_start_test_session
ctest --test-dir "$PELMIRA_RUN_BUILD" --output-on-failure "$@"
