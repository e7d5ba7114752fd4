// Showing, activating and focusing a form view, its pages and its modal loop.
#include "ui/win32/form_view.h"

namespace win32ui {

void FormView::SyncShown() {
  HWND hwnd = Handle();
  if (hwnd == nullptr) return;
  const bool want = model_.Shown();
  const bool is = IsWindowVisible(hwnd) != FALSE;
  if (want && !is) {
    ShowWindow(hwnd, SW_SHOW);  // activates it; WM_ACTIVATE focuses the model's control
  } else if (want) {
    // Showing a shown form brings it to the front.
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(hwnd);
  } else if (is) {
    ShowWindow(hwnd, SW_HIDE);
  }
}

void FormView::RunModal() {
  // Every other window of the plug-in waits for this one, as the owner of a modal dialog does.
  std::vector<HWND> disabled;
  for (const ui::Dialog* dialog : model_.AllForms().Dialogs()) {
    const FormView* view = Of(*dialog);
    HWND other = view != nullptr ? view->Handle() : nullptr;
    if (view != this && other != nullptr && IsWindowEnabled(other)) {
      EnableWindow(other, FALSE);
      disabled.push_back(other);
    }
  }
  SyncShown();
  // Bounded only by the user: the loop ends with a modal result, the end of the message loop
  // (WM_QUIT, passed on to the outer loop) or the window's destruction.
  while (model_.GetModalResult() == ui::ModalResult::None && Handle() != nullptr) {
    MSG msg;
    BOOL r = GetMessageA(&msg, nullptr, 0, 0);
    if (r == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (r < 0) break;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (model_.GetModalResult() == ui::ModalResult::None) {
    model_.SetModalResult(ui::ModalResult::Cancel);
  }
  // The others are enabled before the form hides, so that the owner gets the activation back.
  for (HWND other : disabled) EnableWindow(other, TRUE);
  if (Handle() != nullptr) ShowWindow(Handle(), SW_HIDE);
  HWND owner = Handle() != nullptr ? GetWindow(Handle(), GW_OWNER) : nullptr;
  if (owner != nullptr && IsWindowVisible(owner)) SetActiveWindow(owner);
}

void FormView::FollowModelFocus() const {
  ui::Control* focused = model_.AllForms().Focused();
  const FormView* view = focused != nullptr ? Of(focused->Owner()) : nullptr;
  Item* item = view != nullptr ? view->ItemFor(focused) : nullptr;
  if (item == nullptr) return;
  if (GetFocus() != item->hwnd && IsWindowVisible(view->Handle())) SetFocus(item->hwnd);
}

void FormView::Focus(Item& item) {
  if (GetFocus() != item.hwnd) SetFocus(item.hwnd);
}

void FormView::Focus(ui::Control& control) {
  if (Item* item = ItemFor(&control)) Focus(*item);
}

void FormView::PostClick(ui::Control& control) {
  if (Item* item = ItemFor(&control)) PostClick(*item);
}

void FormView::Click(Item& item) {
  Guarded("Klick", [&] { ui::ClickAsUser(*item.model); });
  FollowModelFocus();
}

void FormView::PostClick(Item& item) {
  PostMessageA(Handle(), kClick, static_cast<WPARAM>(item.index), 0);
}

std::vector<ui::Control*> FormView::TabChain() const {
  return model_.TabChain(pages_.ActiveModel());
}

void FormView::SelectPage(int page, bool moveFocus) {
  pages_.Select(page);
  const int holding = pages_.Holding(GetFocus());
  if (!moveFocus && (holding < 0 || holding == pages_.Active())) return;
  Item* target = ItemFor(model_.Find(pages_.Model(pages_.Active())->Parent()));
  for (ui::Control* c : TabChain()) {
    Item* item = ItemFor(c);
    if (item != nullptr && pages_.Holding(item->hwnd) == pages_.Active()) {
      target = item;
      break;
    }
  }
  if (target != nullptr) Focus(*target);
}

}  // namespace win32ui
