#!/bin/sh
# Builds the fuzz targets (clang, libFuzzer with ASan+UBSan) and runs each for SECONDS (default
# 30) from its seed corpus in fuzz/corpus/ with the dictionary fuzz/velotam.dict. A finding
# (crash, sanitizer report, broken invariant) fails the run and leaves its input in build/fuzz/.
#   sh scripts/fuzz.sh [SECONDS]
set -eu
cd "$(dirname "$0")/.."
seconds="${1:-30}"
sh scripts/setup.sh clang libclang-rt-14-dev
targets="ini lang m3u octet request"
[ -f build/fuzz/build.ninja ] || CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja \
  -DVELOTAM_FUZZ=ON -DVELOTAM_TESTS=OFF
set --
for t in $targets; do set -- "$@" "${t}_fuzz"; done
cmake --build build/fuzz --target "$@"
status=0
for t in $targets; do
  # The corpus grows in the build tree; the committed seeds stay as they are.
  work="build/fuzz/corpus/$t"
  mkdir -p "$work"
  if ! build/fuzz/${t}_fuzz -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -dict=fuzz/velotam.dict -artifact_prefix="build/fuzz/$t-" -print_final_stats=1 \
    "$work" "fuzz/corpus/$t" >"build/fuzz/$t.log" 2>&1; then
    echo "FAIL: $t (build/fuzz/$t.log)"
    tail -30 "build/fuzz/$t.log"
    status=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "build/fuzz/$t.log")
  cov=$(grep -o 'cov: [0-9]*' "build/fuzz/$t.log" | tail -1)
  echo "$t: ${runs:-0} runs in $seconds s, $cov"
done
exit "$status"
