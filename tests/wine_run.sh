#!/bin/bash
# Runs one Windows test program under Wine, in the test run's own prefix.
#
#   wine_run.sh STATE_DIR PROGRAM [ARGS...]   run PROGRAM (starting the run's Wine when needed)
#   wine_run.sh STATE_DIR --start [HOLDER]    begin a run: a fresh prefix, HOME, display and wineserver;
#                                             HOLDER (tests/support/hold_desktop.cpp) keeps the desktop open
#   wine_run.sh STATE_DIR --stop              end the run: stop what --start started, by PID
#
# The lock on STATE_DIR.lock serialises starting; the daemons must not inherit
# its descriptor, or they would hold the lock for as long as they run.
# The prefix and HOME live in STATE_DIR; a new prefix links its Desktop to that
# HOME. Without a DISPLAY a private Xvfb is started. One persistent wineserver
# serves every test program of the run, so each starts in well under a second.
# The run's Wine sees no Chinese, Japanese or Korean font (tests/fonts): Wine
# caches the font list in the prefix, so this holds from the prefix's creation.
#
# With LUMABOOK_WINE_ROOT set (to the root tools/wine_root.sh makes), Wine 10
# runs in that root, which starts 32-bit programs in WoW64 mode; otherwise the
# machine's own Wine (Debian 12's Wine 8, 64-bit programs only).
set -u
tests_dir=$(cd "$(dirname "$0")" && pwd)
fonts_conf=$tests_dir/fonts/no_cjk_fonts.conf
state=$(realpath -m "$1")
shift
if [ -n "${LUMABOOK_WINE_ROOT:-}" ]; then
    in_root=("$tests_dir/../tools/wine_root.sh" run)
    export LUMABOOK_WINE_ROOT_DIR=$LUMABOOK_WINE_ROOT
else
    in_root=()
fi
wine=("${in_root[@]}" /usr/lib/wine/wine64)
wineserver=("${in_root[@]}" /usr/lib/wine/wineserver)

