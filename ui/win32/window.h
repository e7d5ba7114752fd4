#pragma once
// A thin base for the plug-in's own windows: the object lives with its window (stored at
// creation), messages are forwarded to HandleMessage, and no exception leaves the window
// procedure: the player's message loop never sees one.
#include <windows.h>

namespace win32ui {

// The DLL's own module, with which its window classes are registered.
HINSTANCE Module();

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const { return hwnd_; }
  // The object of one of our windows, or nullptr.
  static Window* From(HWND hwnd);

 protected:
  bool Create(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
              int width, int height, HWND parent);
  virtual LRESULT HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam);

 public:
  // The procedure of the classes whose windows are Window objects.
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);

 private:
  HWND hwnd_ = nullptr;
};

// Registers a window class of the DLL; `procedure` nullptr: its windows are Window objects.
// False when it fails.
bool RegisterWindowClass(const char* className, WNDPROC procedure, HBRUSH background);
// Unregisters every class registered above (at quit, once its windows are gone).
void UnregisterClasses();

// Runs fn; a failure is logged with `what` instead of leaving the caller.
template <typename Fn>
void Guarded(const char* what, Fn&& fn);
void LogFailure(const char* what);

template <typename Fn>
void Guarded(const char* what, Fn&& fn) {
  try {
    fn();
  } catch (...) {
    LogFailure(what);
  }
}

}  // namespace win32ui
