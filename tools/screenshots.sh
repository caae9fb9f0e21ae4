#!/usr/bin/env bash
# Makes the README's screenshots anew: the main window as it starts, the
# SMPTE bars, the Boundary pattern and the motion test from the end-to-end
# run, and Monitor details of a real monitor (the Dell G2724D among the
# tests' EDID samples, offered through the seam the tests use), written to
# docs/screenshots/.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

shots=$PELMIRA_BUILD/screenshots
rm -rf "$shots"
mkdir -p "$shots"
PELMIRA_E2E_SHOTS=$shots "$PELMIRA_ROOT/tools/test.sh" -R end_to_end

# Monitor details with the sample's EDID, in a desktop of its own.
pelmira_build pelmira_with_edid
pelmira_start_test_session
sample=$(realpath "$PELMIRA_ROOT/tests/edid/samples/DELD175-7E926B383260.bin")
"$PELMIRA_RUN_LOADER" explorer /desktop=shots,1920x1080 "$PELMIRA_RUN_BUILD/pelmira_with_edid.exe" \
    "Z:${sample//\//\\}" >/dev/null 2>&1 </dev/null &
desktop=$(pelmira_find_desktop shots) || { pelmira_log "the Wine desktop did not appear"; exit 1; }
pelmira_wait_for_screen "$desktop" "$shots/start.png" banner 30 || { pelmira_log "Pelmira did not start"; exit 1; }
xdotool mousemove --window "$desktop" 960 540
before=$(import -window "$desktop" ppm:- | md5sum)
xdotool key alt+e
for tries in $(seq 1 40); do
    sleep 0.25
    [ "$(import -window "$desktop" ppm:- | md5sum)" != "$before" ] && break
done
sleep 1  # the dialog's text drawn
import -window "$desktop" "$shots/monitor-dialog.png"
xdotool key Escape
sleep 1
xdotool key alt+F4

out=$PELMIRA_ROOT/docs/screenshots
mkdir -p "$out"
# No time stamps in the files, so that an unchanged picture stays unchanged.
save() { convert "${@:1:$#-1}" -strip -define png:exclude-chunks=date,time "${!#}"; }
# The windows cut out of the desktop around them (one colour from its
# corners), the full-screen tests at half their size.
save "$shots/main-start.png" -trim +repage "$out/main-window.png"
save "$shots/monitor-dialog.png" -trim +repage "$out/monitor-details.png"
save "$shots/smpte-bars.png" -resize 50% "$out/smpte-bars.png"
save "$shots/pattern-7.png" -resize 50% "$out/boundary.png"
save "$shots/motion.png" -resize 50% "$out/motion-test.png"
ls -l "$out"
