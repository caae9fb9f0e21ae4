#!/usr/bin/env bash
# End to end, as a user would: Pelmira in a 1920x1080 Wine virtual desktop,
# driven with real keys. Arguments: the program and the Wine loader.
set -euo pipefail
program=$1
loader=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
desktop="pelmira_e2e_$$"
explorer=""
# A failed check does not leave the program and its desktop behind.
cleanup() {
    local status=$?
    if [ $status -ne 0 ]; then
        [ -n "$explorer" ] && kill "$explorer" 2>/dev/null
        [ -n "${window:-}" ] && xdotool windowclose "$window" 2>/dev/null
    fi
    rm -rf "$work"
    return $status
}
trap cleanup EXIT

fail() { echo "FAILED: $*" >&2; exit 1; }
trap 'echo "FAILED: command at line $LINENO of run_e2e.sh" >&2' ERR

shot() {  # shot NAME: screenshot of the Wine desktop as $work/NAME.ppm (and .png)
    import -window "$window" "$work/$1.png"
    convert "$work/$1.png" "$work/$1.ppm"
    [ -n "${PELMIRA_E2E_SHOTS:-}" ] && cp "$work/$1.png" "$PELMIRA_E2E_SHOTS/" || true
}

# Waits up to $1 seconds for screen_check.py $2 (with arguments $4...) to pass
# on a fresh screenshot named $3.
wait_for_screen() {
    local seconds=$1 check=$2 name=$3 end=$((SECONDS + $1))
    shift 3
    while :; do
        shot "$name"
        python3 "$here/screen_check.py" "$check" "$work/$name.ppm" "$@" >/dev/null 2>&1 && return 0
        [ $SECONDS -ge $end ] && { python3 "$here/screen_check.py" "$check" "$work/$name.ppm" "$@" || true; return 1; }
        sleep 0.5
    done
}

desktop_size() { xwininfo -id "$window" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}'; }
wait_for_desktop_size() {  # up to 10 s
    local tries
    for tries in $(seq 1 50); do
        [ "$(desktop_size)" = "$1" ] && return 0
        sleep 0.2
    done
    return 1
}

