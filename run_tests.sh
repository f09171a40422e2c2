#!/bin/bash
# Installs what is missing, builds the shipping (i686) and the test (x86_64)
# setup programs, and runs the whole test suite under Wine.
set -eu
cd "$(dirname "$0")"
tools/install_prerequisites.sh
cmake --preset i686 > /dev/null
cmake --build --preset i686
cmake --preset x86_64 > /dev/null
cmake --build --preset x86_64
ctest --preset x86_64 -j2
