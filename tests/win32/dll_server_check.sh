#!/bin/sh
# The DLL's server inside the Windows playersim under Wine: autostart from the settings file,
# queries and a control command answered through the player's window messages (the player's
# windows live on the thread that also runs init and quit), and a prompt quit while a silent
# client is connected with no receive time-out.
#   dll_server_check.sh WINE_SH WINE_STATE PLAYERSIM_EXE WORK_FOLDER
set -u
wine_sh="$1"
state="$2"
exe="$3"
work="$4"
rm -rf "$work"
mkdir -p "$work/player/Plugins"
port=$((20000 + $$ % 20000))
printf '%s\r\n' '[allgemein]' 'ip=127.0.0.1' "port=$port" 'passwd=pw' 'autostart=1' '' \
  '[sicherheit]' 'StrgAllow=1' '' '[erweitert]' 'timeout=0' 'httpHeaders=0' '' \
  >"$work/player/Plugins/gen_Velotam.ini"
mkfifo "$work/in" "$work/silent"
sh "$wine_sh" run "$state" "$exe" --dir "Z:$work/player" <"$work/in" >"$work/out.txt" &
pid=$!
exec 3<>"$work/in" 4<>"$work/silent"
failed=0
fail() { echo "FAIL: $1"; failed=1; }

ask() { curl -s --http0.9 --max-time 10 --retry 20 --retry-connrefused --retry-delay 1 "http://127.0.0.1:$port/$1"; }
[ "$(ask 'GETVOLUME?p=pw')" = "200" ] || fail "GETVOLUME"
[ "$(ask 'PLAY?p=pw')" = "NULL" ] || fail "PLAY"
[ "$(ask 'ISPLAYING?p=pw')" = "1" ] || fail "ISPLAYING"
[ "$(ask 'GETPLAYLISTTITLE?index=2&p=pw')" = "The Placeholders - Night Train" ] || fail "title"

# A client that connects and sends nothing; with time-out 0 its receive never ends by itself.
curl -s --max-time 20 "telnet://127.0.0.1:$port" <"$work/silent" >/dev/null 2>&1 &
silent=$!
echo state >&3
start=$(date +%s%N)
echo quit >&3
wait "$pid"
rc=$?
took=$((($(date +%s%N) - start) / 1000000))
wait "$silent"
[ "$rc" -eq 0 ] || fail "exit code $rc"
grep -qx 'STATE status=1' "$work/out.txt" || fail "the player did not play"
# Wine itself needs a few hundred ms to end a process; the plug-in's quit must not add seconds.
[ "$took" -lt 2000 ] || fail "quit took $took ms"
exec 3>&- 4>&-
[ "$failed" -eq 0 ] && echo "DLL server in playersim.exe: all checks passed (quit $took ms)"
exit "$failed"
