#include "sim/win32/log_watch.h"

#include <commctrl.h>

#include "base/text.h"
#include "sim/win32/window_surface.h"
#include "ui/console/console_output.h"
#include "ui/win32/view_protocol.h"
#include "ui/win32/window_text.h"

namespace sim {

namespace {
// One watch of the one list box. A plain subclass: one of the common controls would look its
// chain up as a window property for every message, a round trip to the window server under
// Wine for each line.
LogWatch* g_watch = nullptr;
WNDPROC g_previous = nullptr;
// A watch ended while a later subclass sat above it: its procedure stays in that window's chain,
// so no other watch may take g_previous until the window goes.
bool g_stuck = false;
}  // namespace

LogWatch::LogWatch()
    : form_(FindForm(viewproto::kConfigClass)),
      list_(FindControl(form_, "Out")),
      skippedMessage_(RegisterWindowMessageA(viewproto::kLogSkippedMessage)),
      catchUpMessage_(RegisterWindowMessageA(viewproto::kCatchUpMessage)) {
  if (list_ == nullptr) return;
  for (const std::string& entry : Entries()) Add(entry.c_str());
  Flush();
  if (g_watch != nullptr || g_stuck) {
    list_ = nullptr;
    return;
  }
  g_previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LogWatch::Proc)));
  if (g_previous == nullptr) {
    list_ = nullptr;
    return;
  }
  g_watch = this;
}

LogWatch::~LogWatch() {
  if (list_ != nullptr) Unhook(false);
  Flush();
}

void LogWatch::Unhook(bool destroyed) {
  // Whoever came later keeps the chain: the procedure then only passes messages on.
  if (destroyed) {
    g_stuck = false;
  } else if (GetWindowLongPtrA(list_, GWLP_WNDPROC) ==
             reinterpret_cast<LONG_PTR>(&LogWatch::Proc)) {
    SetWindowLongPtrA(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_previous));
  } else {
    g_stuck = true;
  }
  g_watch = nullptr;
  list_ = nullptr;
  form_ = nullptr;
}

void LogWatch::CatchUp() {
  if (form_ != nullptr && IsWindow(form_)) SendMessageA(form_, catchUpMessage_, 0, 0);
  Flush();
}

std::vector<std::string> LogWatch::Entries() const {
  return list_ != nullptr ? win32ui::ListItems(list_, false) : std::vector<std::string>();
}

void LogWatch::Add(const char* entry) {
  pending_ += "LOG ";
  text::AppendEscapedLine(pending_, entry != nullptr ? entry : "");
  pending_ += '\n';
}

void LogWatch::Flush() {
  if (pending_.empty()) return;
  console::PrintLines(pending_);
  pending_.clear();
}

LRESULT CALLBACK LogWatch::Proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  LogWatch* self = g_watch;
  WNDPROC previous = g_previous;
  if (self == nullptr) {
    if (msg == WM_NCDESTROY) g_stuck = false;
    return CallWindowProcA(previous, hwnd, msg, wparam, lparam);
  }
  try {
    if (msg == self->skippedMessage_) {
      self->Flush();
      self->pending_ = "LOGSKIPPED " + std::to_string(wparam) + "\n";
      self->Flush();
    } else if (msg == LB_ADDSTRING) {
      self->Add(reinterpret_cast<const char*>(lparam));
      if (!self->frozen_) self->Flush();
    } else if (msg == WM_SETREDRAW) {
      self->frozen_ = wparam == FALSE;
      if (!self->frozen_) self->Flush();
    } else if (msg == WM_NCDESTROY) {
      self->Flush();
      self->Unhook(true);
    }
  } catch (...) {
    // Out of memory for a line: the list box still gets its message.
  }
  return CallWindowProcA(previous, hwnd, msg, wparam, lparam);
}

}  // namespace sim
