#!/bin/sh
# Writes the language file template as the configuration dialog's invisible "Erstelle
# Sprachdatei" button does, by a playersim in a fresh folder: WORK/player/Plugins/
# Velotam_Language.dat.
#   make_template.sh WORK PLAYERSIM [WRAPPER ARGS...]  (the command comes last)
set -eu
work="$1"
shift
rm -rf "$work"
mkdir -p "$work"
cd "$work"
printf 'press CreateLangBtn\nquit\n' | "$@" --dir player >out.txt
[ -s player/Plugins/Velotam_Language.dat ] || { echo "no language file written"; exit 1; }
