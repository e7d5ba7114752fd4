// Prints where a visible top-level window of the given class lies on the screen, frame
// included, as an ImageMagick crop geometry: WIDTHxHEIGHT+LEFT+TOP. Exit code 1 when there is
// no such window. The screenshot script uses it to cut each dialog out of the desktop picture.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: window_rect CLASS\n");
    return 2;
  }
  HWND hwnd = FindWindowA(argv[1], nullptr);
  RECT rc;
  if (hwnd == nullptr || !IsWindowVisible(hwnd) || !GetWindowRect(hwnd, &rc)) return 1;
  std::printf("%ldx%ld+%ld+%ld\n", rc.right - rc.left, rc.bottom - rc.top, rc.left, rc.top);
  return 0;
}
