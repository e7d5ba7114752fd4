// The messages of a form view and of its controls' windows: user input goes into the models
// and runs their handlers.
#include "ui/win32/form_view.h"
//
#include <commctrl.h>

#include "ui/win32/pictures.h"
#include "ui/win32/window_text.h"

namespace win32ui {

namespace {

using ui::Kind;

std::string ClipboardText(HWND hwnd) {
  std::string text;
  if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(hwnd)) return text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* p = static_cast<const char*>(GlobalLock(data))) {
      text = p;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// A state set on the window from outside (a script, a test): the window takes it, then its model.
template <typename Fn>
LRESULT Forwarded(const Window& view, HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam,
                  Fn&& toModel) {
  LRESULT r = FormView::ControlDefault(hwnd, msg, wparam, lparam);
  view.Guarded("Auswahl", toModel);
  return r;
}

}  // namespace

LRESULT FormView::HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
  HWND hwnd = Handle();
  if (msg == catchUpMessage_ && catchUpMessage_ != 0) {
    if (log_ != nullptr) log_->CatchUp(LogView::Clock::time_point::max());
    return 1;
  }
  switch (msg) {
    case kSync:
      return OnSync(wparam);
    case kClick:
      if (wparam < items_.size()) Click(*items_[wparam]);
      return 0;
    case WM_TIMER:
      if (log_ == nullptr || !log_->OwnsTimer(wparam)) break;
      [[fallthrough]];
    case kLogWake:
      if (log_ != nullptr) log_->Wake();
      return 0;
    case WM_COMMAND:
      if (Item* item = ItemOf(reinterpret_cast<HWND>(lparam))) OnCommand(*item, HIWORD(wparam));
      return 0;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lparam);
      if (header->code == static_cast<UINT>(TCN_SELCHANGE)) {
        SelectPage(static_cast<int>(SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0)), false);
      }
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return OnColor(msg, wparam, lparam);
    case WM_DRAWITEM:
      return OnDrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lparam));
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) break;
      OnActivate();
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

LRESULT FormView::OnSync(WPARAM wparam) {
  const int index = static_cast<int>(wparam);
  if (index < 0) {
    SyncShown();
  } else if (index < static_cast<int>(items_.size())) {
    Item& item = *items_[static_cast<std::size_t>(index)];
    item.pending = false;
    Apply(item);
  }
  return 0;
}

