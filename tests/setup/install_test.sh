#!/usr/bin/env bash
# The set-up's decisions when apt fails, with stand-ins for apt-get,
# apt-cache, dpkg and dpkg-query on PATH: a package list that cannot be
# fetched, an install that works only from the release's own suite, and a
# package that no list has.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../tools/common.sh"
pelmira_as_root() { "$@"; }
PELMIRA_PACKAGES="wine32:i386 edid-decode"
suite=$(. /etc/os-release && echo "$VERSION_CODENAME")

stand=$(mktemp -d)
trap 'rm -rf "$stand"' EXIT
# apt-get's exit codes come from STANDIN_UPDATE, STANDIN_INSTALL and
# STANDIN_PINNED (an install with -t, or a simulated one); each call is logged.
cat >"$stand/apt-get" <<'END'
#!/bin/sh
echo "apt-get $*" >>"$STANDIN_LOG"
case " $* " in
*" update "*) [ "$STANDIN_UPDATE" = 0 ] || echo "E: Failed to fetch ... Mirror sync in progress?" >&2
              exit "$STANDIN_UPDATE" ;;
*" -t "*) exit "$STANDIN_PINNED" ;;
*) exit "$STANDIN_INSTALL" ;;
esac
END
cat >"$stand/apt-cache" <<'END'
#!/bin/sh
case " $STANDIN_UNKNOWN " in *" $2 "*) echo "  Candidate: (none)" ;; *) echo "  Candidate: 1.0" ;; esac
END
printf '#!/bin/sh\nexit 1\n' >"$stand/dpkg-query"
printf '#!/bin/sh\necho i386\n' >"$stand/dpkg"
chmod +x "$stand"/*
PATH=$stand:$PATH
export STANDIN_LOG=$stand/log

failures=0
# check NAME UPDATE INSTALL PINNED UNKNOWN STATUS PATTERN...: runs the
# install with those exit codes and packages unknown to apt-cache; the exit
# status and each pattern (an extended regular expression that the log of
# calls and messages must hold) are checked.
check() {
    local name=$1 pattern status
    export STANDIN_UPDATE=$2 STANDIN_INSTALL=$3 STANDIN_PINNED=$4 STANDIN_UNKNOWN=$5
    : >"$STANDIN_LOG"
    (set -euo pipefail; pelmira_install_packages) >>"$STANDIN_LOG" 2>&1
    status=$?
    shift 5
    [ "$status" = "$1" ] || { echo "$name: status $status, not $1"; failures=$((failures + 1)); }
    shift
    for pattern in "$@"; do
        grep -qE -- "$pattern" "$STANDIN_LOG" ||
            { echo "$name: no line matches '$pattern' in:"; cat "$STANDIN_LOG"; failures=$((failures + 1)); }
    done
}

check "a list fails, the install works" 100 0 0 "" 0 "carrying on" "^apt-get install .*wine32:i386 edid-decode"
check "the pinned install works" 100 100 0 "" 0 "^apt-get install .*-t $suite .*wine32:i386 edid-decode"
check "nothing installs" 100 100 100 "" 1 "could not install: wine32:i386 edid-decode\. .*mirror in mid-sync"
check "no such package" 0 100 100 "edid-decode" 1 "no package list has: edid-decode$"
[ "$failures" = 0 ] && echo "install_test: all cases passed"
exit "$failures"
