#!/bin/sh
# Loopback benchmark (docs/benchmark.md): the ceiling server, playersim with logging on and
# playersim with logging off, each at 8 and 64 connections, one after the other in one run;
# prints a Markdown table.
#   sh scripts/bench.sh [--seconds N] [--smoke] [--build-dir DIR]
# --smoke: half-second runs that only check that everything works (exit 1 on any error).
# --build-dir: use that already built tree instead of the set-up and build.
set -eu
cd "$(dirname "$0")/.."

seconds=10
smoke=0
build=""
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds="$2"; shift 2 ;;
    --smoke) smoke=1; shift ;;
    --build-dir) build="$2"; shift 2 ;;
    *) echo "usage: sh scripts/bench.sh [--seconds N] [--smoke] [--build-dir DIR]" >&2; exit 2 ;;
  esac
done
if [ -z "$build" ]; then
  sh scripts/setup.sh
  build=build/native
  cmake --build "$build" --target playersim bench_loadgen bench_ceiling
fi
# Enough warm-up requests to fill the activity log (10,000 entries, about 12 per request).
warmup=2000
if [ "$smoke" = 1 ]; then
  seconds=0.5
  warmup=200
fi

loadgen="$build/bench/bench_loadgen"
ceiling="$build/bench/bench_ceiling"
playersim="$build/playersim"
work="$build/bench-run"
port=${VELOTAM_BENCH_PORT:-4850}
rm -rf "$work"
mkdir -p "$work"

pids=""
cleanup() {
  for p in $pids; do kill -TERM "$p" 2>/dev/null || true; done
  for p in $pids; do wait "$p" 2>/dev/null || true; done
  rm -f "$work"/*/stdout.txt
}
trap cleanup EXIT
trap 'exit 130' INT TERM

for p in $port $((port + 1)) $((port + 2)); do
  "$loadgen" --port "$p" --check-free
done

# playersim NAME PORT ENABLELOG: starts it in its own folder; standard input is a FIFO opened
# for reading and writing, so it never sees the end of its input.
start_playersim() {
  dir="$work/$1"
  mkdir -p "$dir/Plugins"
  printf '%s\r\n' '[allgemein]' 'ip=127.0.0.1' "port=$2" 'passwd=velotam' 'autostart=1' '' \
    '[sicherheit]' 'AllowIP=1' 'StrgAllow=1' 'IPCount=0' '' \
    '[erweitert]' 'timeout=1000' 'httpHeaders=1' '' '[logging]' "EnableLog=$3" '' \
    >"$dir/Plugins/gen_Velotam.ini"
  mkfifo "$dir/in"
  "$playersim" --dir "$dir" <>"$dir/in" >"$dir/stdout.txt" 2>&1 &
  pids="$pids $!"
  eval "pid_$1=$!"
  "$loadgen" --port "$2" --wait-ready 5 ${4:+--save-reply "$4"}
}

start_playersim log_on $((port + 1)) 1 "$work/reply.bin"
start_playersim log_off $((port + 2)) 0
"$ceiling" --port "$port" --reply "$work/reply.bin" &
pid_ceiling=$!
pids="$pids $!"
"$loadgen" --port "$port" --wait-ready 5

for name in ceiling log_on log_off; do
  eval "pid=\$pid_$name"
  case $name in ceiling) p=$port ;; log_on) p=$((port + 1)) ;; log_off) p=$((port + 2)) ;; esac
  "$loadgen" --port "$p" --conns 8 --seconds 60 --requests "$warmup" >/dev/null
done

# One row per server and connection count: NAME C result ok=.. errors=.. ...
: >"$work/results.txt"
for c in 8 64; do
  for name in ceiling log_on log_off; do
    eval "pid=\$pid_$name"
    case $name in ceiling) p=$port ;; log_on) p=$((port + 1)) ;; log_off) p=$((port + 2)) ;; esac
    line=$("$loadgen" --port "$p" --conns "$c" --seconds "$seconds" --server-pid "$pid" \
      2>"$work/errors.txt") || true
    sed "s/^/$name c=$c /" "$work/errors.txt" >&2
    echo "$name $c $line" >>"$work/results.txt"
  done
done

awk -v smoke="$smoke" '
  function field(name,   i, kv) {
    for (i = 3; i <= NF; i++) { split($i, kv, "="); if (kv[1] == name) return kv[2] }
    return ""
  }
  BEGIN {
    label["ceiling"] = "ceiling"; label["log_on"] = "playersim, log on"
    label["log_off"] = "playersim, log off"
    print "| server | c | req/s | p50 ms | p99 ms | CPU us/req | RSS before MB | RSS after MB | requests | errors | ratio to ceiling (req/s) | p99 ratio |"
    print "|---|---|---|---|---|---|---|---|---|---|---|---|"
  }
  {
    ok = field("ok"); errors = field("errors"); rps = field("rps"); p99 = field("p99_ms")
    if (ok == "" || ok == 0 || errors != 0) bad = 1
    if ($1 == "ceiling") { base_rps[$2] = rps; base_p99[$2] = p99 }
    ratio = "-"; p99ratio = "-"
    if ($1 != "ceiling" && base_rps[$2] > 0) ratio = sprintf("%.2f", rps / base_rps[$2])
    if ($1 != "ceiling" && base_p99[$2] > 0) p99ratio = sprintf("%.2f", p99 / base_p99[$2])
    printf "| %s | %s | %.0f | %.3f | %.3f | %.1f | %.1f | %.1f | %s | %s | %s | %s |\n",
      label[$1], $2, rps, field("p50_ms"), p99, field("cpu_us_per_req"),
      field("rss_before_kb") / 1024, field("rss_after_kb") / 1024, ok, errors, ratio, p99ratio
    rows++
  }
  END {
    if (rows != 6) { print "bench: " rows " of 6 runs reported" > "/dev/stderr"; bad = 1 }
    if (bad) { print "bench: a run had errors or no complete answer" > "/dev/stderr"; exit 1 }
  }' "$work/results.txt"
