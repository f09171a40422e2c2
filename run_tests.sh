#!/bin/bash
# Installs what is missing, builds both setup programs and runs the whole test
# suite under Wine: on the shipping i686 program where this machine runs 32-bit
# code (in a Debian 13 root with Wine 10, made once by tools/wine_root.sh), else
# on the x86_64 twin under the machine's own Wine. The first line and the line
# after ctest's summary say which (tools/test_target.sh; LUMABOOK_TEST_TARGET overrides).
set -eu
cd "$(dirname "$0")"
choice=$(tools/test_target.sh) || exit 1
target=${choice%%$'\n'*}
note=${choice#*$'\n'}
echo "$note"
wine_root=
if [ "$target" = i686 ]; then
    wine_root=$(tools/wine_root.sh make)
fi
tools/build_both.sh "$target" "$wine_root"
status=0
ctest --preset "$target" -j2 || status=$?
echo "${note%%$'\n'*}"
exit $status
