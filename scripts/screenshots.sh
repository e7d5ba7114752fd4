#!/bin/sh
# Pictures of the plug-in's dialogs for the documents: playersim.exe with gen_Velotam.dll under
# Wine, on a virtual display in Wine's desktop mode (which draws the window frames). Each tab of
# the configuration dialog, the restart dialog and the IP address dialog go to docs/images/.
set -eu
cd "$(dirname "$0")/.."
root="$(pwd)"
# Wine's own fonts give the frames their caption buttons and the dialogs their faces (Wine 32
# draws them with the 32-bit FreeType library).
sh scripts/setup.sh --with-windows xdotool imagemagick fonts-wine libfreetype6:i386
. scripts/windows_arch.sh
echo "$windows_reason"
win="$root/$windows_build"
cmake --build "$win" --target playersim window_rect

state="$root/build/screens"
rm -rf "$state/player" "$state/in"
mkdir -p "$state/player/Plugins" docs/images
# The demo settings of the main job, on a port of its own: the server runs and logs.
printf '%s\r\n' '[allgemein]' 'ip=127.0.0.1' 'port=4871' 'passwd=velotam' 'autostart=1' '' \
  '[sicherheit]' 'AllowIP=1' 'StrgAllow=1' 'IPCount=1' 'IP_0=192.168.1.20' '' \
  >"$state/player/Plugins/gen_Velotam.ini"
wine_sh="sh $root/tests/win32/wine.sh"
$wine_sh setup "$state" "$windows_arch" >/dev/null
export DISPLAY=":$(cat "$state/display")"

mkfifo "$state/in"
cd "$state"
$wine_sh run "$state" "$win/playersim.exe" --dir player <in >out.txt 2>&1 &
sim=$!
exec 3>"$state/in"
cleanup() {
  exec 3>&-
  i=0
  while kill -0 "$sim" 2>/dev/null && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
  kill "$sim" 2>/dev/null || true
  $wine_sh teardown "$state"
}
trap cleanup EXIT

# Waits (at most 10 s) until a window of class $1 is visible, then lets it paint.
rect() {
  i=0
  until r="$($wine_sh run "$state" "$win/window_rect.exe" "$1" 2>/dev/null)"; do
    i=$((i + 1))
    [ $i -lt 50 ] || { echo "no window of class $1" >&2; exit 1; }
    sleep 0.2
  done
  sleep 0.5
  echo "$r" | tr -d '\r'
}
shot() {  # class, picture name
  geometry="$(rect "$1")"
  import -window root -crop "$geometry" +repage "$root/docs/images/$2.png"
  echo "docs/images/$2.png ($geometry)"
}
keys() {  # keys as a user types them, into the active window of the Wine desktop
  xdotool mousemove 1000 740 key --delay 100 "$@"
  sleep 0.5
}

echo config >&3
shot TConfigDlg config-server
# A few requests for the log page.
for q in 'GETVERSION?p=velotam' 'GETVOLUME?p=velotam' 'SETVOLUME?volume=200&p=velotam'; do
  curl -s --max-time 3 "http://127.0.0.1:4871/$q" >/dev/null || true
done
keys alt+r
shot TConfigDlg config-security
keys alt+p
shot TConfigDlg config-log
keys alt+i
shot TConfigDlg config-info
keys alt+s
printf '%s\n' 'focus PortEdit' 'text PortEdit 4872' 'focus PasswdEdit' >&3
shot TServerRestartDlg restart
echo 'click CancelBtn' >&3
keys alt+r
printf '%s\n' 'click hinzfuegenBtn' 'text IP_firstnum 10' 'text IP_secondnum 0' 'text IP_thirdnum 0' \
  'text IP_fourthnum 1' 'focus IP_fourthnum' >&3
shot TOKBottomDlg ip-address
printf '%s\n' 'click CancelBtn' 'quit' >&3
