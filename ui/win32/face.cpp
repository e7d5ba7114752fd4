// The native face of the Windows build: a FormView for every dialog model, the modal loop of the
// IP address dialog, and the keyboard handling that the player's message loop does not do for
// modeless windows (it calls no IsDialogMessage), by a message hook on the user-interface thread.
#include <windows.h>
//
#include <commctrl.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "ui/face.h"
#include "ui/win32/form_view.h"
#include "ui/win32/view_protocol.h"

namespace face {

namespace {

using win32ui::FormStyle;
using win32ui::FormView;

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

DWORD g_thread = 0;
HHOOK g_keyboard = nullptr;
std::map<ui::Dialog*, std::unique_ptr<FormView>> g_views;

FormView* ViewOf(ui::Dialog& dialog) {
  auto it = g_views.find(&dialog);
  return it == g_views.end() ? nullptr : it->second.get();
}

HWND ConfigWindow() {
  for (auto& [dialog, view] : g_views) {
    if (dialog->Name() == "ConfigDlg") return view->Handle();
  }
  return nullptr;
}

LRESULT CALLBACK KeyboardHook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION && wparam == PM_REMOVE) {
    auto* msg = reinterpret_cast<MSG*>(lparam);
    try {
      if (msg->hwnd != nullptr && (msg->message == WM_KEYDOWN || msg->message == WM_SYSCHAR)) {
        auto* view =
            dynamic_cast<FormView*>(win32ui::Window::From(GetAncestor(msg->hwnd, GA_ROOT)));
        if (view != nullptr && view->Keys().PreTranslate(*msg)) msg->message = WM_NULL;
      }
    } catch (...) {
      win32ui::LogFailure("Tastatur");
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

void Created(ui::Dialog& dialog) {
  win32ui::Guarded("Fenster anlegen", [&] {
    for (const FormKind& form : kForms) {
      if (dialog.Name() != form.dialog) continue;
      HWND owner = form.ownedByConfig ? ConfigWindow() : nullptr;
      g_views[&dialog] = std::make_unique<FormView>(dialog, form.style, owner);
      return;
    }
    throw std::logic_error("no form for " + dialog.Name());
  });
}

void Destroyed(ui::Dialog& dialog) {
  win32ui::Guarded("Fenster schliessen", [&] { g_views.erase(&dialog); });
}

void RunModal(ui::Dialog& dialog) {
  FormView* view = ViewOf(dialog);
  if (view == nullptr) {
    dialog.SetModalResult(ui::ModalResult::Cancel);
    return;
  }
  view->RunModal();
}

void Shown(ui::Dialog& dialog) {
  FormView* view = ViewOf(dialog);
  if (view == nullptr) return;
  if (GetCurrentThreadId() == g_thread) {
    view->SyncShown();
  } else {
    PostMessageA(view->Handle(), FormView::kSync, static_cast<WPARAM>(-1), 0);
  }
}

}  // namespace

void Install(host::Window) {
  g_thread = GetCurrentThreadId();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  if (!win32ui::RegisterFormClasses()) win32ui::LogFailure("RegisterClass");
  g_keyboard = SetWindowsHookExA(WH_GETMESSAGE, &KeyboardHook, nullptr, g_thread);
  ui::SetFaceHooks({&RunModal, &Created, &Destroyed, &Shown});
}

void Remove() {
  ui::SetFaceHooks({});
  g_views.clear();
  if (g_keyboard != nullptr) UnhookWindowsHookEx(g_keyboard);
  g_keyboard = nullptr;
  win32ui::UnregisterClasses();
}

}  // namespace face
