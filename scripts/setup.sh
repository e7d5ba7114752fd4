#!/bin/sh
# Installs what the builds need on Debian 12 (only what is missing) and configures both builds.
#   setup.sh [--with-windows] [PACKAGE...]   (further packages that a script needs besides)
set -eu
cd "$(dirname "$0")/.."

windows=""
if [ "${1:-}" = "--with-windows" ]; then
  windows=1
  shift
fi
packages="g++ cmake ninja-build googletest wine wine32:i386 g++-mingw-w64-i686-posix xvfb xauth curl nsis $*"
missing=""
for p in $packages; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "installing:$missing"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo dpkg --add-architecture i386
  # A mirror in the middle of a sync fails an index now and then: try again, then go on with
  # what was fetched (the install says clearly if a package is really missing).
  tries=0
  until $sudo apt-get update -qq; do
    tries=$((tries + 1))
    [ $tries -lt 4 ] || break
    sleep $((tries * 5))
  done
  install="$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends"
  # When one architecture's update index is missing, the 32-bit libraries cannot match the
  # 64-bit ones: then take both from the release itself.
  $install $missing || $install -t bookworm $missing
fi

[ -f build/native/build.ninja ] || cmake -S . -B build/native -G Ninja
if [ -n "$windows" ] && [ ! -f build/win/build.ninja ]; then
  cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
fi
