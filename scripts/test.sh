#!/bin/sh
# Builds both targets (native and the Windows cross-build) and runs every test (the Windows
# programs under Wine), then the native suite again under AddressSanitizer with UBSan and under
# ThreadSanitizer, each fuzz target for 30 s and the load and fault test for 10 s: any finding
# fails the run.
set -eu
cd "$(dirname "$0")/.."
# Besides the builds' packages: the browser that the remote-control page is tested in.
sh scripts/setup.sh --with-windows chromium chromium-driver python3-selenium
cmake --build build/native
cmake --build build/win
(cd build/native && ctest --output-on-failure)
(cd build/win && ctest --output-on-failure)
[ -f build/asan/build.ninja ] || cmake -S . -B build/asan -G Ninja -DVELOTAM_SANITIZE=ON
[ -f build/tsan/build.ninja ] || cmake -S . -B build/tsan -G Ninja -DVELOTAM_TSAN=ON
cmake --build build/asan
cmake --build build/tsan
(cd build/asan && ctest --output-on-failure)
(cd build/tsan && ctest --output-on-failure)
# Each fuzz target for 30 s.
sh scripts/fuzz.sh 30
# The load and fault test for 10 s.
sh scripts/soak.sh 10
