#!/bin/sh
# The installer under Wine, built from the test build's DLL by the release's own NSIS script:
# it finds a fake player folder through the player's registry key (and, once that is gone,
# through the player's uninstaller entry), installs the DLL and the language file template into
# its Plugins folder, leaves the user's files alone, the player loads the installed DLL and
# serves a request, and the uninstaller takes away exactly what was installed.
#   installer_check.sh WINE_SH WINE_STATE PLAYERSIM_EXE DLL WORK_FOLDER STRIP NSIS_TARGET
# NSIS_TARGET is x86-unicode for the product's DLL, amd64-unicode for the 64-bit test build.
set -u
wine_sh="$1"
state="$2"
exe="$3"
dll="$4"
work="$5"
strip="$6"
target="$7"
src="$(cd "$(dirname "$0")/../.." && pwd)"
rm -rf "$work"
mkdir -p "$work"
failed=0
fail() { echo "FAIL: $1"; failed=1; }
run() { sh "$wine_sh" run "$state" "$@"; }
reg() { run reg "$@" >/dev/null 2>&1; }

"$strip" -o "$work/gen_Velotam.dll" "$dll"
sh "$src/installer/make_template.sh" "$work/template" sh "$wine_sh" run "$state" "$exe" ||
  exit 1
template="$work/template/player/Plugins/Velotam_Language.dat"
makensis -V2 -INPUTCHARSET UTF8 -DTARGET="$target" -DDLL="$work/gen_Velotam.dll" -DLANGFILE="$template" \
  -DOUTFILE="$work/setup.exe" "$src/installer/velotam.nsi" || exit 1

player="$work/Player"
plugins="$player/Plugins"
winplayer="Z:$(printf '%s' "$player" | tr / '\\')"
mkdir -p "$plugins"
cp "$exe" "$player/winamp.exe"  # the stand-in, as the player it stands for
port=$((20000 + $$ % 20000))
printf '%s\r\n' '[allgemein]' 'ip=127.0.0.1' "port=$port" 'passwd=pw' 'autostart=1' '' \
  '[erweitert]' 'httpHeaders=0' '' >"$plugins/gen_Velotam.ini"
cp "$plugins/gen_Velotam.ini" "$work/settings.orig"

# Waits (at most 20 s) until the uninstaller, which goes on in a copy of itself, is done.
uninstall() {
  run "$plugins/Velotam-uninstall.exe" /S
  i=0
  while { [ -e "$plugins/gen_Velotam.dll" ] || [ -e "$plugins/Velotam-uninstall.exe" ]; } &&
    [ $i -lt 100 ]; do
    sleep 0.2
    i=$((i + 1))
  done
}

# 1. Found through HKCU\Software\Winamp.
reg add 'HKCU\Software\Winamp' /ve /d "$winplayer" /f
run "$work/setup.exe" /S || fail "silent install gave exit code $?"
cmp -s "$plugins/gen_Velotam.dll" "$work/gen_Velotam.dll" || fail "DLL not installed"
cmp -s "$plugins/Velotam_Language.dat" "$template" || fail "template not installed"
cmp -s "$plugins/gen_Velotam.ini" "$work/settings.orig" || fail "settings file changed"
[ -e "$plugins/Velotam-uninstall.exe" ] || fail "no uninstaller"

mkfifo "$work/in"
run "$player/winamp.exe" --dir "$winplayer" <"$work/in" >"$work/out.txt" &
pid=$!
exec 3>"$work/in"
reply=$(curl -s --http0.9 --max-time 10 --retry 20 --retry-connrefused --retry-delay 1 \
  "http://127.0.0.1:$port/GETVOLUME?p=pw")
[ "$reply" = "200" ] || fail "the installed plug-in answered '$reply'"
echo quit >&3
exec 3>&-
wait "$pid"
cp "$plugins/gen_Velotam.ini" "$work/settings.used"

uninstall
[ ! -e "$plugins/gen_Velotam.dll" ] || fail "DLL left after uninstall"
[ ! -e "$plugins/Velotam_Language.dat" ] || fail "template left after uninstall"
[ ! -e "$plugins/Velotam-uninstall.exe" ] || fail "uninstaller left after uninstall"
cmp -s "$plugins/gen_Velotam.ini" "$work/settings.used" || fail "settings file touched"

# 2. Found through the folder of the player's quoted UninstallString; the user's own language
# file is neither overwritten nor removed.
reg delete 'HKCU\Software\Winamp' /f
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Winamp'
reg add "$key" /v UninstallString /d "\"$winplayer\\UninstWA.exe\"" /f
printf '[General]\r\nStartButton=&Los\r\n' >"$plugins/Velotam_Language.dat"
cp "$plugins/Velotam_Language.dat" "$work/language.user"
run "$work/setup.exe" /S || fail "second install gave exit code $?"
[ -e "$plugins/gen_Velotam.dll" ] || fail "DLL not installed through UninstallString"
cmp -s "$plugins/Velotam_Language.dat" "$work/language.user" || fail "user's language file overwritten"
uninstall
[ ! -e "$plugins/gen_Velotam.dll" ] || fail "DLL left after second uninstall"
cmp -s "$plugins/Velotam_Language.dat" "$work/language.user" || fail "user's language file removed"
reg delete "$key" /f

# 3. A folder without the player is refused, and nothing lands there.
mkdir -p "$work/Empty"
run "$work/setup.exe" /S "/D=Z:$(printf '%s' "$work/Empty" | tr / '\\')"
rc=$?
[ "$rc" -ne 0 ] || fail "a folder without winamp.exe was accepted"
[ ! -e "$work/Empty/Plugins" ] || fail "files installed into a folder without the player"

[ "$failed" -eq 0 ] && echo "installer: all checks passed"
exit "$failed"
