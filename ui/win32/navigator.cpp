#include "ui/win32/navigator.h"

#include <algorithm>
#include <string>

namespace win32ui {

namespace {

using ui::Kind;

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The letter after the first single "&" of a caption, lower case; 0 when there is none.
char MnemonicOf(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return LowerAscii(caption[i + 1]);
  }
  return 0;
}

bool Down(int vk) {
  return GetKeyState(vk) < 0;
}

}  // namespace

bool Navigator::PreTranslate(const MSG& msg) {
  if (msg.message == WM_SYSCHAR) return Mnemonic(static_cast<char>(msg.wParam));
  if (msg.message != WM_KEYDOWN) return false;
  HWND focus = GetFocus();
  ui::Control* focused = form_.ControlOf(focus);
  if (focused != nullptr && focused->GetKind() == Kind::ComboBox &&
      SendMessageA(focus, CB_GETDROPPEDSTATE, 0, 0) != 0) {
    return false;  // the open list takes Enter, Esc and the arrows itself
  }
  switch (msg.wParam) {
    case VK_TAB:
      if (Down(VK_MENU)) return false;
      return Down(VK_CONTROL) ? NextPage(Down(VK_SHIFT)) : Tab(Down(VK_SHIFT));
    case VK_RETURN:
      return Enter();
    case VK_ESCAPE:
      return Escape();
    case VK_UP:
    case VK_LEFT:
      return Arrow(-1);
    case VK_DOWN:
    case VK_RIGHT:
      return Arrow(1);
    default:
      return false;
  }
}

bool Navigator::Tab(bool back) {
  std::vector<ui::Control*> chain = form_.TabChain();
  if (chain.empty()) return true;
  ui::Control* focused = form_.ControlOf(GetFocus());
  const std::size_t n = chain.size();
  auto at = std::find(chain.begin(), chain.end(), focused);
  std::size_t next = back ? n - 1 : 0;
  if (at != chain.end()) {
    const std::size_t i = static_cast<std::size_t>(at - chain.begin());
    next = back ? (i + n - 1) % n : (i + 1) % n;
  }
  ui::Control& target = *chain[next];
  HWND window = form_.WindowOf(&target);
  if (window == nullptr) return true;
  form_.Focus(target);
  // As in a dialog, an edit that Tab enters has its whole text selected.
  if (target.GetKind() == Kind::Edit) SendMessageA(window, EM_SETSEL, 0, -1);
  return true;
}

bool Navigator::NextPage(bool back) {
  const int n = form_.Pages().Count();
  if (n == 0) return false;
  const int active = form_.Pages().Active();
  form_.SelectPage(back ? (active + n - 1) % n : (active + 1) % n, true);
  return true;
}

bool Navigator::Enter() {
  ui::Control* target = form_.ControlOf(GetFocus());
  if (target == nullptr || target->GetKind() != Kind::Button) target = form_.DefaultButton();
  if (target == nullptr || !target->Usable()) return false;
  form_.PostClick(*target);
  return true;
}

bool Navigator::Escape() {
  ui::Control* target = form_.EscapeButton();
  if (target == nullptr) return false;
  form_.PostClick(*target);
  return true;
}

bool Navigator::Arrow(int step) {
  auto* radio = dynamic_cast<ui::RadioButton*>(form_.ControlOf(GetFocus()));
  if (radio == nullptr) return false;
  std::vector<ui::RadioButton*> group = radio->Group();
  const int n = static_cast<int>(group.size());
  const int at = static_cast<int>(std::find(group.begin(), group.end(), radio) - group.begin());
  for (int k = 1; k < n; ++k) {
    ui::RadioButton* candidate = group[static_cast<std::size_t>(((at + step * k) % n + n) % n)];
    if (!candidate->Usable() || form_.WindowOf(candidate) == nullptr) continue;
    form_.Focus(*candidate);
    form_.PostClick(*candidate);  // checks it, as the arrow keys do in a group
    return true;
  }
  return true;
}

bool Navigator::Mnemonic(char key) {
  key = LowerAscii(key);
  const TabPages& pages = form_.Pages();
  for (int p = 0; p < pages.Count(); ++p) {
    if (MnemonicOf(pages.Model(p)->Caption()) == key) {
      form_.SelectPage(p, true);
      return true;
    }
  }
  for (ui::Control* c : form_.Controls()) {
    Kind k = c->GetKind();
    if (k != Kind::Button && k != Kind::CheckBox && k != Kind::RadioButton) continue;
    if (MnemonicOf(c->Caption()) != key || !c->Usable()) continue;
    HWND window = form_.WindowOf(c);
    const int page = window != nullptr ? pages.Holding(window) : -1;
    if (window == nullptr || (page >= 0 && page != pages.Active())) continue;
    if (k != Kind::Button) form_.Focus(*c);
    form_.PostClick(*c);
    return true;
  }
  return false;
}

}  // namespace win32ui
