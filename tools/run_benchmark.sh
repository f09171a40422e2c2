#!/bin/bash
# Builds the programs of the build the tests run (the shipping i686 one where
# this machine runs 32-bit code, else the x86_64 twin: tools/test_target.sh)
# and runs the install benchmark under Wine in a prefix of its own
# (build/bench): the install's extraction against a bare inflate-and-write of
# every entry, and start-up against a bare one-dialog program of the same
# image size, both pairs measured in this run, with start-up step by step from
# the timed build of the setup program. usage: tools/run_benchmark.sh [ROUNDS]
set -eu
cd "$(dirname "$0")/.."
choice=$(tools/test_target.sh) || exit 1
target=${choice%%$'\n'*}
wine_root=
if [ "$target" = i686 ]; then
    wine_root=$(tools/wine_root.sh make)
fi
cmake --preset "$target" -DLUMABOOK_TESTS=ON -DLUMABOOK_WINE_ROOT="$wine_root" > /dev/null
cmake --build --preset "$target" > /dev/null
export LUMABOOK_WINE_ROOT=$wine_root
echo "Benchmark of build/$target/setup.exe (${choice#*$'\n'})"
state=$PWD/build/bench
runner=tests/wine_run.sh
"$runner" "$state" --start
trap '"$runner" "$state" --stop' EXIT
echo "Load average before the run: $(cut -d' ' -f1-3 /proc/loadavg)"
"$runner" "$state" "build/$target/tests/install_benchmark.exe" "$PWD/build/$target/setup.exe" \
    "$PWD/build/$target/setup_timed.exe" "$PWD/build/$target/tests/bare_dialog.exe" 'C:\lumabook_benchmark' "${1:-5}"