use_environment() {
    export HOME=$state/home WINEPREFIX=$state/prefix WINEDEBUG=-all
    export WINEDLLOVERRIDES="winemenubuilder.exe=d;winedbg.exe=d;mscoree=d;mshtml=d"
    # Wine 10 makes a WoW64 prefix only with WINEARCH unset.
    if [ ${#in_root[@]} -eq 0 ]; then export WINEARCH=win64; else unset WINEARCH; fi
    export FONTCONFIG_FILE=$fonts_conf
    if [ -f "$state/display" ]; then
        DISPLAY=$(cat "$state/display")
        export DISPLAY
    fi
}

start_display() {
    if [ -n "${DISPLAY:-}" ]; then
        echo "$DISPLAY" > "$state/display"
        return 0
    fi
    exec 8> "$state/displayfd"
    setsid Xvfb -displayfd 8 -screen 0 1280x1024x24 -nolisten tcp > "$state/xvfb.log" 2>&1 < /dev/null 9>&- &
    echo $! > "$state/xvfb.pid"
    exec 8>&-
    for _ in $(seq 100); do
        [ -s "$state/displayfd" ] && break
        sleep 0.1
    done
    if [ ! -s "$state/displayfd" ]; then
        echo "wine_run: Xvfb did not start (see $state/xvfb.log)" >&2
        return 1
    fi
    echo ":$(head -n1 "$state/displayfd")" > "$state/display"
}

start_run() {
    stop_run
    rm -rf "$state"
    mkdir -p "$state/home" "$state/prefix"
    start_display || return 1
    use_environment
    # The prefix is made before the persistent wineserver starts (Wine 10 leaves
    # a prefix made under one without its 32-bit system folder), and the small
    # disk is mounted before it too: a wineserver in its own mount namespace
    # (tools/wine_root.sh) sees only what was mounted when it started.
    "${wine[@]}" wineboot --init > "$state/wineboot.log" 2>&1 9>&-
    "${wineserver[@]}" -w 9>&-
    mount_small_disk
    setsid "${wineserver[@]}" -p > /dev/null 2>&1 < /dev/null 9>&-
    # Without a window manager Wine's managed windows stall on every close.
    "${wine[@]}" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f > /dev/null 2>&1 9>&-
    hold_desktop || return 1
    touch "$state/ready"
}

# Wine closes the desktop a second after its last program ends; a program
# starting just then meets a desktop being torn down and can die before it
# prints anything (the likely cause of a test "failing" in 0.05 s with no output).
# One program that holds the desktop for the whole run, started before any
# test, closes that gap. It is ended with the wineserver by --stop.
hold_desktop() {
    [ -n "$holder" ] || return 0
    rm -f "$state/desktop_held"
    setsid "${wine[@]}" "$holder" "Z:$state/desktop_held" > "$state/holder.log" 2>&1 < /dev/null 9>&- &
    local pid=$!
    # On a busy machine its start can take long: wait for as long as it lives
    # (the fixture's own time limit stops a hang).
    while kill -0 "$pid" 2> /dev/null; do
        [ -f "$state/desktop_held" ] && return 0
        sleep 0.1
    done
    [ -f "$state/desktop_held" ] && return 0
    echo "wine_run: the desktop holder ended before it held the desktop (see $state/holder.log)" >&2
    return 1
}

# A 2 MiB tmpfs as drive X: lets tests fill a disk. Only root can mount it;
# without it the full-disk tests skip themselves.
mount_small_disk() {
    mkdir -p "$state/smalldisk"
    if [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=2m tmpfs "$state/smalldisk" 2> /dev/null; then
        ln -sfn "$state/smalldisk" "$WINEPREFIX/dosdevices/x:"
    fi
}

stop_run() {
    [ -d "$state/prefix" ] || return 0
    ( use_environment; "${wineserver[@]}" -k > /dev/null 2>&1 )
    if [ -f "$state/xvfb.pid" ]; then
        kill "$(cat "$state/xvfb.pid")" 2> /dev/null
        rm -f "$state/xvfb.pid"
    fi
    if mountpoint -q "$state/smalldisk" 2> /dev/null; then
        umount "$state/smalldisk"
    fi
    rm -f "$state/ready"
}

mkdir -p "$(dirname "$state")"
holder=
case "${1:-}" in
--start)
    holder=${2:-}
    exec 9> "$state.lock"; flock 9
    start_run
    exit $?
    ;;
--stop)
    exec 9> "$state.lock"; flock 9
    stop_run
    exit 0
    ;;
esac

exec 9> "$state.lock"
flock 9
[ -f "$state/ready" ] || start_run || exit 1
flock -u 9
exec 9>&-
use_environment

# A test program of ours marks the moment it reaches its own code (tests/support/
# reached_marker.cpp). One that Wine lost before that moment, ending with an
# error and without the mark, has not run a line of the test, so it is started
# again; every other outcome, a failure included, is the program's own. Each
# retry is written to restarts.log with the exit code Wine gave, for whoever
# looks into why Wine lost it.
marker=$state/reached.$$
program_marks_start() {
    [ -f "$1" ] && grep -q LUMABOOK_REACHED_MARKER "$1"
}
if ! program_marks_start "${1:-}"; then
    exec "${wine[@]}" "$@"
fi
for attempt in 1 2 3; do
    rm -f "$marker"
    LUMABOOK_REACHED_MARKER="Z:$marker" "${wine[@]}" "$@"
    status=$?
    if [ $status -eq 0 ] || [ -e "$marker" ] || [ $attempt -eq 3 ]; then
        break
    fi
    echo "$(date '+%F %T') $1: exit code $status before the program's own code; started again" >> "$state/restarts.log"
    echo "wine_run: $1 ended (exit code $status) before reaching its own code; starting it again" >&2
done
rm -f "$marker"
exit $status
