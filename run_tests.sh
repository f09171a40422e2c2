#!/bin/bash
# Installs what is missing, builds the shipping (i686) and the test (x86_64)
# setup programs, and runs the whole test suite under Wine.
set -eu
cd "$(dirname "$0")"
tools/build_both.sh
ctest --preset x86_64 -j2
