#!/bin/sh
# Loopback benchmark (docs/benchmark.md). Natively: the bare thread chain (bench_ceiling),
# playersim with logging on and playersim with logging off. On the machine's Windows build under
# Wine (scripts/windows_arch.sh): the same chain in Windows Sockets (bench_winsock_chain.exe),
# playersim.exe with logging on and with logging off. Each at 8 and 64 connections, in rounds,
# one after the other in one run, with the same native load generator; prints a Markdown table
# of the medians over the rounds.
#   sh scripts/bench.sh [--seconds N] [--rounds N] [--smoke] [--build-dir DIR]
#                       [--windows-build DIR | --no-windows]
# --smoke: half-second runs, one round, that only check that everything works (exit 1 on any
#          error); natively only unless --windows-build is given.
# --build-dir: use that already built native tree instead of the set-up and build.
# --windows-build: use that already built Windows tree; --no-windows: leave Windows out.
set -eu
cd "$(dirname "$0")/.."

seconds=3
rounds=3
smoke=0
build=""
wbuild=""
windows=1
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds="$2"; shift 2 ;;
    --rounds) rounds="$2"; shift 2 ;;
    --smoke) smoke=1; shift ;;
    --build-dir) build="$2"; shift 2 ;;
    --windows-build) wbuild="$2"; shift 2 ;;
    --no-windows) windows=0; shift ;;
    *)
      echo "usage: sh scripts/bench.sh [--seconds N] [--rounds N] [--smoke] [--build-dir DIR]" \
        "[--windows-build DIR | --no-windows]" >&2
      exit 2
      ;;
  esac
done
# The smoke (a CI test of the native tree) needs no Wine unless it is given a Windows tree.
if [ "$smoke" = 1 ] && [ -z "$wbuild" ]; then windows=0; fi
[ "$windows" = 1 ] || wbuild=""
. scripts/windows_arch.sh
if [ -z "$build" ]; then
  if [ "$windows" = 1 ]; then sh scripts/setup.sh --with-windows; else sh scripts/setup.sh; fi
  build=build/native
  nice -n 5 cmake --build "$build" --target playersim bench_loadgen bench_ceiling
fi
if [ "$windows" = 1 ] && [ -z "$wbuild" ]; then
  wbuild="$windows_build"
  nice -n 5 cmake --build "$wbuild" --target playersim gen_Velotam bench_winsock_chain
fi
# Enough warm-up requests to fill the activity log (10,000 entries, about 12 per request).
warmup=1000
if [ "$smoke" = 1 ]; then
  seconds=0.5
  rounds=1
  warmup=100
fi

loadgen="$build/bench/bench_loadgen"
rm -rf "$build/bench-run"
mkdir -p "$build/bench-run"
work="$(cd "$build/bench-run" && pwd)"
port=${VELOTAM_BENCH_PORT:-4850}
state=""

