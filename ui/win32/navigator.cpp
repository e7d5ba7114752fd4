#include "ui/win32/navigator.h"

#include <algorithm>

#include "ui/win32/form_view.h"

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
  FormView::Item* focused = form_.ItemOf(focus);
  if (focused != nullptr && focused->model->GetKind() == Kind::ComboBox &&
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
  FormView::Item* focused = form_.ItemOf(GetFocus());
  const std::size_t n = chain.size();
  auto at = std::find(chain.begin(), chain.end(), focused != nullptr ? focused->model : nullptr);
  std::size_t next = back ? n - 1 : 0;
  if (at != chain.end()) {
    const std::size_t i = static_cast<std::size_t>(at - chain.begin());
    next = back ? (i + n - 1) % n : (i + 1) % n;
  }
  FormView::Item* target = form_.ItemFor(chain[next]);
  if (target == nullptr) return true;
  form_.Focus(*target);
  // As in a dialog, an edit that Tab enters has its whole text selected.
  if (target->model->GetKind() == Kind::Edit) SendMessageA(target->hwnd, EM_SETSEL, 0, -1);
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
  FormView::Item* target = form_.ItemOf(GetFocus());
  if (target == nullptr || target->model->GetKind() != Kind::Button) {
    const char* name = form_.Style().defaultButton;
    target = name != nullptr ? form_.ItemNamed(name) : nullptr;
  }
  if (target == nullptr || !target->model->Usable()) return false;
  form_.PostClick(*target);
  return true;
}

bool Navigator::Escape() {
  const char* name = form_.Style().cancelButton;
  FormView::Item* target = name != nullptr ? form_.ItemNamed(name) : nullptr;
  if (target == nullptr || !form_.Style().escapeCancels) return false;
  form_.PostClick(*target);
  return true;
}

bool Navigator::Arrow(int step) {
  FormView::Item* focused = form_.ItemOf(GetFocus());
  auto* radio = focused != nullptr ? dynamic_cast<ui::RadioButton*>(focused->model) : nullptr;
  if (radio == nullptr) return false;
  std::vector<ui::RadioButton*> group = radio->Group();
  const int n = static_cast<int>(group.size());
  const int at = static_cast<int>(std::find(group.begin(), group.end(), radio) - group.begin());
  for (int k = 1; k < n; ++k) {
    ui::RadioButton* candidate = group[static_cast<std::size_t>(((at + step * k) % n + n) % n)];
    FormView::Item* next = candidate->Usable() ? form_.ItemFor(candidate) : nullptr;
    if (next == nullptr) continue;
    form_.Focus(*next);
    form_.PostClick(*next);  // checks it, as the arrow keys do in a group
    return true;
  }
  return true;
}

bool Navigator::Mnemonic(char key) {
  key = LowerAscii(key);
  TabPages& pages = form_.Pages();
  for (int p = 0; p < pages.Count(); ++p) {
    if (MnemonicOf(pages.Model(p)->Caption()) == key) {
      form_.SelectPage(p, true);
      return true;
    }
  }
  for (ui::Control* c : form_.Model().Controls()) {
    Kind k = c->GetKind();
    if (k != Kind::Button && k != Kind::CheckBox && k != Kind::RadioButton) continue;
    if (MnemonicOf(c->Caption()) != key || !c->Usable()) continue;
    FormView::Item* item = form_.ItemFor(c);
    const int page = item != nullptr ? pages.Holding(item->hwnd) : -1;
    if (item == nullptr || (page >= 0 && page != pages.Active())) continue;
    if (k != Kind::Button) form_.Focus(*item);
    form_.PostClick(*item);
    return true;
  }
  return false;
}

}  // namespace win32ui
