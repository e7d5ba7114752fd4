# Which Windows build runs the Windows suite on this machine. Sourced by the scripts (from the
# checkout's root); sets
#   runs_32bit      1 when the kernel runs 32-bit programs, else 0
#   windows_arch    i686 or x86_64
#   windows_build   its build folder: build/win or build/win64
#   windows_reason  one line saying which build runs the suite and why
# The product is the i686 DLL. Where the kernel refuses 32-bit programs, Wine 32 cannot start,
# so the suite runs on an x86_64 build of the same sources under wine64.
# VELOTAM_WINDOWS_ARCH=i686|x86_64 chooses by hand.

# Runs a tiny static 32-bit Linux program (exit(42) through int 0x80, no libraries) and looks
# at its exit status: a kernel without IA-32 emulation refuses it with "Exec format error".
velotam_runs_32bit() {
  mkdir -p build
  probe="build/.probe-i386"
  printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000' >"$probe"
  # Executable for the i386, entry 0x08048054, one program header right after this header.
  printf '\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000' >>"$probe"
  printf '\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000' >>"$probe"
  # One loadable, readable and executable segment: the whole file of 96 bytes at 0x08048000.
  printf '\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010' >>"$probe"
  printf '\140\000\000\000\140\000\000\000\005\000\000\000\000\020\000\000' >>"$probe"
  # mov ebx, 42; mov eax, 1 (exit); int 0x80
  printf '\273\052\000\000\000\270\001\000\000\000\315\200' >>"$probe"
  chmod +x "$probe"
  "./$probe" 2>/dev/null
  status=$?
  rm -f "$probe"
  [ "$status" -eq 42 ]
}

if velotam_runs_32bit; then
  runs_32bit=1
  windows_arch=i686
  windows_reason="this machine runs 32-bit programs"
else
  runs_32bit=0
  windows_arch=x86_64
  windows_reason="this machine refuses 32-bit programs, so Wine 32 cannot start"
fi
case "${VELOTAM_WINDOWS_ARCH:-}" in
  "") ;;
  i686 | x86_64)
    if [ "$VELOTAM_WINDOWS_ARCH" = i686 ] && [ "$runs_32bit" = 0 ]; then
      echo "VELOTAM_WINDOWS_ARCH=i686: $windows_reason" >&2
      exit 2
    fi
    if [ "$VELOTAM_WINDOWS_ARCH" != "$windows_arch" ]; then
      windows_reason="chosen by VELOTAM_WINDOWS_ARCH ($windows_reason)"
    fi
    windows_arch="$VELOTAM_WINDOWS_ARCH"
    ;;
  *)
    echo "VELOTAM_WINDOWS_ARCH must be i686 or x86_64, not '$VELOTAM_WINDOWS_ARCH'" >&2
    exit 2
    ;;
esac
if [ "$windows_arch" = i686 ]; then
  windows_build=build/win
  windows_reason="Windows suite: the i686 build (build/win) under Wine: $windows_reason"
else
  windows_build=build/win64
  windows_reason="Windows suite: the x86_64 build (build/win64) under wine64: $windows_reason"
fi