wait_for_banner() {  # the main window is on screen, banner and all
    local end=$((SECONDS + $1))
    while :; do
        shot main
        python3 "$here/screen_check.py" banner "$work/main.ppm" >/dev/null 2>&1 && return 0
        [ $SECONDS -ge $end ] && return 1
        sleep 0.5
    done
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

window=""
for tries in $(seq 1 100); do
    window=$(xdotool search --name "$desktop - Wine desktop" 2>/dev/null | head -1) && [ -n "$window" ] && break
    sleep 0.2
done
[ -n "$window" ] || fail "the Wine desktop did not appear"
[ "$(desktop_size)" = 1920x1080 ] || fail "the desktop is $(desktop_size), not 1920x1080"

wait_for_banner 30 || fail "the main window with its red banner did not appear"
python3 "$here/screen_check.py" selected "$work/main.ppm" || fail "no device row is selected"
echo "main window up, device row selected, banner at $(python3 "$here/screen_check.py" banner "$work/main.ppm")"

# The pattern test: the bars with the name popup at the top, kept there by
# the cursor in the top rows and gone once the cursor is away; then the five
# solid colours. (Keys reach the main window while the cursor is over it.)
xdotool windowfocus "$window" 2>/dev/null || true
xdotool mousemove --window "$window" 960 540
xdotool key alt+p
xdotool mousemove --window "$window" 960 2
wait_for_screen 15 popup pattern-popup || fail "Alt+P did not show the bars with the popup at the top"
echo "pattern test shows the SMPTE bars and the popup"
xdotool mousemove --window "$window" 960 700
wait_for_screen 15 smpte smpte-bars || fail "the SMPTE bars are not at their pixels once the popup left"
echo "the popup left and the SMPTE bars are exact"
for colour in "0 0 0" "255 0 0" "0 255 0" "0 0 255" "255 255 255"; do
    xdotool key space
    wait_for_screen 10 solid "solid-${colour// /-}" $colour || fail "Space did not show the solid colour $colour"
done
echo "Space showed black, red, green, blue and white"

# Patterns 7 to 13 at chosen pixels: the frame, disc and diagonal of
# "Boundary"; squares of "RGB samples"; blocks of the two levels; steps of
# "Contrast"; bars and stripes of "Gamma"; the dots of "Moire".
while read -r pattern pixels; do
    xdotool key space
    # shellcheck disable=SC2086
    wait_for_screen 10 pixels "pattern-$pattern" $pixels || fail "Space did not show pattern $pattern at its pixels"
done <<'PATTERNS'
7 0,0:255,255,255 1919,1079:255,255,255 1000,0:255,255,255 959,313:255,255,255 959,446:0,0,0 320,180:64,64,187
8 328,66:255,255,255 329,67:255,0,0 395,100:0,0,0 1578,1000:15,15,15 1578,200:15,0,16
9 420,135:1,1,1 474,135:0,0,0 1445,890:12,12,12 1446,890:0,0,0
10 420,135:254,254,254 474,135:255,255,255 1445,890:243,243,243 1446,890:255,255,255
11 600,100:12,12,12 600,216:0,0,0 600,217:25,25,25 900,1079:0,0,0 1200,1079:255,255,255 1500,0:255,255,255 1500,100:242,242,242 1919,1079:127,127,127
12 5,1075:25,25,25 1725,220:203,203,203 1725,470:181,181,181 1717,229:255,255,255 1745,218:255,255,255 1745,217:0,0,0
13 0,1:255,255,255 0,0:0,0,0 1,1:0,0,0 1000,501:255,255,255 1001,501:0,0,0
PATTERNS
echo "Space showed Boundary, RGB samples, Black and White Level, Contrast, Gamma and Moire at their pixels"

# Pattern 14 moves: two screenshots a moment apart differ.
xdotool key space
wait_for_screen 15 rings moire-interference || fail "Space did not show Moire Interference"
sleep 0.5
shot moire-interference-later
python3 "$here/screen_check.py" rings "$work/moire-interference-later.ppm" || fail "Moire Interference broke up"
cmp -s "$work/moire-interference.ppm" "$work/moire-interference-later.ppm" && fail "Moire Interference does not move"
echo "Moire Interference moves"

xdotool key space
wait_for_banner 15 || fail "Space at the last pattern did not end the pattern test"
echo "Space at the last pattern ended the pattern test"

# The same test in 800 x 600: check "Set test mode as selection" (Alt+T),
# go to the mode list (Alt+D), pick its first "8..." mode from the top.
banner_before=$(python3 "$here/screen_check.py" banner "$work/main.ppm")
xdotool key alt+t
xdotool key alt+d
xdotool key Home
xdotool key 8
xdotool key alt+p
wait_for_desktop_size 800x600 || fail "the desktop did not switch to 800x600 but is $(desktop_size)"
xdotool mousemove --window "$window" 400 400
wait_for_screen 15 smpte smpte-bars-800 || fail "the SMPTE bars are not at their pixels in 800x600"
echo "pattern test in 800x600 shows exact SMPTE bars"

xdotool key Escape
wait_for_desktop_size 1920x1080 || fail "Escape did not put the 1920x1080 mode back: $(desktop_size)"
wait_for_banner 15 || fail "the main window did not come back after the switched test"
banner_after=$(python3 "$here/screen_check.py" banner "$work/main.ppm")
[ "$banner_after" = "$banner_before" ] ||
    fail "the main window moved: banner at $banner_after, was $banner_before"
echo "1920x1080 is back and the main window is where it was"

xdotool key alt+F4
for tries in $(seq 1 100); do
    kill -0 "$explorer" 2>/dev/null || break
    sleep 0.2
done
kill -0 "$explorer" 2>/dev/null && fail "Alt+F4 did not end the program"
[ -f "$work/exitcode.txt" ] || fail "the program's exit code was not recorded"
code=$(tr -d ' \r\n' < "$work/exitcode.txt")
[ "$code" = 0 ] || fail "exit code $code"
echo "closed with exit code 0"
echo "1 passed, 0 failed"
