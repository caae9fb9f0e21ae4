#!/usr/bin/env bash
# End to end, as a user would: Pelmira in a 1920x1080 Wine virtual desktop,
# driven with real keys. Arguments: the program, the Wine loader and the
# reader of the motion panel's figures.
set -euo pipefail
program=$1
loader=$2
reader=$3
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

# Waits up to $1 seconds for screen_check.py $2 to pass on a fresh screenshot.
wait_for_screen() {
    local seconds=$1 check=$2 end=$((SECONDS + $1))
    while :; do
        shot "$check"
        python3 "$here/screen_check.py" "$check" "$work/$check.ppm" >/dev/null 2>&1 && return 0
        [ $SECONDS -ge $end ] && { python3 "$here/screen_check.py" "$check" "$work/$check.ppm" || true; return 1; }
        sleep 0.5
    done
}

# Writes the motion panel's "SPEED|FPS" to $work/panel.txt; the reader runs in
# Pelmira's desktop, where it can find the panel.
read_motion_panel() {
    rm -f "$work/panel.txt"
    timeout 30 "$loader" explorer "/desktop=$desktop,1920x1080" "$winreader" "$winwork\\panel.txt" \
        >>"$work/explorer.log" 2>&1 </dev/null || return 1
    local tries
    for tries in $(seq 1 50); do
        [ -s "$work/panel.txt" ] && return 0
        sleep 0.2
    done
    return 1
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
winreader=$(windows_path "$reader")
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

xdotool windowfocus "$window" 2>/dev/null || true
xdotool key alt+p
wait_for_screen 15 covered || fail "Alt+P did not open a test window over the whole desktop"
echo "pattern test covers the desktop"

xdotool key Escape
wait_for_banner 15 || fail "Escape did not end the pattern test"
echo "Escape ended the pattern test"

# The same test in 800 x 600: check "Set test mode as selection" (Alt+T),
# go to the mode list (Alt+D), pick its first "8..." mode from the top.
banner_before=$(python3 "$here/screen_check.py" banner "$work/main.ppm")
xdotool key alt+t
xdotool key alt+d
xdotool key Home
xdotool key 8
xdotool key alt+p
wait_for_desktop_size 800x600 || fail "the desktop did not switch to 800x600 but is $(desktop_size)"
wait_for_screen 15 covered || fail "the test window does not cover the 800x600 desktop"
echo "pattern test in 800x600 covers the desktop"

xdotool key Escape
wait_for_desktop_size 1920x1080 || fail "Escape did not put the 1920x1080 mode back: $(desktop_size)"
wait_for_banner 15 || fail "the main window did not come back after the switched test"
banner_after=$(python3 "$here/screen_check.py" banner "$work/main.ppm")
[ "$banner_after" = "$banner_before" ] ||
    fail "the main window moved: banner at $banner_after, was $banner_before"
echo "1920x1080 is back and the main window is where it was"

# The motion test on the 1920x1080 desktop: Alt+T clears the test mode that
# the switched run set, Alt+M starts. A white square on black at the vertical
# centre, the panel at the top; two seconds later the panel shows a speed
# near 60 pixels per second and some screen updates.
xdotool key alt+t
xdotool key alt+m
wait_for_screen 15 motion || fail "Alt+M did not show a white square on black with the panel at the top"
echo "motion test: $(python3 "$here/screen_check.py" motion "$work/motion.ppm")"
sleep 2
shot motion-2s
read_motion_panel || fail "the motion panel's figures could not be read"
figures=$(tr -d '\r\n' < "$work/panel.txt")
speed=${figures%%|*}
fps=${figures#*|}
fps=${fps%% *}
[[ $speed =~ ^[0-9]+$ ]] && [ "$speed" -ge 50 ] && [ "$speed" -le 65 ] ||
    fail "the panel shows a speed of \"$speed\" pixels per second, not about 60"
[[ $fps =~ ^[0-9]+$ ]] && [ "$fps" -gt 0 ] || fail "the panel shows \"${figures#*|}\" screen updates"
echo "the panel shows $speed pixels per second and ${figures#*|} screen updates per second"
xdotool key Escape
wait_for_banner 15 || fail "Escape did not end the motion test"
echo "Escape ended the motion test"

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
