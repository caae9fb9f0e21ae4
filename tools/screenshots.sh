#!/usr/bin/env bash
# Makes the README's screenshots anew from the end-to-end run: the main
# window, Monitor details, the SMPTE bars, the Boundary pattern and the
# motion test, written to docs/screenshots/.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
PELMIRA_E2E_SHOTS=$shots "$PELMIRA_ROOT/tools/test.sh" -R end_to_end

out=$PELMIRA_ROOT/docs/screenshots
mkdir -p "$out"
# No time stamps in the files, so that an unchanged picture stays unchanged.
save() { convert "${@:1:$#-1}" -strip -define png:exclude-chunks=date,time "${!#}"; }
# The windows cut out of the desktop around them (one colour from its
# corners), the full-screen tests at half their size.
save "$shots/main.png" -trim +repage "$out/main-window.png"
save "$shots/monitor-dialog.png" -trim +repage "$out/monitor-details.png"
save "$shots/smpte-bars.png" -resize 50% "$out/smpte-bars.png"
save "$shots/pattern-7.png" -resize 50% "$out/boundary.png"
save "$shots/motion.png" -resize 50% "$out/motion-test.png"
ls -l "$out"
