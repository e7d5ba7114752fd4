#!/bin/sh
# The main job: playersim with the plug-in loaded, serving on 127.0.0.1:4800 with a demo
# playlist; log lines on standard output; quit with Ctrl+C, Ctrl+D or the line "quit".
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh
cmake --build build/native --target playersim
mkdir -p demo/Plugins
# A first run gets demo settings: autostart on 127.0.0.1:4800, control allowed ("steuerbar"),
# password "velotam". Later runs keep whatever the plug-in saved.
if [ ! -e demo/Plugins/gen_Velotam.ini ]; then
  printf '%s\r\n' '[allgemein]' 'ip=127.0.0.1' 'port=4800' 'passwd=velotam' 'autostart=1' '' \
    '[sicherheit]' 'AllowIP=1' 'StrgAllow=1' 'IPCount=0' '' >demo/Plugins/gen_Velotam.ini
fi
exec build/native/playersim --dir demo "$@"
