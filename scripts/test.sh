#!/bin/sh
# Builds the native and the Windows targets and runs every test (the Windows programs under
# Wine), the server's lifecycle tests again while the sanitizer builds keep the machine busy,
# then the native suite under AddressSanitizer with UBSan and under ThreadSanitizer, each fuzz
# target for 30 s and the load and fault test for 10 s: any finding fails the run.
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
# The server's lifecycle again while the machine is busy: the sanitizer builds take both cores
# while the restart stress runs, natively and under Wine (races hide on a quiet machine).
(cmake --build build/asan && cmake --build build/tsan) >build/sanitizer-build.log 2>&1 &
builds=$!
busy=0
lifecycle='Lifecycle.*:Acceptor.*:WorkerChain.*'
echo "lifecycle tests while the sanitizer builds run"
build/native/velotam_tests --gtest_filter="$lifecycle" --gtest_repeat=3 --gtest_brief=1 || busy=1
state="$(pwd)/$windows_build/wine-busy"
sh tests/win32/wine.sh setup "$state" "$windows_arch" >/dev/null
sh tests/win32/wine.sh run "$state" "$windows_build/velotam_tests.exe" --gtest_filter="$lifecycle" \
  --gtest_repeat=2 --gtest_brief=1 || busy=1
sh tests/win32/wine.sh teardown "$state"
wait "$builds" || { cat build/sanitizer-build.log; exit 1; }
[ "$busy" -eq 0 ] || exit 1
(cd build/asan && ctest --output-on-failure)
(cd build/tsan && ctest --output-on-failure)
# Each fuzz target for 30 s.
sh scripts/fuzz.sh 30
# The load and fault test for 10 s.
sh scripts/soak.sh 10
