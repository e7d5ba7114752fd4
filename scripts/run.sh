#!/bin/sh
# The main job: playersim with the plug-in loaded, serving on 127.0.0.1:4800 with a demo
# playlist; log lines on standard output; quit with Ctrl+C, Ctrl+D or the line "quit".
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh
cmake --build build/native --target playersim
mkdir -p demo
exec build/native/playersim --dir demo "$@"
