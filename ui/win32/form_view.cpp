#include "ui/win32/form_view.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "ui/win32/control_factory.h"
#include "ui/win32/pictures.h"
#include "ui/win32/view_protocol.h"
#include "ui/win32/window_text.h"

namespace win32ui {

namespace {

using ui::Kind;

constexpr ui::FontStyle kFormFont{"MS Sans Serif", -11, false};

}  // namespace

bool RegisterFormClasses(WindowClasses& classes) {
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  return classes.Register(viewproto::kConfigClass, nullptr, face) &&
         classes.Register(viewproto::kRestartClass, nullptr, face) &&
         classes.Register(viewproto::kIpAddressClass, nullptr, face) &&
         classes.Register(viewproto::kContainerClass, &ContainerProc, nullptr);
}

FormView::FormView(ui::Dialog& model, const FormStyle& style, HWND owner, LogSink& log)
    : Window(log),
      model_(model),
      style_(style),
      thread_(GetCurrentThreadId()),
      navigator_(static_cast<Navigable&>(*this)) {
  catchUpMessage_ = RegisterWindowMessageA(viewproto::kCatchUpMessage);
  pressMessage_ = RegisterWindowMessageA(viewproto::kPressMessage);
  Build(owner);
}

FormView::~FormView() {
  log_.reset();
  for (auto& item : items_) {
    if (item->observer != 0) item->model->Unsubscribe(item->observer);
  }
  if (Handle() != nullptr) DestroyWindow(Handle());
}

void FormView::Build(HWND owner) {
  const ui::Bounds& b = model_.GetBounds();
  RECT rc{0, 0, b.width, b.height};
  AdjustWindowRectEx(&rc, style_.style, FALSE, style_.exStyle);
  const int width = rc.right - rc.left;
  const int height = rc.bottom - rc.top;
  int x = b.left;
  int y = b.top;
  if (style_.centred) {
    x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  }
  if (!Create(style_.exStyle, style_.className, model_.Caption().c_str(), style_.style, x, y, width,
              height, owner)) {
    throw std::runtime_error("CreateWindowEx");
  }
  SetPropA(Handle(), viewproto::kNameProp, const_cast<char*>(model_.Name().c_str()));
  baseFont_ = FontFor(kFormFont);
  icon_ = CreateFormIcon();
  if (icon_) {
    SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.Get()));
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.Get()));
  }
  CreateItems();
  if (pages_.Count() > 0) SelectPage(0, false);
  if (out_ != nullptr) {
    log_ = std::make_unique<LogView>(dynamic_cast<ui::LogList&>(*out_->model), out_->hwnd, Handle(),
                                     kLogWake, Log());
  }
}

void FormView::CreateItems() {
  const std::vector<ui::Control*>& controls = model_.Controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    auto item = std::make_unique<Item>();
    item->model = controls[i];
    item->index = static_cast<int>(i);
    items_.push_back(std::move(item));
  }
  for (auto& item : items_) {
    item->hwnd = CreateItem(*item);
    if (item->hwnd == nullptr) throw std::runtime_error("CreateWindowEx " + item->model->Name());
    Item* raw = item.get();
    if (dynamic_cast<ui::LogList*>(raw->model) != nullptr) out_ = raw;
    item->observer = item->model->Subscribe(
        [this, raw](const ui::Control&, const ui::Change&) { OnChanged(*raw); });
  }
  for (auto& item : items_) {
    // Frames lie below the controls they surround, so that they never hide them.
    if (item->model->GetKind() == Kind::Bevel) {
      SetWindowPos(item->hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    Apply(*item);
  }
}

HWND FormView::CreateItem(Item& item) {
  const ui::Control& c = *item.model;
  const ui::Bounds& b = c.GetBounds();
  Placement at{ParentWindow(c),
               {b.left, b.top, b.left + b.width, b.top + b.height},
               viewproto::kFirstControlId + item.index,
               style_.defaultButton != nullptr && c.Name() == style_.defaultButton};
  if (c.GetKind() == Kind::TabPage) {
    // The page lies over the tab control's display area as a child of the form, above it.
    at.bounds = pages_.Add(at.parent, Handle(), c);
    at.parent = Handle();
  }
  if (c.GetKind() == Kind::Image && !picture_) picture_ = CreateInfoPicture();
  HWND hwnd = CreateControlWindow(c, at, FontFor(c.Font()));
  if (hwnd == nullptr) return nullptr;
  if (c.GetKind() == Kind::TabPage) pages_.SetWindow(c, hwnd);
  SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FormView::ControlProc));
  return hwnd;
}

HFONT FormView::FontFor(const ui::FontStyle& style) {
  if (style.face == nullptr) return baseFont_;
  const std::string key =
      std::string(style.face) + "/" + std::to_string(style.height) + (style.bold ? "b" : "");
  Font& font = fonts_[key];
  if (!font) {
    font = Font(CreateFontA(style.height, 0, 0, 0, style.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                            FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                            DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, style.face));
  }
  return font.Get();
}

HWND FormView::ParentWindow(const ui::Control& c) const {
  Item* parent = c.Parent().empty() ? nullptr : ItemNamed(c.Parent().c_str());
  return parent != nullptr ? parent->hwnd : Handle();
}

FormView::Item* FormView::ItemOf(HWND hwnd) const {
  if (hwnd == nullptr) return nullptr;
  int index = GetDlgCtrlID(hwnd) - viewproto::kFirstControlId;
  if (index < 0 || index >= static_cast<int>(items_.size())) return nullptr;
  Item* item = items_[static_cast<std::size_t>(index)].get();
  return item->hwnd == hwnd ? item : nullptr;
}