pids=""
cleanup() {
  for p in $pids; do kill -TERM "$p" 2>/dev/null || true; done
  for p in $pids; do wait "$p" 2>/dev/null || true; done
  rm -f "$work"/*/stdout.txt
  [ -z "$state" ] || sh tests/win32/wine.sh teardown "$state"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The servers, by name: port, process and how it is labelled. Native ones first.
servers="ceiling log_on log_off"
[ "$windows" = 0 ] || servers="$servers win_chain win_log_on win_log_off"
i=0
for name in $servers; do
  eval "port_$name=$((port + i))"
  "$loadgen" --port "$((port + i))" --check-free
  i=$((i + 1))
done

# The settings of a playersim in folder DIR: PORT, ENABLELOG.
write_settings() {
  mkdir -p "$1/Plugins"
  printf '%s\r\n' '[allgemein]' 'ip=127.0.0.1' "port=$2" 'passwd=velotam' 'autostart=1' '' \
    '[sicherheit]' 'AllowIP=1' 'StrgAllow=1' 'IPCount=0' '' \
    '[erweitert]' 'timeout=1000' 'httpHeaders=1' '' '[logging]' "EnableLog=$3" '' \
    >"$1/Plugins/gen_Velotam.ini"
}

# start NAME ENABLELOG [REPLYFILE]: playersim in its own folder; standard input is a FIFO
# opened for reading and writing, so it never sees the end of its input.
start_playersim() {
  eval "p=\$port_$1"
  dir="$work/$1"
  write_settings "$dir" "$p" "$2"
  mkfifo "$dir/in"
  case $1 in
    win_*)
      sh tests/win32/wine.sh run "$state" "$wbuild/playersim.exe" --dir "Z:$dir" \
        <>"$dir/in" >"$dir/stdout.txt" 2>&1 &
      ;;
    *) "$build/playersim" --dir "$dir" <>"$dir/in" >"$dir/stdout.txt" 2>&1 & ;;
  esac
  pids="$pids $!"
  eval "pid_$1=$!"
  "$loadgen" --port "$p" --wait-ready 30 ${3:+--save-reply "$3"}
}

# The wineserver of the benchmark's prefix, whose CPU time counts for the Windows servers.
wineserver_pid() {
  for d in /proc/[0-9]*; do
    case "$(cat "$d/cmdline" 2>/dev/null | tr '\0' ' ')" in *wineserver*) ;; *) continue ;; esac
    if tr '\0' '\n' <"$d/environ" 2>/dev/null | grep -qx "WINEPREFIX=$state/prefix"; then
      echo "${d#/proc/}"
      return
    fi
  done
}

start_playersim log_on 1 "$work/reply.bin"
start_playersim log_off 0
"$build/bench/bench_ceiling" --port "$port_ceiling" --reply "$work/reply.bin" &
pid_ceiling=$!
pids="$pids $!"
"$loadgen" --port "$port_ceiling" --wait-ready 5
cpu_extra=""
if [ "$windows" = 1 ]; then
  mkdir -p "$wbuild/bench-wine"
  state="$(cd "$wbuild/bench-wine" && pwd)"
  sh tests/win32/wine.sh setup "$state" "$windows_arch" >/dev/null
  start_playersim win_log_on 1
  start_playersim win_log_off 0
  cp "$work/reply.bin" "$work/reply-win.bin"
  sh tests/win32/wine.sh run "$state" "$wbuild/bench_winsock_chain.exe" --port "$port_win_chain" \
    --reply "Z:$work/reply-win.bin" >"$work/win_chain.txt" 2>&1 &
  pid_win_chain=$!
  pids="$pids $!"
  "$loadgen" --port "$port_win_chain" --wait-ready 30
  server=$(wineserver_pid)
  [ -n "$server" ] || { echo "bench: no wineserver for $state" >&2; exit 1; }
  cpu_extra="--cpu-pid $server"
fi

for name in $servers; do
  eval "p=\$port_$name"
  "$loadgen" --port "$p" --conns 8 --seconds 60 --requests "$warmup" >/dev/null
done

# One row per round, server and connection count: NAME C result ok=.. errors=.. ...
: >"$work/results.txt"
r=1
while [ "$r" -le "$rounds" ]; do
  for c in 8 64; do
    for name in $servers; do
      eval "p=\$port_$name; pid=\$pid_$name"
      case $name in win_*) extra=$cpu_extra ;; *) extra="" ;; esac
      # shellcheck disable=SC2086
      line=$("$loadgen" --port "$p" --conns "$c" --seconds "$seconds" --server-pid "$pid" \
        $extra 2>"$work/errors.txt") || true
      sed "s/^/$name c=$c round $r: /" "$work/errors.txt" >&2
      echo "$name $c $line" >>"$work/results.txt"
    done
  done
  r=$((r + 1))
done

echo "Medians of $rounds round(s) of $seconds s each. CPU: the server process."
[ "$windows" = 0 ] || echo "Windows rows: the $windows_arch build under Wine, CPU with the" \
  "wineserver's; relative figures, not Windows timings."
echo
awk -v rounds="$rounds" -v expected="$(echo "$servers" | wc -w)" '
  function field(name,   i, kv) {
    for (i = 3; i <= NF; i++) { split($i, kv, "="); if (kv[1] == name) return kv[2] }
    return ""
  }
  function median(key, what,   n, i, j, t, v) {
    n = count[key]
    for (i = 1; i <= n; i++) v[i] = val[key, what, i]
    for (i = 2; i <= n; i++) for (j = i; j > 1 && v[j - 1] > v[j]; j--) {
      t = v[j]; v[j] = v[j - 1]; v[j - 1] = t
    }
    return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
  }
  BEGIN {
    label["ceiling"] = "native: bare chain"; label["log_on"] = "native: playersim, log on"
    label["log_off"] = "native: playersim, log off"
    label["win_chain"] = "Wine: Winsock chain"; label["win_log_on"] = "Wine: playersim.exe, log on"
    label["win_log_off"] = "Wine: playersim.exe, log off"
    chain["log_on"] = chain["log_off"] = "ceiling"
    chain["win_log_on"] = chain["win_log_off"] = "win_chain"
    off["log_on"] = "log_off"; off["win_log_on"] = "win_log_off"
  }
  {
    ok = field("ok"); errors = field("errors")
    if (ok == "" || ok == 0 || errors != 0) bad = 1
    key = $1 " " $2
    if (!(key in count)) { order[++keys] = key; count[key] = 0 }
    n = ++count[key]
    val[key, "rps", n] = field("rps"); val[key, "p50", n] = field("p50_ms")
    val[key, "p99", n] = field("p99_ms"); val[key, "cpu", n] = field("cpu_us_per_req")
    val[key, "rss", n] = field("rss_after_kb") / 1024
    oks[key] += ok; errs[key] += errors
    rows++
  }
  END {
    for (k = 1; k <= keys; k++) {
      key = order[k]
      for (w = 1; w <= 5; w++) {
        split("rps p50 p99 cpu rss", names, " ")
        med[key, names[w]] = median(key, names[w])
      }
    }
    print "| server | c | req/s | p50 ms | p99 ms | CPU us/req | RSS MB | requests | errors | vs chain (req/s) | vs log off (req/s) | CPU vs log off |"
    print "|---|---|---|---|---|---|---|---|---|---|---|---|"
    for (k = 1; k <= keys; k++) {
      key = order[k]; split(key, kc, " "); name = kc[1]; c = kc[2]
      vs_chain = "-"; vs_off = "-"; cpu_off = "-"
      if (name in chain && med[chain[name] " " c, "rps"] > 0)
        vs_chain = sprintf("%.2f", med[key, "rps"] / med[chain[name] " " c, "rps"])
      if (name in off && med[off[name] " " c, "rps"] > 0)
        vs_off = sprintf("%.2f", med[key, "rps"] / med[off[name] " " c, "rps"])
      if (name in off && med[off[name] " " c, "cpu"] > 0)
        cpu_off = sprintf("%.2f", med[key, "cpu"] / med[off[name] " " c, "cpu"])
      printf "| %s | %s | %.0f | %.3f | %.3f | %.1f | %.1f | %s | %s | %s | %s | %s |\n",
        label[name], c, med[key, "rps"], med[key, "p50"], med[key, "p99"], med[key, "cpu"],
        med[key, "rss"], oks[key], errs[key], vs_chain, vs_off, cpu_off
    }
    if (rows != 2 * rounds * expected) {
      print "bench: " rows " of " 2 * rounds * expected " runs reported" > "/dev/stderr"; bad = 1
    }
    if (bad) { print "bench: a run had errors or no complete answer" > "/dev/stderr"; exit 1 }
  }' "$work/results.txt"
