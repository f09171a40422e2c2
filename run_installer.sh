#!/bin/bash
# Installs what is missing, builds both setup programs and runs the x86_64 one
# under Wine in a prefix of its own (build/run). With a display the installer
# simply starts for a person to use. Without one it runs on a virtual display:
# a driver walks the wizard with the proposed answers through a real install
# into that prefix, saves a picture of every page, and reports what was installed.
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
screenshots=$PWD/build/screenshots
rm -rf "$screenshots"
mkdir -p "$screenshots"
# A scratch prefix for every run, so the install is always a fresh one.
"$runner" "$state" --stop
rm -rf "$state"
"$runner" "$state" --start
trap '"$runner" "$state" --stop' EXIT
"$runner" "$state" build/x86_64/tests/install_walkthrough.exe "$PWD/$setup" "$screenshots"
echo "Installed inside the Wine prefix $state/prefix (drive C: is $state/prefix/drive_c)"
echo "Page screenshots: $screenshots ($(cd "$screenshots" && ls | tr '\n' ' '))"
