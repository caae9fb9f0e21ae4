#!/usr/bin/env bash
# The motion benchmark: the real motion window, full screen in a 1920x1080
# Wine desktop, for a few seconds at 60, 240 and 1000 pixels per second with
# "Force screen update" on and off. Prints per run the speed achieved as a
# fraction of the speed set, the paints per second and the processor time of
# each of the three threads (step, rate, user interface) as a share of one
# core. Argument: seconds per run (default 5).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

seconds=${1:-5}
pelmira_install_packages
pelmira_build motion_bench
program=$PELMIRA_RUN_BUILD/motion_bench.exe
loader=$PELMIRA_RUN_LOADER
pelmira_start_test_session
echo "$(nproc) processors: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
# The wineserver of this prefix and the X server take their share of the two
# processors too: their processor time over the whole benchmark, from /proc.
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
server=""
for pid in $(pgrep wineserver); do
    tr '\0' '\n' < "/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && server=$pid
done
[ -n "$server" ] || { pelmira_log "the wineserver was not found"; exit 1; }
server_before=$(ticks "$server")
x_before=$(ticks "$PELMIRA_XVFB_PID")
start=$(date +%s.%N)
# Wine's helper processes would hold a pipe open: the figures go to a file.
log=$(mktemp)
"$loader" "$program" "$seconds" >"$log" 2>&1 </dev/null || { cat "$log"; exit 1; }
cat "$log"
rm -f "$log"
awk -v w=$(($(ticks "$server") - server_before)) -v x=$(($(ticks "$PELMIRA_XVFB_PID") - x_before)) \
    -v hz="$(getconf CLK_TCK)" -v s="$start" -v e="$(date +%s.%N)" \
    'BEGIN { printf "over the whole benchmark: wineserver %.0f%%, X server %.0f%% of a core\n", 100 * w / hz / (e - s), 100 * x / hz / (e - s) }'
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) (other programs on the machine count too)"
