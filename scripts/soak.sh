#!/bin/sh
# The load and fault test: playersim with logging and the HTTP header on and a playlist of 120
# very long titles, 64 clients with a random mix of valid and hostile requests for SECONDS
# (default 60), RSS and threads every 10 s, GETVOLUME after the load, then quit with 16 silent
# clients and a client that stopped reading a long reply connected (bench/soak.cpp says what it
# checks).
# It runs natively, then against playersim.exe under Wine on the Windows build that this machine
# runs (scripts/windows_arch.sh); VELOTAM_SOAK_WINDOWS=0 leaves the Windows run out.
#   sh scripts/soak.sh [SECONDS] [--resets-only]   (every client connects and resets at once)
# Ports: VELOTAM_SOAK_PORT (default 4860) natively, the next one under Wine.
set -eu
cd "$(dirname "$0")/.."
seconds="${1:-60}"
mode="${2:-}"
port="${VELOTAM_SOAK_PORT:-4860}"
windows="${VELOTAM_SOAK_WINDOWS:-1}"
if [ "$windows" = 1 ]; then sh scripts/setup.sh --with-windows; else sh scripts/setup.sh; fi
. scripts/windows_arch.sh
cmake --build build/native --target playersim bench_soak
soak=build/native/bench/bench_soak

# prepare FOLDER PORT: the player's folder with the plug-in's settings and the playlist.
prepare() {
  rm -rf "$1"
  mkdir -p "$1/Plugins"
  printf '%s\r\n' '[allgemein]' 'ip=127.0.0.1' "port=$2" 'passwd=velotam' 'autostart=1' '' \
    '[sicherheit]' 'AllowIP=1' 'StrgAllow=1' 'IPCount=0' '' \
    '[erweitert]' 'timeout=1000' 'httpHeaders=1' '' '[logging]' 'EnableLog=1' '' \
    >"$1/Plugins/gen_Velotam.ini"
  awk 'BEGIN { long = "la"; while (length(long) < 25000) long = long long
    for (i = 1; i <= 120; i++)
      printf "#EXTINF:180,Soak Ensemble %03d - %s\r\nC:\\Music\\Soak\\%03d.mp3\r\n", i, long, i }' \
    >"$1/soak.m3u"
}

status=0
echo "soak: native playersim, $seconds s"
work="$(pwd)/build/native/soak-run"
prepare "$work" "$port"
# One heap, and blocks of 256 KB and more (the long replies) go back to the system when freed:
# RSS then shows what the server keeps, not what per-thread arenas hold on to.
MALLOC_ARENA_MAX=1 MALLOC_MMAP_THRESHOLD_=262144 "$soak" "$port" "$seconds" ${mode:+"$mode"} -- \
  build/native/playersim --dir "$work" --playlist "$work/soak.m3u" || status=1

if [ "$windows" = 1 ]; then
  echo "soak: playersim.exe under Wine ($windows_arch), $seconds s"
  cmake --build "$windows_build" --target playersim
  state="$(pwd)/$windows_build/soak-wine"
  sh tests/win32/wine.sh setup "$state" "$windows_arch" >/dev/null
  trap 'sh tests/win32/wine.sh teardown "$state"' EXIT
  work="$(pwd)/$windows_build/soak-run"
  prepare "$work" $((port + 1))
  "$soak" $((port + 1)) "$seconds" ${mode:+"$mode"} -- sh tests/win32/wine.sh run "$state" \
    "$windows_build/playersim.exe" --dir "Z:$work" --playlist "Z:$work/soak.m3u" || status=1
fi
exit $status