void FormView::OnCommand(Item& item, int code) {
  const Kind k = item.model->GetKind();
  if (code == BN_CLICKED && (k == Kind::Button || k == Kind::CheckBox || k == Kind::RadioButton)) {
    Click(item);
  } else if (code == EN_CHANGE && k == Kind::Edit && applying_ == 0) {
    const std::string t = WindowText(item.hwnd);
    Guarded("Eingabe", [&] { static_cast<ui::Edit*>(item.model)->SetText(t); });
  } else if (applying_ == 0 && ((code == CBN_SELCHANGE && k == Kind::ComboBox) ||
                                (code == LBN_SELCHANGE && k == Kind::ListBox))) {
    const bool combo = k == Kind::ComboBox;
    const int sel =
        static_cast<int>(SendMessageA(item.hwnd, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
    Guarded("Auswahl", [&] { dynamic_cast<ui::ItemList&>(*item.model).SetSelected(sel); });
  }
}

LRESULT FormView::OnColor(UINT msg, WPARAM wparam, LPARAM lparam) {
  Item* item = ItemOf(reinterpret_cast<HWND>(lparam));
  const ui::Control* parent = item != nullptr ? model_.Find(item->model->Parent()) : nullptr;
  if (parent != nullptr && parent->Has(ui::kBlack)) {
    HDC dc = reinterpret_cast<HDC>(wparam);
    SetTextColor(dc, RGB(0, 255, 0));
    SetBkColor(dc, RGB(0, 0, 0));
    return reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
  }
  return DefWindowProcA(Handle(), msg, wparam, lparam);
}

LRESULT FormView::OnDrawItem(const DRAWITEMSTRUCT& draw) {
  FillRect(draw.hDC, &draw.rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  if (picture_) {
    MemoryDc memory(CreateCompatibleDC(draw.hDC));
    if (memory) {
      Selection picture(memory.Get(), picture_.Get());
      BitBlt(draw.hDC, draw.rcItem.left, draw.rcItem.top, kInfoPictureWidth, kInfoPictureHeight,
             memory.Get(), 0, 0, SRCCOPY);
    }
  }
  return TRUE;
}

void FormView::OnActivate() {
  // The form's own focus comes back with the activation; its handlers ran when it was set.
  ui::Control* focused = model_.FocusedControl();
  if (focused == nullptr) {
    std::vector<ui::Control*> chain = TabChain();
    if (!chain.empty()) focused = chain.front();
  }
  Item* item = ItemFor(focused);
  SetFocus(item != nullptr ? item->hwnd : Handle());
}

void FormView::OnClose() {
  Item* cancel = ItemNamed(style_.cancelButton);
  if (cancel != nullptr) {
    Click(*cancel);
  } else {
    Guarded("Schliessen", [&] { model_.Hide(); });
  }
}

LRESULT FormView::ControlDefault(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  return CallWindowProcA(reinterpret_cast<WNDPROC>(GetClassLongPtrA(hwnd, GCLP_WNDPROC)), hwnd, msg,
                         wparam, lparam);
}

LRESULT CALLBACK FormView::ControlProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* view = dynamic_cast<FormView*>(Window::From(GetAncestor(hwnd, GA_ROOT)));
  Item* item = view != nullptr && msg != WM_NCDESTROY ? view->ItemOf(hwnd) : nullptr;
  if (item == nullptr) return ControlDefault(hwnd, msg, wparam, lparam);
  try {
    return view->OnControlMessage(*item, msg, wparam, lparam);
  } catch (...) {
    view->LogFailure("Steuerelement");
    return 0;
  }
}

LRESULT FormView::OnControlMessage(Item& item, UINT msg, WPARAM wparam, LPARAM lparam) {
  HWND hwnd = item.hwnd;
  ui::Control& c = *item.model;
  if (msg == pressMessage_ && pressMessage_ != 0) {
    if (c.OnClick) Guarded("Klick", [&] { c.OnClick(); });
    FollowModelFocus();
    return 0;
  }
  switch (msg) {
    case WM_SETFOCUS:
      return OnSetFocus(item, msg, wparam, lparam);
    case WM_KEYUP: {
      LRESULT r = ControlDefault(hwnd, msg, wparam, lparam);
      if (c.OnKeyUp) {
        Guarded("Taste", [&] { c.OnKeyUp(); });
        FollowModelFocus();
      }
      return r;
    }
    case WM_CHAR:
      if (!c.Has(ui::kOctet) || c.GetKind() != Kind::Edit || wparam == VK_BACK) break;
      if (bool taken = true; wparam == '.') {
        // A dialog without a rule for the dot leaves it to the mask; a failing rule is logged
        // and the key taken.
        Guarded("Taste", [&] { taken = model_.TypeDot(static_cast<ui::Edit&>(c)); });
        if (taken) {
          FollowModelFocus();
          return 0;
        }
      }
      OnOctetInput(item, std::string(1, static_cast<char>(wparam)));
      return 0;
    case WM_PASTE:
      if (!c.Has(ui::kOctet) || c.GetKind() != Kind::Edit) break;
      OnOctetInput(item, ClipboardText(hwnd));
      return 0;
    case BM_SETCHECK:
      if (applying_ != 0 || dynamic_cast<ui::CheckBox*>(&c) == nullptr) break;
      return Forwarded(*this, hwnd, msg, wparam, lparam,
                       [&] { static_cast<ui::CheckBox&>(c).SetChecked(wparam == BST_CHECKED); });
    case LB_SETCURSEL:
    case CB_SETCURSEL:
      if (applying_ != 0 || dynamic_cast<ui::ItemList*>(&c) == nullptr) break;
      return Forwarded(*this, hwnd, msg, wparam, lparam, [&] {
        dynamic_cast<ui::ItemList&>(c).SetSelected(static_cast<int>(wparam));
      });
    default:
      break;
  }
  return ControlDefault(hwnd, msg, wparam, lparam);
}

LRESULT FormView::OnSetFocus(Item& item, UINT msg, WPARAM wparam, LPARAM lparam) {
  LRESULT r = ControlDefault(item.hwnd, msg, wparam, lparam);
  // Within the form the model's Exit and Enter handlers run; a form activated again has its
  // control back without them.
  Guarded("Fokus", [&] { model_.AllForms().MoveFocus(item.model); });
  FollowModelFocus();
  return r;
}

bool FormView::OnOctetInput(Item& item, const std::string& typed) {
  // The mask of the field is its dialog's rule; the edit only keeps the caret.
  DWORD from = 0, to = 0;
  SendMessageA(item.hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&from),
               reinterpret_cast<LPARAM>(&to));
  auto result = model_.TypeOver(static_cast<const ui::Edit&>(*item.model), WindowText(item.hwnd),
                                from, to, typed);
  if (!result) {
    MessageBeep(MB_OK);
    return false;
  }
  SetWindowTextA(item.hwnd, result->text.c_str());
  SendMessageA(item.hwnd, EM_SETSEL, result->caret, result->caret);
  return true;
}

}  // namespace win32ui
