#!/bin/sh
# The Windows playersim under Wine: it loads the DLL beside it, answers state and
# log, quits with exit code 0, and refuses a bad option with exit code 2.
#   playersim_check.sh WINE_SH WINE_STATE PLAYERSIM_EXE WORK_FOLDER
set -u
wine_sh="$1"
state="$2"
exe="$3"
work="$4"
rm -rf "$work"
mkdir -p "$work"
win="Z:$work"  # Wine's drive Z: is the Unix root
printf '#EXTM3U\r\n#EXTINF:61,Eins\r\nC:\\M\\1.mp3\r\nrel/Zwei.ogg\n' >"$work/list.m3u"
failed=0

printf 'state\nlog\nquit\nstate\n' |
  sh "$wine_sh" run "$state" "$exe" --dir "$win/player" --playlist "$win/list.m3u" \
    --no-shoutcast >"$work/all.txt"
rc=$?
# The log's lines name the folder; that the log reaches the output is the dialog script's test.
grep -v '^LOG \|^LOGDUMP Server: ' "$work/all.txt" >"$work/out.txt"
cat >"$work/expected.txt" <<'END'
STATE status=0
STATE volume=200
STATE position=0
STATE outputtime=0
STATE length=2
STATE entry.0.file=C:\\M\\1.mp3
STATE entry.0.title=Eins
STATE entry.1.file=rel/Zwei.ogg
STATE entry.1.title=Zwei
STATE eq.0=31
STATE eq.1=31
STATE eq.2=31
STATE eq.3=31
STATE eq.4=31
STATE eq.5=31
STATE eq.6=31
STATE eq.7=31
STATE eq.8=31
STATE eq.9=31
STATE eq.10=31
STATE eq.11=0
STATE eq.12=0
STATE shuffle=0
STATE repeat=0
STATE folder=
STATE restarts=0
STATE end
LOGDUMP end
END
if [ "$rc" -ne 0 ]; then echo "FAIL: exit code $rc after quit"; failed=1; fi
if ! cmp -s "$work/out.txt" "$work/expected.txt"; then
  echo "FAIL: output differs"
  diff "$work/expected.txt" "$work/out.txt"
  failed=1
fi
if [ ! -d "$work/player/Plugins" ]; then echo "FAIL: no Plugins folder"; failed=1; fi

out=$(sh "$wine_sh" run "$state" "$exe" --bogus </dev/null)
rc=$?
if [ "$rc" -ne 2 ] || [ "$out" != "ERROR unknown option --bogus" ]; then
  echo "FAIL: bad option gave exit code $rc and: $out"
  failed=1
fi

[ "$failed" -eq 0 ] && echo "playersim.exe: all checks passed"
exit "$failed"
