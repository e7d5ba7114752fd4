#!/bin/sh
# The load and fault test: playersim with logging and the HTTP header on, 64 clients with a
# random mix of valid and hostile requests for SECONDS (default 60), RSS and threads every 10 s,
# then quit with 16 silent clients connected (bench/soak.cpp says what it checks).
#   sh scripts/soak.sh [SECONDS]        (the port: VELOTAM_SOAK_PORT, default 4860)
set -eu
cd "$(dirname "$0")/.."
seconds="${1:-60}"
port="${VELOTAM_SOAK_PORT:-4860}"
sh scripts/setup.sh
cmake --build build/native --target playersim bench_soak
work=build/native/soak-run
rm -rf "$work"
mkdir -p "$work/Plugins"
printf '%s\r\n' '[allgemein]' 'ip=127.0.0.1' "port=$port" 'passwd=velotam' 'autostart=1' '' \
  '[sicherheit]' 'AllowIP=1' 'StrgAllow=1' 'IPCount=0' '' \
  '[erweitert]' 'timeout=1000' 'httpHeaders=1' '' '[logging]' 'EnableLog=1' '' \
  >"$work/Plugins/gen_Velotam.ini"
exec build/native/bench/bench_soak build/native/playersim "$work" "$port" "$seconds"
