#!/bin/bash
# Installs what is missing, builds both setup programs and runs the x86_64 one
# under Wine in a prefix of its own (build/run). Without a display it runs on a
# virtual one, saves a screenshot of the first page and closes the installer.
set -eu
cd "$(dirname "$0")"
tools/build_both.sh

state=$PWD/build/run
runner=tests/wine_run.sh
setup=build/x86_64/setup.exe
echo "Built: build/i686/setup.exe (shipping) and $setup"
if [ -n "${DISPLAY:-}" ]; then
    "$runner" "$state" --start
    trap '"$runner" "$state" --stop' EXIT
    "$runner" "$state" "$setup"
    exit 0
fi
screenshot=$PWD/build/screenshots/first_page.png
mkdir -p "$(dirname "$screenshot")"
"$runner" "$state" --start
trap '"$runner" "$state" --stop' EXIT
"$runner" "$state" build/x86_64/tests/setup_screenshot.exe "$setup" "$screenshot"
echo "No display: the installer ran on a virtual display; its first page is in $screenshot"
