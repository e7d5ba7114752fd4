#include "sim/win32/window_surface.h"

#include <algorithm>

#include "ui/win32/view_protocol.h"
#include "ui/win32/window_text.h"

namespace sim {

namespace {

using ui::Kind;

HWND H(console::DialogSurface::Handle h) {
  return static_cast<HWND>(const_cast<void*>(h));
}

struct FormSearch {
  const char* className;
  HWND found;
};

BOOL CALLBACK MatchForm(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<FormSearch*>(param);
  char name[64];
  if (GetClassNameA(hwnd, name, sizeof name) > 0 && lstrcmpA(name, search->className) == 0 &&
      GetPropA(hwnd, viewproto::kNameProp) != nullptr) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectControl(HWND hwnd, LPARAM param) {
  if (GetPropA(hwnd, viewproto::kKindProp) != nullptr) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
  }
  return TRUE;
}

std::string NameOf(HWND hwnd) {
  const char* name = static_cast<const char*>(GetPropA(hwnd, viewproto::kNameProp));
  return name != nullptr ? std::string(name) : std::string();
}

bool HasStyle(HWND hwnd, DWORD bit) {
  return (static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)) & bit) != 0;
}

Kind KindOfWindow(HWND hwnd) {
  return static_cast<Kind>(reinterpret_cast<INT_PTR>(GetPropA(hwnd, viewproto::kKindProp)) - 1);
}

bool IsCombo(HWND hwnd) {
  return KindOfWindow(hwnd) == Kind::ComboBox;
}

// The lParam of a key message: one stroke, the key's scan code; a release has bits 30 and 31.
LPARAM KeyData(UINT vk, bool up) {
  LPARAM data = 1 | (static_cast<LPARAM>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16);
  if (up) data |= static_cast<LPARAM>(3u << 30);
  return data;
}

}  // namespace

HWND FindForm(const char* className) {
  FormSearch search{className, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), &MatchForm, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindControl(HWND form, const std::string& name) {
  std::vector<HWND> all;
  if (form != nullptr) EnumChildWindows(form, &CollectControl, reinterpret_cast<LPARAM>(&all));
  for (HWND hwnd : all) {
    if (NameOf(hwnd) == name) return hwnd;
  }
  return nullptr;
}

WindowSurface::WindowSurface() : pressMessage_(RegisterWindowMessageA(viewproto::kPressMessage)) {}

std::vector<console::DialogSurface::Handle> WindowSurface::DumpOrder() const {
  std::vector<Handle> forms;
  for (const char* cls :
       {viewproto::kConfigClass, viewproto::kRestartClass, viewproto::kIpAddressClass}) {
    if (HWND form = FindForm(cls)) forms.push_back(form);
  }
  return forms;
}

std::vector<console::DialogSurface::Handle> WindowSurface::LookupOrder() const {
  std::vector<Handle> forms;
  if (HWND ip = FindForm(viewproto::kIpAddressClass)) forms.push_back(ip);
  HWND restart = FindForm(viewproto::kRestartClass);
  if (restart != nullptr && IsWindowVisible(restart)) forms.push_back(restart);
  if (HWND config = FindForm(viewproto::kConfigClass)) forms.push_back(config);
  return forms;
}

std::string WindowSurface::DialogName(Handle dialog) const {
  return NameOf(H(dialog));
}

bool WindowSurface::Shown(Handle dialog) const {
  return IsWindowVisible(H(dialog)) != FALSE;
}

std::vector<console::DialogSurface::Handle> WindowSurface::Controls(Handle dialog) const {
  std::vector<HWND> all;
  EnumChildWindows(H(dialog), &CollectControl, reinterpret_cast<LPARAM>(&all));
  std::stable_sort(all.begin(), all.end(),
                   [](HWND a, HWND b) { return GetDlgCtrlID(a) < GetDlgCtrlID(b); });
  return {all.begin(), all.end()};
}

console::DialogSurface::Handle WindowSurface::Focused() const {
  return GetFocus();
}

std::string WindowSurface::Name(Handle control) const {
  return NameOf(H(control));
}

Kind WindowSurface::KindOf(Handle control) const {
  return KindOfWindow(H(control));
}

std::string WindowSurface::Caption(Handle control) const {
  return win32ui::WindowText(H(control));
}

std::string WindowSurface::Text(Handle edit) const {
  return win32ui::WindowText(H(edit));
}

bool WindowSurface::Checked(Handle box) const {
  return SendMessageA(H(box), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::vector<std::string> WindowSurface::Items(Handle list) const {
  return win32ui::ListItems(H(list), IsCombo(H(list)));
}

int WindowSurface::Selected(Handle list) const {
  HWND hwnd = H(list);
  return static_cast<int>(SendMessageA(hwnd, IsCombo(hwnd) ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
}

bool WindowSurface::Enabled(Handle control) const {
  return !HasStyle(H(control), WS_DISABLED);
}

bool WindowSurface::Visible(Handle control) const {
  return HasStyle(H(control), WS_VISIBLE);
}

bool WindowSurface::Usable(Handle control) const {
  // The form itself need not be shown: a script may click in a hidden dialog.
  HWND form = GetAncestor(H(control), GA_ROOT);
  for (HWND w = H(control); w != nullptr && w != form; w = GetParent(w)) {
    if (!HasStyle(w, WS_VISIBLE)) return false;
  }
  return Enabled(control);
}

bool WindowSurface::TakesKeys(Handle control) const {
  return GetPropA(H(control), viewproto::kKeysProp) != nullptr;
}

void WindowSurface::Click(Handle control) {
  // What the button sends its parent when the user clicks it.
  HWND hwnd = H(control);
  SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED),
               reinterpret_cast<LPARAM>(hwnd));
}

void WindowSurface::Press(Handle control) {
  SendMessageA(H(control), pressMessage_, 0, 0);
}

void WindowSurface::Focus(Handle control) {
  SetFocus(H(control));
}

void WindowSurface::SetText(Handle edit, const std::string& value) {
  SetWindowTextA(H(edit), value.c_str());
}

void WindowSurface::SetChecked(Handle box, bool on) {
  SendMessageA(H(box), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void WindowSurface::Select(Handle list, int index) {
  HWND hwnd = H(list);
  SendMessageA(hwnd, IsCombo(hwnd) ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool WindowSurface::Type(char ch) {
  HWND target = GetFocus();
  if (target == nullptr) return false;
  SHORT scan = VkKeyScanA(ch);
  UINT vk = scan == -1 ? 0 : static_cast<UINT>(scan & 0xFF);
  SendMessageA(target, WM_KEYDOWN, vk, KeyData(vk, false));
  SendMessageA(target, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(ch)),
               KeyData(vk, false));
  SendMessageA(target, WM_KEYUP, vk, KeyData(vk, true));
  return true;
}

}  // namespace sim
