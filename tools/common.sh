# Shared steps of tools/run.sh and tools/test.sh: install what is missing,
# build, prepare the Wine prefix and a display. Sourced, not run.

PELMIRA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
PELMIRA_BUILD=$PELMIRA_ROOT/build
PELMIRA_BUILD_X64=$PELMIRA_ROOT/build/x64
PELMIRA_CACHE=${XDG_CACHE_HOME:-$HOME/.cache}/pelmira
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

PELMIRA_PACKAGES="wine wine32:i386 wine64 fonts-wine g++-mingw-w64-i686 g++-mingw-w64-x86-64
    cmake make googletest xvfb xdotool xclip imagemagick x11-utils python3 util-linux procps edid-decode"

pelmira_log() { echo "[pelmira] $*" >&2; }

pelmira_as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs the Debian packages that are not there yet. A mirror in mid-sync
# can fail one package list for hours: the set-up carries on without it, and
# when the install then fails on mismatched versions it tries once more from
# the release's own suite. A package that no list has stops it, by name.
pelmira_install_packages() {
    local missing="" package
    # shellcheck disable=SC2086
    for package in $PELMIRA_PACKAGES; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing="$missing $package"
    done
    [ -z "$missing" ] && return 0
    pelmira_log "installing:$missing"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        pelmira_as_root dpkg --add-architecture i386
    fi
    pelmira_as_root apt-get update -q ||
        pelmira_log "some package lists could not be fetched (a mirror in mid-sync?); carrying on with the others"
    # shellcheck disable=SC2086
    pelmira_apt_install $missing && return 0
    local suite
    suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
    pelmira_log "the install failed; trying once more from the release's own suite, $suite"
    # shellcheck disable=SC2086
    pelmira_apt_install -t "$suite" $missing && return 0
    pelmira_explain_install_failure "$suite" $missing
    return 1
}

pelmira_apt_install() {
    pelmira_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$@"
}

# Names the packages that cannot be installed from the suite $1, and why.
pelmira_explain_install_failure() {
    local suite=$1 package unknown="" stuck=""
    shift
    for package in "$@"; do
        if [ -z "$(apt-cache policy "$package" 2>/dev/null | grep 'Candidate:' | grep -v '(none)')" ]; then
            unknown="$unknown $package"
        elif ! apt-get install -s -q -t "$suite" --no-install-recommends "$package" >/dev/null 2>&1; then
            stuck="$stuck $package"
        fi
    done
    [ -n "$unknown" ] && pelmira_log "no package list has:$unknown"
    [ -n "$stuck" ] &&
        pelmira_log "could not install:$stuck. The likely cause is a package mirror in mid-sync; try again later."
    [ -n "$unknown$stuck" ] || pelmira_log "the install failed (see apt-get's messages above)"
}

# Whether this kernel runs 32-bit processes, which 32-bit Wine needs (some
# virtual machines switch the 32-bit emulation off).
pelmira_wine32_works() {
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

# The one choice of the build that Wine runs here, made once per command:
# PELMIRA_WINE=32 or 64 asks for one; otherwise the 32-bit build where the
# kernel runs 32-bit processes, else the 64-bit build of the same sources.
# Sets PELMIRA_RUN_BITS, PELMIRA_RUN_BUILD (the build folder) and
# PELMIRA_RUN_LOADER (the Wine loader that runs it).
pelmira_choose_build() {
    case "${PELMIRA_WINE:-}" in
    32 | 64) PELMIRA_RUN_BITS=$PELMIRA_WINE ;;
    "") if pelmira_wine32_works; then PELMIRA_RUN_BITS=32; else PELMIRA_RUN_BITS=64; fi ;;
    *) pelmira_log "PELMIRA_WINE is 32 or 64, not '$PELMIRA_WINE'"; return 1 ;;
    esac
    if [ "$PELMIRA_RUN_BITS" = 32 ] && ! pelmira_wine32_works; then
        pelmira_log "PELMIRA_WINE=32, but this kernel cannot run 32-bit processes"
        return 1
    fi
    if [ "$PELMIRA_RUN_BITS" = 32 ]; then
        PELMIRA_RUN_BUILD=$PELMIRA_BUILD
        PELMIRA_RUN_LOADER=/usr/lib/wine/wine
    else
        PELMIRA_RUN_BUILD=$PELMIRA_BUILD_X64
        PELMIRA_RUN_LOADER=/usr/lib/wine/wine64
    fi
    export PELMIRA_RUN_BITS PELMIRA_RUN_BUILD PELMIRA_RUN_LOADER
    # Without it, Wine's 64-bit loader looks for the 32-bit one to start its
    # own helper processes.
    [ "$PELMIRA_RUN_BITS" = 32 ] || export WINELOADER=$PELMIRA_RUN_LOADER
}

pelmira_configure_and_build() {
    local dir=$1 toolchain=$2
    shift 2
    cmake -S "$PELMIRA_ROOT" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$PELMIRA_ROOT/cmake/$toolchain" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$dir" -j"$(nproc)" --target "$@"
}

