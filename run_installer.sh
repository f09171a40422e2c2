#!/bin/bash
# Installs what is missing, builds both setup programs and runs one of them
# under Wine in a prefix of its own (build/run): the shipping i686 program where
# this machine runs 32-bit code (Wine 10 in WoW64 mode, in the root that
# tools/wine_root.sh makes), else the x86_64 twin (tools/test_target.sh says
# which; LUMABOOK_TEST_TARGET overrides). With a display the installer simply
# starts for a person to use. Without one it runs on a virtual display: a driver
# walks the wizard with the proposed answers through a real install into that
# prefix, saves a picture of every page, and reports what was installed.
set -eu
cd "$(dirname "$0")"
choice=$(tools/test_target.sh) || exit 1
target=${choice%%$'\n'*}
echo "${choice#*$'\n'}"
wine_root=
if [ "$target" = i686 ]; then
    wine_root=$(tools/wine_root.sh make)
fi
tools/build_both.sh "$target" "$wine_root"
export LUMABOOK_WINE_ROOT=$wine_root

state=$PWD/build/run
runner=tests/wine_run.sh
setup=build/$target/setup.exe
echo "Built: build/i686/setup.exe (shipping) and build/x86_64/setup.exe; running $setup"
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
"$runner" "$state" "build/$target/tests/install_walkthrough.exe" "$PWD/$setup" "$screenshots"
echo "Ran $setup ($target); installed inside the Wine prefix $state/prefix (drive C: is $state/prefix/drive_c)"
echo "Page screenshots: $screenshots ($(cd "$screenshots" && ls | tr '\n' ' '))"
