#include "sim/win32/log_watch.h"

#include <commctrl.h>

#include "base/text.h"
#include "sim/win32/window_surface.h"
#include "ui/console/console_output.h"
#include "ui/win32/view_protocol.h"
#include "ui/win32/window_text.h"

namespace sim {

namespace {
constexpr UINT_PTR kSubclassId = 0x4C4F47;  // apart from the plug-in's own subclass
}

LogWatch::LogWatch()
    : form_(FindForm(viewproto::kConfigClass)),
      list_(FindControl(form_, "Out")),
      skippedMessage_(RegisterWindowMessageA(viewproto::kLogSkippedMessage)),
      catchUpMessage_(RegisterWindowMessageA(viewproto::kCatchUpMessage)) {
  if (list_ == nullptr) return;
  for (const std::string& entry : Entries()) Add(entry.c_str());
  Flush();
  if (!SetWindowSubclass(list_, &LogWatch::Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
    list_ = nullptr;
  }
}

LogWatch::~LogWatch() {
  if (list_ != nullptr) RemoveWindowSubclass(list_, &LogWatch::Proc, kSubclassId);
  Flush();
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

LRESULT CALLBACK LogWatch::Proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                DWORD_PTR data) {
  auto* self = reinterpret_cast<LogWatch*>(data);
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
      RemoveWindowSubclass(hwnd, &LogWatch::Proc, kSubclassId);
      self->list_ = nullptr;
      self->form_ = nullptr;
    }
  } catch (...) {
    // Out of memory for a line: the list box still gets its message.
  }
  return DefSubclassProc(hwnd, msg, wparam, lparam);
}

}  // namespace sim
