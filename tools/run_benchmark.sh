#!/bin/bash
# Builds the x86_64 programs and runs the install benchmark under Wine in a
# prefix of its own (build/bench): the install's extraction against a bare
# inflate-and-write of every entry, and start-up against a bare one-dialog
# program, both pairs measured in this run. usage: tools/run_benchmark.sh [ROUNDS]
set -eu
cd "$(dirname "$0")/.."
cmake --preset x86_64 > /dev/null
cmake --build --preset x86_64 > /dev/null
state=$PWD/build/bench
runner=tests/wine_run.sh
"$runner" "$state" --start
trap '"$runner" "$state" --stop' EXIT
"$runner" "$state" build/x86_64/tests/install_benchmark.exe "$PWD/build/x86_64/setup.exe" \
    "$PWD/build/x86_64/tests/bare_dialog.exe" 'C:\lumabook_benchmark' "${1:-5}"
