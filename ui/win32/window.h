#pragma once
// A thin base for the plug-in's own windows: the object lives with its window (stored at
// creation), messages are forwarded to HandleMessage, and no exception leaves the window
// procedure: the player's message loop never sees one, and the failure goes to the log that
// the window was given.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "base/log_sink.h"

namespace win32ui {

// The DLL's own module, with which its window classes are registered.
HINSTANCE Module();

// Runs fn; a failure is logged to `log` with `what` instead of leaving the caller.
void LogFailure(LogSink& log, const char* what);
template <typename Fn>
void Guarded(LogSink& log, const char* what, Fn&& fn) {
  try {
    fn();
  } catch (...) {
    LogFailure(log, what);
  }
}

class Window {
 public:
  explicit Window(LogSink& log) : log_(log) {}
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const { return hwnd_; }
  // The object of one of our windows, or nullptr.
  static Window* From(HWND hwnd);

  // The procedure of the classes whose windows are Window objects.
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);

  LogSink& Log() const { return log_; }
  void LogFailure(const char* what) const { win32ui::LogFailure(log_, what); }
  template <typename Fn>
  void Guarded(const char* what, Fn&& fn) const {
    win32ui::Guarded(log_, what, std::forward<Fn>(fn));
  }

 protected:
  bool Create(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
              int width, int height, HWND parent);
  virtual LRESULT HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam);

 private:
  LogSink& log_;
  HWND hwnd_ = nullptr;
};

// The window classes of the DLL. Windows registers a class for the whole process, by module,
// not for a window: they are registered once for every form and unregistered when the face
// goes, after its windows.
class WindowClasses {
 public:
  WindowClasses() = default;
  ~WindowClasses();
  WindowClasses(const WindowClasses&) = delete;
  WindowClasses& operator=(const WindowClasses&) = delete;

  // `procedure` nullptr: its windows are Window objects. False when it fails.
  bool Register(const char* className, WNDPROC procedure, HBRUSH background);

 private:
  std::vector<std::string> names_;
};

}  // namespace win32ui
