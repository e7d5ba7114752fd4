#!/bin/sh
# Runs the dialog-command script tests/scripts/dialogs.txt against a playersim (the native one,
# or playersim.exe under Wine) in a fresh player folder and compares its whole output with
# tests/scripts/dialogs.expected. The lines of the server address list are left out: they
# name the machine's own addresses.
#   dialog_script_check.sh WORK_FOLDER PLAYERSIM [WRAPPER ARGS...]  (the command comes last)
set -u
here="$(cd "$(dirname "$0")" && pwd)"
work="$1"
shift
rm -rf "$work"
mkdir -p "$work"
cd "$work" || exit 1
"$@" --dir player <"$here/scripts/dialogs.txt" >out.txt
rc=$?
grep -v '^CTRL ConfigDlg\.IPCombo\.' out.txt >got.txt
failed=0
if [ "$rc" -ne 0 ]; then echo "FAIL: exit code $rc"; failed=1; fi
if ! cmp -s "$here/scripts/dialogs.expected" got.txt; then
  echo "FAIL: output differs from tests/scripts/dialogs.expected"
  diff "$here/scripts/dialogs.expected" got.txt | head -40
  failed=1
fi
[ "$failed" -eq 0 ] && echo "dialog script: output as expected"
exit "$failed"
