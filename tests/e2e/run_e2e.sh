#!/usr/bin/env bash
# End to end, as a user would: Pelmira in a 1920x1080 Wine virtual desktop,
# driven with real keys. Arguments: the program and the Wine loader.
set -euo pipefail
program=$1
loader=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../tools/common.sh"
work=$(mktemp -d)
desktop="pelmira_e2e_$$"
explorer=""
window=""
# A failed check does not leave the program and its desktop behind.
trap '[ -z "$explorer" ] || kill "$explorer" 2>/dev/null || true; rm -rf "$work"' EXIT

fail() { echo "FAILED: $*" >&2; exit 1; }
trap 'echo "FAILED: command at line $LINENO of run_e2e.sh" >&2' ERR

# wait_for SECONDS CHECK [NAME]: waits for a screenshot, $work/NAME.png (and
# .png.ppm), on which screen_check.py CHECK passes; says why not if none does.
# PELMIRA_E2E_SHOTS keeps a copy of the last screenshot.
wait_for() {
    local name=${3:-$2} status=0
    pelmira_wait_for_screen "$window" "$work/$name.png" "$2" "$1" || status=$?
    [ -n "${PELMIRA_E2E_SHOTS:-}" ] && cp "$work/$name.png" "$PELMIRA_E2E_SHOTS/"
    [ $status -eq 0 ] || python3 "$here/screen_check.py" "$2" "$work/$name.png.ppm" || true
    return $status
}

banner_at() { python3 "$here/screen_check.py" banner "$work/${1:-main}.png.ppm"; }

desktop_size() { xwininfo -id "$window" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}'; }
wait_for_desktop_size() {  # up to 10 s
    local tries
    for tries in $(seq 1 50); do
        [ "$(desktop_size)" = "$1" ] && return 0
        sleep 0.2
    done
    return 1
}

# The program runs from a batch file so that its exit code can be kept: the
# virtual desktop's explorer does not pass it on.
# Wine maps the Unix root to drive Z:.
windows_path() { local path; path=$(realpath "$1"); echo "Z:${path//\//\\}"; }
winprogram=$(windows_path "$program")
winwork=$(windows_path "$work")
printf '@echo off\r\nstart /wait "" "%s"\r\necho %%ERRORLEVEL%% > "%s\\exitcode.txt"\r\n' \
    "$winprogram" "$winwork" > "$work/run.bat"
# Its output goes to a file: Wine's helper processes would hold a pipe open.
"$loader" explorer "/desktop=$desktop,1920x1080" cmd /c "$winwork\\run.bat" \
    >"$work/explorer.log" 2>&1 </dev/null &
explorer=$!

# ---------------------------------------------------------------- the walk
window=$(pelmira_find_desktop "$desktop") || fail "the Wine desktop did not appear"
[ "$(desktop_size)" = 1920x1080 ] || fail "the desktop is $(desktop_size), not 1920x1080"

wait_for 30 banner main-start || fail "the main window with its red banner did not appear"
echo "main window up, banner at $(banner_at main-start)"

# The pattern test: the bars with the name popup at the top, kept there by
# the cursor in the top rows and gone once the cursor is away; then the five
# solid colours, patterns 7 to 13 at chosen pixels and the rings of pattern
# 14. (Keys reach the main window while the cursor is over it.)
xdotool windowfocus "$window" 2>/dev/null || true
xdotool mousemove --window "$window" 960 540
xdotool key alt+p
xdotool mousemove --window "$window" 960 2
wait_for 15 popup pattern-popup || fail "Alt+P did not show the bars with the popup at the top"
xdotool mousemove --window "$window" 960 700
wait_for 15 smpte smpte-bars || fail "the SMPTE bars are not at their pixels once the popup left"
echo "pattern test shows the SMPTE bars and the popup, which left when the cursor did"
for check in solid-0-0-0 solid-255-0-0 solid-0-255-0 solid-0-0-255 solid-255-255-255 pattern-{7..13} rings; do
    xdotool key space
    wait_for 10 "$check" || fail "Space did not show $check"
done
# Pattern 14, the rings, moves: two screenshots a moment apart differ.
sleep 0.5
wait_for 5 rings rings-later || fail "Moire Interference broke up"
cmp -s "$work/rings.png.ppm" "$work/rings-later.png.ppm" && fail "Moire Interference does not move"
echo "Space showed the solid colours, Boundary, RGB samples, Black and White Level, Contrast, Gamma and Moire, and the moving rings"

xdotool key space
wait_for 15 banner main || fail "Space at the last pattern did not end the pattern test"
echo "Space at the last pattern ended the pattern test"

# The same test in 800 x 600: check "Set test mode as selection" (Alt+T),
# go to the mode list (Alt+D), pick its first "8..." mode from the top.
banner_before=$(banner_at)
xdotool key alt+t
xdotool key alt+d
xdotool key Home
xdotool key 8
xdotool key alt+p
wait_for_desktop_size 800x600 || fail "the desktop did not switch to 800x600 but is $(desktop_size)"
xdotool mousemove --window "$window" 400 400
wait_for 15 smpte smpte-bars-800 || fail "the SMPTE bars are not at their pixels in 800x600"
echo "pattern test in 800x600 shows exact SMPTE bars"

xdotool key Escape
wait_for_desktop_size 1920x1080 || fail "Escape did not put the 1920x1080 mode back: $(desktop_size)"
wait_for 15 banner main || fail "the main window did not come back after the switched test"
[ "$(banner_at)" = "$banner_before" ] || fail "the main window moved: banner at $(banner_at), was $banner_before"
echo "1920x1080 is back and the main window is where it was"

# The motion test on the 1920x1080 desktop: Alt+T clears the test mode that
# the switched run set, Alt+M starts. Two seconds later: a white square on
# black at the vertical centre, the panel at the top, and in it a two-digit
# speed (about 60 pixels per second) and the screen updates, neither in red.
xdotool mousemove --window "$window" 960 540
xdotool key alt+t
xdotool key alt+m
sleep 2
wait_for 15 motion || fail "Alt+M did not show the motion test as described above"
xdotool key Escape
wait_for 15 banner main || fail "Escape did not end the motion test"
echo "motion test: a white square on black, the panel with its figures; Escape ended it"

# Monitor details (Alt+E): its "&Copy" (Alt+C) hands the report to the X
# clipboard, which an empty one of ours held till then. Wine's monitor
# reports no EDID and runs at exactly 60 Hz. Escape ends the dialog; one
# still open would take the Alt+F4 below and the program would not end.
(timeout 30 xclip -quiet -selection clipboard </dev/null >/dev/null 2>&1 &)
xdotool key alt+e
for tries in $(seq 1 30); do
    sleep 0.5
    xdotool key alt+c
    report=$(xclip -o -selection clipboard 2>/dev/null | tr -d '\r') && [ -n "$report" ] && break
done
grep -qxF "Current mode: 1920 x 1080 at 60.000 Hz" <<<"$report" && grep -qxF "Note: The monitor reports no EDID." <<<"$report" ||
    fail "Alt+E and Alt+C did not copy the current mode at 60.000 Hz and the no-EDID note but: ${report:-nothing}"
xdotool key Escape
echo "Monitor details: the current mode at 60.000 Hz and no EDID, copied; Escape ended it"

xdotool key alt+F4
timeout 20 tail --pid="$explorer" -s 0.2 -f /dev/null || fail "Alt+F4 did not end the program"
code=$(tr -d ' \r\n' < "$work/exitcode.txt" || echo "not recorded")
[ "$code" = 0 ] || fail "exit code $code"
echo "closed with exit code 0"
echo "1 passed, 0 failed"
