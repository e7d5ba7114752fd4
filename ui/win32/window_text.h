#pragma once
// Reading what a window shows: its text, and the entries of a list box or drop-down list.
#include <windows.h>

#include <string>
#include <vector>

namespace win32ui {

std::string WindowText(HWND hwnd);
std::vector<std::string> ListItems(HWND hwnd, bool combo);

}  // namespace win32ui
