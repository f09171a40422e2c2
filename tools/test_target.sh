#!/bin/bash
# Chooses the build that the tests, the main job and the benchmark run: the
# shipping i686 program where this machine runs 32-bit code inside a 64-bit
# process (Wine 10's WoW64 mode needs that), else the x86_64 twin of the same
# sources. Prints the target on its first line and what was chosen and why on
# the lines after it. LUMABOOK_TEST_TARGET=i686 or x86_64 overrides the choice;
# i686 on a machine that cannot run it stops at once with the probe's reason.
#
#   choice=$(tools/test_target.sh) || exit 1
#   target=${choice%%$'\n'*} note=${choice#*$'\n'}
set -eu
cd "$(dirname "$0")/.."
probe_source=tools/probe_32bit/probe_32bit.c
probe=build/host/probe_32bit

# The probe is a host program: the machine's own compiler, no PIE (its 64-bit
# return address must fit a 32-bit far-return frame).
build_probe() {
    [ "$probe" -nt "$probe_source" ] && return 0
    mkdir -p "$(dirname "$probe")"
    cc -O2 -Wall -no-pie -o "$probe.new" "$probe_source" && mv "$probe.new" "$probe"
}

if ! build_probe; then
    echo "test_target: the 32-bit probe ($probe_source) did not build with the host compiler" >&2
    exit 1
fi
answer=$("$probe") && runs_32bit=1 || runs_32bit=0
twin_note="this machine runs no 32-bit code: the x86_64 twin was tested, the shipping build was not run"

case "${LUMABOOK_TEST_TARGET:-}" in
"")
    if [ $runs_32bit = 1 ]; then
        echo i686
        echo "this machine runs 32-bit code: the shipping build (i686) is tested, under Wine 10 in WoW64 mode"
    else
        echo x86_64
        echo "$twin_note"
        echo "(the probe: $answer)"
    fi
    ;;
i686)
    if [ $runs_32bit = 0 ]; then
        echo "test_target: LUMABOOK_TEST_TARGET=i686, but this machine cannot run 32-bit code ($answer)" >&2
        exit 1
    fi
    echo i686
    echo "LUMABOOK_TEST_TARGET=i686: the shipping build (i686) is tested, under Wine 10 in WoW64 mode"
    ;;
x86_64)
    echo x86_64
    echo "LUMABOOK_TEST_TARGET=x86_64: the x86_64 twin is tested, the shipping build is not run"
    ;;
*)
    echo "test_target: LUMABOOK_TEST_TARGET must be i686 or x86_64, not '$LUMABOOK_TEST_TARGET'" >&2
    exit 1
    ;;
esac
