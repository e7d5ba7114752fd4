#include "ui/win32/window.h"

namespace win32ui {

HINSTANCE Module() {
  HMODULE module = nullptr;
  GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCSTR>(&Module), &module);
  return module;
}

void LogFailure(LogSink& log, const char* what) {
  try {
    log.WriteLog(std::string("FEHLER in (") + what + ")");
  } catch (...) {
  }
}

Window::~Window() {
  if (hwnd_ != nullptr) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

Window* Window::From(HWND hwnd) {
  if (hwnd == nullptr) return nullptr;
  if (GetClassLongPtrA(hwnd, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(&Procedure)) {
    return nullptr;
  }
  return reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

bool Window::Create(DWORD exStyle, const char* className, const char* title, DWORD style, int x,
                    int y, int width, int height, HWND parent) {
  return CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, nullptr,
                         Module(), this) != nullptr;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcA(hwnd_, msg, wparam, lparam);
}

bool WindowClasses::Register(const char* className, WNDPROC procedure, HBRUSH background) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = procedure != nullptr ? procedure : &Window::Procedure;
  wc.hInstance = Module();
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = className;
  if (RegisterClassA(&wc) == 0) return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  names_.emplace_back(className);
  return true;
}

WindowClasses::~WindowClasses() {
  for (const std::string& name : names_) UnregisterClassA(name.c_str(), Module());
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(hwnd, msg, wparam, lparam);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcA(hwnd, msg, wparam, lparam);
  }
  try {
    return self->HandleMessage(msg, wparam, lparam);
  } catch (...) {
    self->LogFailure("Fensterprozedur");
    return DefWindowProcA(hwnd, msg, wparam, lparam);
  }
}

}  // namespace win32ui
