#!/bin/bash
# Installs what is missing and builds both setup programs: build/i686 (shipping)
# and build/x86_64 (the same sources). The test programs are built in the tree
# of TEST_TARGET (default x86_64), to run under the Wine of WINE_ROOT (a root
# made by tools/wine_root.sh; empty: the machine's own Wine).
#
#   tools/build_both.sh [TEST_TARGET [WINE_ROOT]]
set -eu
cd "$(dirname "$0")/.."
test_target=${1:-x86_64}
wine_root=${2:-}
tools/install_prerequisites.sh
for preset in i686 x86_64; do
    tests=OFF
    [ "$preset" = "$test_target" ] && tests=ON
    cmake --preset "$preset" -DLUMABOOK_TESTS=$tests -DLUMABOOK_WINE_ROOT="$wine_root" > /dev/null
    cmake --build --preset "$preset"
done
