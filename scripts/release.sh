#!/bin/sh
# The release: a Release build of the Windows DLL, stripped, the language file template with
# the German defaults (the bytes that the dialog's "Erstelle Sprachdatei" writes) and the
# installer, all in dist/.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh --with-windows
# -O2 as in the tested build (which differs only by its debug information); g++ 12 also warns
# falsely about string copies at -O3.
[ -f build/release/build.ninja ] || cmake -S . -B build/release -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DVELOTAM_TESTS=OFF
cmake --build build/release --target gen_Velotam
cmake --build build/native --target playersim
rm -rf dist
mkdir -p dist
i686-w64-mingw32-strip -o dist/gen_Velotam.dll build/release/gen_Velotam.dll
sh tests/win32/check_dll.sh dist/gen_Velotam.dll >/dev/null
sh installer/make_template.sh "$(pwd)/build/release/template" "$(pwd)/build/native/playersim"
cp build/release/template/player/Plugins/Velotam_Language.dat dist/
makensis -V2 -INPUTCHARSET UTF8 -DDLL="$(pwd)/dist/gen_Velotam.dll" \
  -DLANGFILE="$(pwd)/dist/Velotam_Language.dat" -DOUTFILE="$(pwd)/dist/Velotam-setup.exe" \
  installer/velotam.nsi
for f in dist/gen_Velotam.dll dist/Velotam_Language.dat dist/Velotam-setup.exe; do
  printf '%-28s %9s bytes\n' "$f" "$(wc -c <"$f")"
done
