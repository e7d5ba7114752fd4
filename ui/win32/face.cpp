// The native face of the Windows build: a FormView for every dialog model, owned by its dialog,
// the modal loop of the IP address dialog, and the keyboard handling that the player's message
// loop does not do for modeless windows (it calls no IsDialogMessage), by a message hook on the
// user-interface thread.
#include <windows.h>
//
#include <commctrl.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "ui/face.h"
#include "ui/win32/form_view.h"
#include "ui/win32/view_protocol.h"

namespace win32ui {

namespace {

constexpr DWORD kFixedFrame = WS_POPUP | WS_CAPTION | WS_SYSMENU;

// The forms by their dialog's name. The configuration dialog and the restart offer have no
// owner window: each has its own taskbar entry and stays when the player is minimised. The IP
// address dialog is owned by the configuration dialog, whose modal dialog it is.
struct FormKind {
  const char* dialog;
  FormStyle style;
  bool ownedByConfig;
};
constexpr FormKind kForms[] = {
    {"ConfigDlg",
     {viewproto::kConfigClass, kFixedFrame, WS_EX_TOPMOST, false, "CloseBttn", nullptr, false},
     false},
    {"ServerRestartDlg",
     {viewproto::kRestartClass, kFixedFrame, WS_EX_TOPMOST | WS_EX_DLGMODALFRAME, true, nullptr,
      "CancelBtn", false},
     false},
    {"OKBottomDlg",
     {viewproto::kIpAddressClass, kFixedFrame, WS_EX_TOPMOST | WS_EX_DLGMODALFRAME, true, "OKBtn",
      "CancelBtn", true},
     true},
};

LRESULT CALLBACK KeyboardHook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION && wparam == PM_REMOVE) {
    auto* msg = reinterpret_cast<MSG*>(lparam);
    FormView* view = nullptr;
    if (msg->hwnd != nullptr && (msg->message == WM_KEYDOWN || msg->message == WM_SYSCHAR)) {
      view = dynamic_cast<FormView*>(Window::From(GetAncestor(msg->hwnd, GA_ROOT)));
    }
    if (view != nullptr) {
      try {
        if (view->Keys().PreTranslate(*msg)) msg->message = WM_NULL;
      } catch (...) {
        view->LogFailure("Tastatur");
      }
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

// What Windows keeps for the thread or the process, not for one window: one of each for every
// form of the plug-in, set up when the face comes and undone when it goes.
class ThreadWide {
 public:
  explicit ThreadWide(LogSink& log) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    if (!RegisterFormClasses(classes_)) LogFailure(log, "RegisterClass");
    keyboard_ = SetWindowsHookExA(WH_GETMESSAGE, &KeyboardHook, nullptr, thread_);
  }
  ~ThreadWide() {
    if (keyboard_ != nullptr) UnhookWindowsHookEx(keyboard_);
  }
  ThreadWide(const ThreadWide&) = delete;
  ThreadWide& operator=(const ThreadWide&) = delete;

  bool OnThread() const { return GetCurrentThreadId() == thread_; }

 private:
  // The user-interface thread: its windows take changes made elsewhere by posted messages.
  const DWORD thread_ = GetCurrentThreadId();
  // Window classes are registered for the process, by module: once for every form.
  WindowClasses classes_;
  // A message hook belongs to a thread, not to a window: one sees the keys of every form.
  HHOOK keyboard_ = nullptr;
};

class NativeFace final : public ui::Face {
 public:
  NativeFace(ui::Forms& forms, LogSink& log) : forms_(forms), log_(log), threadWide_(log) {
    forms_.SetFace(this);
  }
  // The views go with their windows before the classes and the hook.
  ~NativeFace() override { forms_.SetFace(nullptr); }

  void Created(ui::Dialog& dialog) override {
    Guarded(log_, "Fenster anlegen", [&] {
      for (const FormKind& form : kForms) {
        if (dialog.Name() != form.dialog) continue;
        dialog.SetView(std::make_unique<FormView>(dialog, form.style, OwnerFor(form), log_));
        return;
      }
      throw std::logic_error("no form for " + dialog.Name());
    });
  }

  void Destroyed(ui::Dialog& dialog) override {
    Guarded(log_, "Fenster schliessen", [&] { dialog.SetView(nullptr); });
  }

  void Shown(ui::Dialog& dialog) override {
    FormView* view = FormView::Of(dialog);
    if (view == nullptr) return;
    if (threadWide_.OnThread()) {
      view->SyncShown();
    } else {
      PostMessageA(view->Handle(), FormView::kSync, static_cast<WPARAM>(-1), 0);
    }
  }

  void RunModal(ui::Dialog& dialog) override {
    FormView* view = FormView::Of(dialog);
    if (view == nullptr) {
      dialog.SetModalResult(ui::ModalResult::Cancel);
      return;
    }
    view->RunModal();
  }

 private:
  HWND OwnerFor(const FormKind& form) const {
    const ui::Dialog* config = form.ownedByConfig ? forms_.Named("ConfigDlg") : nullptr;
    const FormView* view = config != nullptr ? FormView::Of(*config) : nullptr;
    return view != nullptr ? view->Handle() : nullptr;
  }

  ui::Forms& forms_;
  LogSink& log_;
  ThreadWide threadWide_;
};

}  // namespace

}  // namespace win32ui

namespace face {

std::unique_ptr<ui::Face> Make(ui::Forms& forms, LogSink& log) {
  return std::make_unique<win32ui::NativeFace>(forms, log);
}

}  // namespace face
