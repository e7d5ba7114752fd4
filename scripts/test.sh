#!/bin/sh
# Builds both targets (native and the Windows cross-build) and runs every test (the Windows
# programs under Wine).
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh --with-windows
cmake --build build/native
cmake --build build/win
(cd build/native && ctest --output-on-failure)
(cd build/win && ctest --output-on-failure)
