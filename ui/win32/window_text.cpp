#include "ui/win32/window_text.h"

#include <cstring>

namespace win32ui {

std::string WindowText(HWND hwnd) {
  int n = GetWindowTextLengthA(hwnd);
  std::string s(static_cast<std::size_t>(n) + 1, '\0');
  n = GetWindowTextA(hwnd, s.data(), n + 1);
  s.resize(static_cast<std::size_t>(n < 0 ? 0 : n));
  return s;
}

std::vector<std::string> ListItems(HWND hwnd, bool combo) {
  std::vector<std::string> items;
  int count = static_cast<int>(SendMessageA(hwnd, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    int len = static_cast<int>(SendMessageA(hwnd, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i, 0));
    std::string s(static_cast<std::size_t>(len < 0 ? 0 : len) + 1, '\0');
    SendMessageA(hwnd, combo ? CB_GETLBTEXT : LB_GETTEXT, i, reinterpret_cast<LPARAM>(s.data()));
    s.resize(std::strlen(s.c_str()));
    items.push_back(std::move(s));
  }
  return items;
}

}  // namespace win32ui