# Builds targets (default: everything). build/Pelmira.exe is always the
# 32-bit program; the 64-bit build is made too when it is the one that runs.
pelmira_build() {
    local targets=("${@:-all}")
    pelmira_choose_build
    pelmira_configure_and_build "$PELMIRA_BUILD" mingw-i686.cmake "${targets[@]}"
    if [ "$PELMIRA_RUN_BITS" = 64 ]; then
        if [ -n "${PELMIRA_WINE:-}" ]; then
            pelmira_log "PELMIRA_WINE=64: Wine runs the 64-bit build"
        else
            pelmira_log "this kernel cannot run 32-bit processes: Wine runs the 64-bit build"
        fi
        pelmira_configure_and_build "$PELMIRA_BUILD_X64" mingw-x86_64.cmake "${targets[@]}"
    fi
}

# Creates a Wine prefix once and exports WINEPREFIX; later runs reuse it.
# "run" is the user's prefix. "test" keeps every window of the tests in a
# 1920x1080 Wine virtual desktop: the same screen on every machine, real
# display mode changes, and no 2 s wait for a window manager that is not
# there each time a visible window is destroyed.
pelmira_prepare_prefix() {
    local kind=$1
    export WINEPREFIX=${PELMIRA_WINEPREFIX:-$PELMIRA_CACHE/wine-$kind}
    [ -f "$WINEPREFIX/.pelmira-ready-3" ] && return 0
    pelmira_log "creating the Wine prefix $WINEPREFIX (once)"
    mkdir -p "$WINEPREFIX"
    local wine=/usr/lib/wine/wine64
    "$wine" wineboot -i >/dev/null 2>&1
    # Debian's Wine 8 looks for its own fonts (Marlett for the caption
    # buttons, Tahoma, MS Sans Serif, System) in a folder that its path
    # cannot name, /usr/share/wine/../fonts; it also looks in the prefix.
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$WINEPREFIX/drive_c/windows/Fonts/"
    # Dialogs in "MS Shell Dlg" get MS Sans Serif, as Windows gives them its
    # TrueType form (Wine would give them the narrower Tahoma).
    "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
        /v 'MS Shell Dlg' /d 'MS Sans Serif' /f >/dev/null 2>&1
    # A crash must end the process, not wait for someone to close a dialog.
    "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    if [ "$kind" = test ]; then
        "$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
        "$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1920x1080 /f >/dev/null 2>&1
    fi
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w
    touch "$WINEPREFIX/.pelmira-ready-3"
}

# For the test and benchmark commands: one run at a time per user (runs
# share the build and the test prefix), in a private display with the test
# prefix and one wineserver kept for the whole run (each Wine process would
# otherwise start its own; one left from an earlier run would show its
# windows elsewhere), all cleaned up when the calling script exits.
pelmira_start_test_session() {
    mkdir -p "$PELMIRA_CACHE"
    exec 9>"$PELMIRA_CACHE/test.lock"
    flock 9
    pelmira_choose_build
    pelmira_start_display
    trap 'wineserver -k >/dev/null 2>&1 || true; pelmira_stop_display' EXIT
    pelmira_prepare_prefix test
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    wineserver -p
    # Wine's services start now, away from the callers' output pipes.
    "$PELMIRA_RUN_LOADER" wineboot >/dev/null 2>&1 </dev/null || true
}

# Starts an Xvfb display of 1920x1080 and exports DISPLAY; the caller stops
# it with pelmira_stop_display.
pelmira_start_display() {
    local number
    for number in $(seq 91 140); do
        [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] && continue
        Xvfb ":$number" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
        PELMIRA_XVFB_PID=$!
        export DISPLAY=":$number"
        local tries
        for tries in $(seq 1 50); do
            xdpyinfo >/dev/null 2>&1 && return 0
            sleep 0.1
        done
        kill "$PELMIRA_XVFB_PID" 2>/dev/null
    done
    pelmira_log "could not start Xvfb"
    return 1
}

# The X window of the Wine desktop named $1 (waits up to 20 s for it).
pelmira_find_desktop() {
    local tries window
    for tries in $(seq 1 100); do
        window=$(xdotool search --name "$1 - Wine desktop" 2>/dev/null | head -1)
        [ -n "$window" ] && { echo "$window"; return 0; }
        sleep 0.2
    done
    return 1
}

# Takes screenshots of X window $1 as $2 (PNG) and $2.ppm until the check $3
# of tests/e2e/screen_check.py passes on one; gives up after $4 seconds.
pelmira_wait_for_screen() {
    local window=$1 shot=$2 check=$3 end=$((SECONDS + $4))
    while :; do
        import -window "$window" "$shot" && convert "$shot" "$shot.ppm" &&
            python3 "$PELMIRA_ROOT/tests/e2e/screen_check.py" "$check" "$shot.ppm" >/dev/null 2>&1 && return 0
        [ $SECONDS -ge $end ] && return 1
        sleep 0.5
    done
}

pelmira_stop_display() {
    [ -n "${PELMIRA_XVFB_PID:-}" ] && kill "$PELMIRA_XVFB_PID" 2>/dev/null
    PELMIRA_XVFB_PID=
}
