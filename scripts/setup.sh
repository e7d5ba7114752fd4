#!/bin/sh
# Installs what the builds need on Debian 12 (only what is missing) and configures the builds.
#   setup.sh [--with-windows] [PACKAGE...]   (further packages that a script needs besides)
# --with-windows: the Windows cross-builds and Wine as well. The i686 tree (the product) is
# configured on every machine; the Windows suite runs on the build that scripts/windows_arch.sh
# picks, and only that build's Wine is installed: Wine 32 where the kernel runs 32-bit programs,
# else wine64 alone (with Wine 32 installed, /usr/bin/wine would pick a loader that cannot start).
set -eu
cd "$(dirname "$0")/.."
. scripts/windows_arch.sh

windows=""
if [ "${1:-}" = "--with-windows" ]; then
  windows=1
  shift
fi
packages="g++ cmake ninja-build googletest curl"
if [ -n "$windows" ]; then
  packages="$packages g++-mingw-w64-i686-posix xvfb xauth nsis"
  if [ "$windows_arch" = i686 ]; then
    packages="$packages wine wine32:i386"
  else
    packages="$packages wine64 g++-mingw-w64-x86-64-posix"
  fi
fi
for p in "$@"; do
  # A machine that runs no 32-bit programs gets no 32-bit packages.
  case "$p" in *:i386) [ "$runs_32bit" = 1 ] || continue ;; esac
  packages="$packages $p"
done
missing=""
for p in $packages; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "installing:$missing"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  case "$missing" in *:i386*) $sudo dpkg --add-architecture i386 ;; esac
  # A mirror in the middle of a sync fails an index now and then: try again, then go on with
  # what was fetched (the install says clearly if a package is really missing).
  tries=0
  until $sudo apt-get update -qq; do
    tries=$((tries + 1))
    [ $tries -lt 4 ] || break
    sleep $((tries * 5))
  done
  install="$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends"
  # When one architecture's update index lags the other's, the 32-bit libraries cannot match
  # the 64-bit ones: then take both from the release itself, going back where a newer 64-bit
  # one is already installed.
  $install $missing || $install --allow-downgrades -t bookworm $missing
fi

[ -f build/native/build.ninja ] || cmake -S . -B build/native -G Ninja
if [ -n "$windows" ]; then
  [ -f build/win/build.ninja ] ||
    cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
  if [ "$windows_arch" = x86_64 ] && [ ! -f build/win64/build.ninja ]; then
    cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
  fi
fi
