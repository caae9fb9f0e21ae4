#!/usr/bin/env bash
# Installs what is missing, builds Pelmira and runs it. With an X display the
# main window opens there; without one, Pelmira runs in a private Xvfb
# display and a screenshot of its main window is saved.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

pelmira_install_packages
pelmira_build Pelmira
program=$PELMIRA_RUN_BUILD/Pelmira.exe
loader=$PELMIRA_RUN_LOADER

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    pelmira_prepare_prefix run
    exec "$loader" "$program"
fi

pelmira_start_display
trap 'wineserver -k >/dev/null 2>&1 || true; pelmira_stop_display' EXIT
pelmira_prepare_prefix run
"$loader" explorer /desktop=Pelmira,1280x800 "$program" >/dev/null 2>&1 &
desktop=$(pelmira_find_desktop Pelmira) || { pelmira_log "the Wine desktop did not appear"; exit 1; }
# Wait until the main window shows its red banner.
shot=$PELMIRA_BUILD/pelmira-main-window.png
shown=yes
pelmira_wait_for_screen "$desktop" "$shot" banner 30 || shown=no
rm -f "$shot.ppm"
[ $shown = yes ] || { pelmira_log "the main window did not appear; the desktop as it was: $shot"; exit 1; }
echo "Screenshot of the main window: $shot"
