#!/bin/bash
# Installs what is missing and builds both setup programs: build/i686 (shipping)
# and build/x86_64 (the same sources, with the test programs).
set -eu
cd "$(dirname "$0")/.."
tools/install_prerequisites.sh
for preset in i686 x86_64; do
    cmake --preset "$preset" > /dev/null
    cmake --build --preset "$preset"
done
