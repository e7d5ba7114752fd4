#include "platform/hostwin.h"

#include <windows.h>

#include <vector>

namespace host {

namespace {
HWND H(Window w) {
  return reinterpret_cast<HWND>(w);
}
}  // namespace

std::intptr_t Send(Window w, std::uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam) {
  return static_cast<std::intptr_t>(
      SendMessageA(H(w), msg, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam)));
}

std::intptr_t SendCopyData(Window w, std::uintptr_t request, const std::string& text) {
  COPYDATASTRUCT cds;
  cds.dwData = static_cast<ULONG_PTR>(request);
  cds.cbData = static_cast<DWORD>(text.size() + 1);
  cds.lpData = const_cast<char*>(text.c_str());
  return static_cast<std::intptr_t>(
      SendMessageA(H(w), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds)));
}

Window FindByClass(const std::string& className) {
  return reinterpret_cast<Window>(FindWindowA(className.c_str(), nullptr));
}

Window FindByTitle(const std::string& title) {
  return reinterpret_cast<Window>(FindWindowA(nullptr, title.c_str()));
}

std::string GetText(Window w, int maxBytes) {
  std::vector<char> buf(static_cast<std::size_t>(maxBytes) + 1, '\0');
  int n = GetWindowTextA(H(w), buf.data(), maxBytes);
  return std::string(buf.data(), n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string GetItemText(Window w, int id, int maxBytes) {
  HWND item = GetDlgItem(H(w), id);
  if (item == nullptr) return std::string();
  return GetText(reinterpret_cast<Window>(item), maxBytes);
}

void ShowMessageBox(Window owner, const std::string& text, const std::string& caption) {
  MessageBoxA(H(owner), text.c_str(), caption.c_str(), MB_OK);
}

}  // namespace host
