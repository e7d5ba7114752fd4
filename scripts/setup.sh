#!/bin/sh
# Installs what the builds need on Debian 12 (only what is missing) and configures both builds.
set -eu
cd "$(dirname "$0")/.."

packages="g++ cmake ninja-build googletest wine wine32:i386 g++-mingw-w64-i686-posix xvfb xauth curl"
missing=""
for p in $packages; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "installing:$missing"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo dpkg --add-architecture i386
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
fi

[ -f build/native/build.ninja ] || cmake -S . -B build/native -G Ninja
if [ "${1:-}" = "--with-windows" ] && [ ! -f build/win/build.ninja ]; then
  cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
fi