FormView::Item* FormView::ItemFor(const ui::Control* c) const {
  for (const auto& item : items_) {
    if (item->model == c) return item.get();
  }
  return nullptr;
}

FormView::Item* FormView::ItemNamed(const char* name) const {
  return name != nullptr ? ItemFor(model_.Find(name)) : nullptr;
}

FormView* FormView::Of(const ui::Dialog& dialog) {
  return dynamic_cast<FormView*>(dialog.GetView());
}

ui::Control* FormView::ControlOf(HWND hwnd) const {
  Item* item = ItemOf(hwnd);
  return item != nullptr ? item->model : nullptr;
}

HWND FormView::WindowOf(const ui::Control* control) const {
  Item* item = ItemFor(control);
  return item != nullptr ? item->hwnd : nullptr;
}

ui::Control* FormView::DefaultButton() const {
  Item* item = ItemNamed(style_.defaultButton);
  return item != nullptr ? item->model : nullptr;
}

ui::Control* FormView::EscapeButton() const {
  Item* item = style_.escapeCancels ? ItemNamed(style_.cancelButton) : nullptr;
  return item != nullptr ? item->model : nullptr;
}

void FormView::OnChanged(Item& item) {
  // Runs on the changing thread with the control locked: apply now on the user-interface
  // thread, else leave it to a posted message (one at a time per control).
  if (GetCurrentThreadId() == thread_) {
    Apply(item);
  } else if (!item.pending.exchange(true)) {
    PostMessageA(Handle(), kSync, static_cast<WPARAM>(item.index), 0);
  }
}

void FormView::Apply(Item& item) {
  ui::Control& c = *item.model;
  if (item.hwnd == nullptr) return;
  applying_++;
  const Kind k = c.GetKind();
  if (ClassOf(k).caption) {
    const std::string caption = c.Caption();
    if (WindowText(item.hwnd) != caption) {
      SetWindowTextA(item.hwnd, caption.c_str());
      if (k == Kind::TabPage) pages_.SetCaption(c, caption);
    }
    if (c.Has(ui::kAutoSize)) FitToText(item);
  }
  if (k == Kind::Edit) {
    const std::string t = static_cast<ui::Edit&>(c).Text();
    if (WindowText(item.hwnd) != t) {
      SetWindowTextA(item.hwnd, t.c_str());
      // A text changed under the user's caret leaves the caret at its end.
      if (GetFocus() == item.hwnd) SendMessageA(item.hwnd, EM_SETSEL, t.size(), t.size());
    }
  }
  if (k == Kind::ComboBox || k == Kind::ListBox) ApplyItems(item);
  ApplyState(item);
  applying_--;
}

void FormView::ApplyState(Item& item) {
  ui::Control& c = *item.model;
  HWND hwnd = item.hwnd;
  if (auto* box = dynamic_cast<ui::CheckBox*>(&c)) {
    const WPARAM want = box->Checked() ? BST_CHECKED : BST_UNCHECKED;
    if (static_cast<WPARAM>(SendMessageA(hwnd, BM_GETCHECK, 0, 0)) != want) {
      SendMessageA(hwnd, BM_SETCHECK, want, 0);
    }
  }
  if (auto* radio = dynamic_cast<ui::RadioButton*>(&c)) {
    // Only the checked button of a group is a tab stop; checking one changes its partners.
    for (ui::RadioButton* member : radio->Group()) {
      Item* other = ItemFor(member);
      if (other == nullptr) continue;
      LONG_PTR style = GetWindowLongPtrA(other->hwnd, GWL_STYLE);
      LONG_PTR want = member->IsTabStop() ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
      if (want != style) SetWindowLongPtrA(other->hwnd, GWL_STYLE, want);
    }
  }
  if ((IsWindowEnabled(hwnd) != FALSE) != c.Enabled()) EnableWindow(hwnd, c.Enabled());
  const bool visible = (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
  if (c.GetKind() != Kind::TabPage && visible != c.Visible()) {
    ShowWindow(hwnd, c.Visible() ? SW_SHOWNA : SW_HIDE);
  }
}

void FormView::ApplyItems(Item& item) {
  const bool combo = item.model->GetKind() == Kind::ComboBox;
  auto& list = dynamic_cast<ui::ItemList&>(*item.model);
  if (&item == out_) {
    // The log's entries come through the log view; an emptied log empties the view.
    if (log_ != nullptr && log_->IsLogEmpty() && SendMessageA(item.hwnd, LB_GETCOUNT, 0, 0) > 0) {
      log_->Clear();
    }
  } else {
    const std::vector<std::string> items = list.Items();
    if (ListItems(item.hwnd, combo) != items) {
      SendMessageA(item.hwnd, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
      for (const std::string& s : items) {
        SendMessageA(item.hwnd, combo ? CB_ADDSTRING : LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(s.c_str()));
      }
    }
  }
  const int selected = list.Selected();
  if (static_cast<int>(SendMessageA(item.hwnd, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0)) !=
      selected) {
    SendMessageA(item.hwnd, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  }
}

void FormView::FitToText(Item& item) {
  const std::string text = WindowText(item.hwnd);
  WindowDc dc(item.hwnd);
  if (dc.Get() == nullptr) return;
  Selection font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageA(item.hwnd, WM_GETFONT, 0, 0)));
  RECT extent{0, 0, 0, 0};
  DrawTextA(dc.Get(), text.c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE);
  SetWindowPos(item.hwnd, nullptr, 0, 0, extent.right, extent.bottom,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace win32ui
