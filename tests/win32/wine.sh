#!/bin/sh
# Runs the Windows test programs under Wine, in a prefix of the build tree and on a virtual
# display of their own (Wine's window functions need a display).
#   wine.sh setup STATE [ARCH]  create the prefix for ARCH (i686, the default, or x86_64), start
#                               Xvfb and keep wineserver alive
#   wine.sh run STATE PROG      run PROG under Wine on that display
#   wine.sh teardown STATE      end wineserver and Xvfb
# x86_64 programs run under wine64's own loader: /usr/bin/wine picks the 32-bit loader whenever
# Wine 32 is installed, and a machine whose kernel refuses 32-bit programs cannot start that.
set -u
cmd="$1"
state="$(mkdir -p "$2" && cd "$2" && pwd)"
shift 2
export WINEPREFIX="$state/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ "$cmd" = setup ]; then
  echo "${1:-i686}" >"$state/arch"
fi
if [ "$(cat "$state/arch" 2>/dev/null)" = x86_64 ]; then
  wine=/usr/lib/wine/wine64
else
  wine=wine
fi
wineserver=/usr/lib/wine/wineserver
case "$cmd" in
  setup)
    if [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; then :; else
      rm -f "$state/display"
      Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$state/display" >/dev/null 2>&1 &
      echo $! >"$state/xvfb.pid"
      i=0
      while [ ! -s "$state/display" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
      [ -s "$state/display" ] || { echo "Xvfb did not start"; exit 1; }
    fi
    export DISPLAY=":$(cat "$state/display")"
    "$wine" wineboot -i >/dev/null 2>&1
    # Windows inside one Wine desktop window: without a window manager, Wine's own top-level
    # windows wait up to seconds for activation and withdrawal events that never come.
    "$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f \
      >/dev/null 2>&1
    # The desktop is chosen when Wine's session starts: start it again with the keys in place.
    "$wineserver" -k 2>/dev/null
    "$wineserver" -w 2>/dev/null
    "$wineserver" -p60 >/dev/null 2>&1
    # Wine's service processes (the desktop among them) start with the first program of a
    # session and outlive it; started here, they do not hold a test's output open after its end.
    "$wine" wineboot </dev/null >/dev/null 2>&1
    echo "prefix $WINEPREFIX ($(cat "$state/arch")) ready on display $DISPLAY"
    ;;
  run)
    DISPLAY=":$(cat "$state/display")" exec "$wine" "$@"
    ;;
  teardown)
    "$wineserver" -k 2>/dev/null
    [ -f "$state/xvfb.pid" ] && kill "$(cat "$state/xvfb.pid")" 2>/dev/null
    rm -f "$state/xvfb.pid" "$state/display"
    exit 0
    ;;
esac
