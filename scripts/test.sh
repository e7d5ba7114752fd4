#!/bin/sh
# Builds the native and the Windows targets and runs every test (the Windows programs under
# Wine), then the native suite again under AddressSanitizer with UBSan and under
# ThreadSanitizer, each fuzz target for 30 s and the load and fault test for 10 s: any finding
# fails the run.
# The Windows suite runs on the i686 build under Wine where the kernel runs 32-bit programs, else
# on the x86_64 build of the same sources under wine64 (VELOTAM_WINDOWS_ARCH=i686|x86_64 forces
# one). The product's i686 DLL is built and checked everywhere.
set -eu
cd "$(dirname "$0")/.."
# Besides the builds' packages: the browser that the remote-control page is tested in.
sh scripts/setup.sh --with-windows chromium chromium-driver python3-selenium
. scripts/windows_arch.sh
echo "$windows_reason"
cmake --build build/native
cmake --build build/win
[ "$windows_build" = build/win ] || cmake --build "$windows_build"
(cd build/native && ctest --output-on-failure)
# The i686 DLL's checks that need no Wine (exports, imports; the record's layout is checked
# when it compiles), then the whole Windows suite on the chosen build.
[ "$windows_build" = build/win ] || (cd build/win && ctest --output-on-failure -L nowine)
(cd "$windows_build" && ctest --output-on-failure)
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
