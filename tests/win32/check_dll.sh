#!/bin/sh
# The DLL exports exactly winampGetGeneralPurposePlugin and imports only Windows system DLLs.
#   check_dll.sh DLL [OBJDUMP]   (the i686 one by default)
dll="$1"
objdump="${2:-i686-w64-mingw32-objdump}"
dump=$("$objdump" -p "$dll") || exit 1
exports=$(printf '%s\n' "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
          grep -E '^\s+\[ *[0-9]+\]' | awk '{print $NF}')
if [ "$exports" != "winampGetGeneralPurposePlugin" ]; then
  echo "unexpected exports: $exports"
  exit 1
fi
allowed="kernel32.dll user32.dll gdi32.dll comctl32.dll wsock32.dll msvcrt.dll"
status=0
for name in $(printf '%s\n' "$dump" | awk '/DLL Name:/ {print tolower($3)}'); do
  case " $allowed " in
    *" $name "*) echo "import ok: $name" ;;
    *) echo "import not allowed: $name"; status=1 ;;
  esac
done
echo "export ok: $exports"
exit $status
