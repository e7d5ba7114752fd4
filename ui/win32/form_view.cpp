#include "ui/win32/form_view.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>

#include "base/text.h"
#include "ui/win32/pictures.h"
#include "ui/win32/view_protocol.h"
#include "ui/win32/window_text.h"

namespace win32ui {

namespace {

using ui::Kind;

constexpr std::size_t kLogBatch = 1024;
// During a burst the view takes entries for at most this long per message, a few at a time,
// and then lets the rest of the queue have its turn, so the dialog stays responsive however
// fast the log grows (when it falls too far behind, the log's skip notice says so). The rest
// follows on a timer: a timer message comes only when the queue holds nothing else, so input
// and painting go first, where a message posted again at once would starve them.
constexpr std::size_t kLogChunk = 16;
constexpr auto kWakeBudget = std::chrono::milliseconds(5);
constexpr UINT_PTR kLogTimer = 1;
constexpr int kMaxLogRows = 10000;
constexpr int kCatchUpRounds = 1000;  // bounds a catch-up at a million entries
// Before the list is cleared or goes, it still takes what was logged, for whoever watches it,
// but after a burst not for longer than this: a slow quit or a frozen clearing would cost the
// user more than the watcher gains. What is left is reported as skipped.
constexpr auto kLastCatchUp = std::chrono::milliseconds(100);
constexpr UINT_PTR kSubclassId = 1;

std::vector<FormView*> g_views;

// Fonts that differ from the form's "MS Sans Serif" at -11.
struct FontRule {
  const char* dialog;
  const char* control;
  const char* face;
  int height;
  bool bold;
};
constexpr FontRule kFonts[] = {
    {"ConfigDlg", "LoggingChkBox", "MS Sans Serif", -7, false},
    {"ConfigDlg", "Label2", "Arial", -19, false},
    {"ConfigDlg", "NameVersion", "Arial", -13, false},
    {"ConfigDlg", "Label4", "Arial", -11, false},
    {"ServerRestartDlg", "RestartLabel", "MS Sans Serif", -13, true},
    {"ServerRestartDlg", "RestartQuestLabel", "MS Sans Serif", -13, true},
    {"OKBottomDlg", "IP_firstnum", "MS Sans Serif", -11, true},
    {"OKBottomDlg", "IP_secondnum", "MS Sans Serif", -11, true},
    {"OKBottomDlg", "IP_thirdnum", "MS Sans Serif", -11, true},
    {"OKBottomDlg", "IP_fourthnum", "MS Sans Serif", -11, true},
    {"OKBottomDlg", "Label1", "MS Sans Serif", -11, true},
    {"OKBottomDlg", "Label2", "MS Sans Serif", -11, true},
    {"OKBottomDlg", "Label3", "MS Sans Serif", -11, true},
};

HFONT MakeFont(const char* face, int height, bool bold) {
  return CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, face);
}

bool HasCaption(Kind k) {
  return k != Kind::Edit && k != Kind::ComboBox && k != Kind::ListBox;
}
bool TakesFocus(Kind k) {
  return k == Kind::Button || k == Kind::CheckBox || k == Kind::RadioButton || k == Kind::Edit ||
         k == Kind::ComboBox || k == Kind::ListBox || k == Kind::PageControl;
}
bool IsOctetField(const ui::Control& c) {
  return c.GetKind() == Kind::Edit && static_cast<bool>(c.OnKeyUp);
}

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

// Tab pages and panels: plain containers whose children's notifications go to the form.
LRESULT CALLBACK ContainerProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_DRAWITEM:
      return SendMessageA(GetAncestor(hwnd, GA_ROOT), msg, wparam, lparam);
    case WM_ERASEBKGND: {
      RECT rc;
      GetClientRect(hwnd, &rc);
      bool black = GetWindowLongPtrA(hwnd, GWLP_USERDATA) != 0;
      FillRect(reinterpret_cast<HDC>(wparam), &rc,
               black ? static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))
                     : GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    default:
      return DefWindowProcA(hwnd, msg, wparam, lparam);
  }
}

}  // namespace

bool RegisterFormClasses() {
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  return RegisterWindowClass(viewproto::kConfigClass, nullptr, face) &&
         RegisterWindowClass(viewproto::kRestartClass, nullptr, face) &&
         RegisterWindowClass(viewproto::kIpAddressClass, nullptr, face) &&
         RegisterWindowClass(viewproto::kContainerClass, &ContainerProc, nullptr);
}

FormView::FormView(ui::Dialog& model, const FormStyle& style, HWND owner)
    : model_(model), style_(style), thread_(GetCurrentThreadId()) {
  skippedMessage_ = RegisterWindowMessageA(viewproto::kLogSkippedMessage);
  catchUpMessage_ = RegisterWindowMessageA(viewproto::kCatchUpMessage);
  pressMessage_ = RegisterWindowMessageA(viewproto::kPressMessage);
  Build(owner);
  g_views.push_back(this);
}

FormView::~FormView() {
  g_views.erase(std::remove(g_views.begin(), g_views.end(), this), g_views.end());
  // What was logged until now still reaches the list, and so whoever watches it.
  Guarded("Protokoll", [&] {
    if (reader_ == nullptr) return;
    CatchUpLog(std::chrono::steady_clock::now() + kLastCatchUp);
    ReportSkipped(reader_->SkipAll());
  });
  reader_.reset();  // no wake-up posts to this window any more
  for (auto& item : items_) {
    if (item->observer != 0) item->model->Unsubscribe(item->observer);
  }
  if (Handle() != nullptr) DestroyWindow(Handle());
  for (HFONT f : fonts_) DeleteObject(f);
  if (icon_ != nullptr) DestroyIcon(icon_);
  if (picture_ != nullptr) DeleteObject(picture_);
}

void FormView::Build(HWND owner) {
  const ui::Bounds& b = model_.GetBounds();
  RECT rc{0, 0, b.width, b.height};
  AdjustWindowRectEx(&rc, style_.style, FALSE, style_.exStyle);
  int width = rc.right - rc.left;
  int height = rc.bottom - rc.top;
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
  baseFont_ = MakeFont("MS Sans Serif", -11, false);
  fonts_.push_back(baseFont_);
  icon_ = CreateFormIcon();
  if (icon_ != nullptr) {
    SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  }

  const std::vector<ui::Control*>& controls = model_.Controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    auto item = std::make_unique<Item>();
    item->model = controls[i];
    item->index = static_cast<int>(i);
    items_.push_back(std::move(item));
  }
  for (auto& item : items_) {
    item->hwnd = CreateControl(*item);
    if (item->hwnd == nullptr) throw std::runtime_error("CreateWindowEx " + item->model->Name());
    Item* raw = item.get();
    if (auto* log = dynamic_cast<ui::LogList*>(raw->model)) {
      log_ = log;
      out_ = raw;
    }
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
  if (!pages_.empty()) SelectPage(0);
  if (log_ != nullptr) {
    applying_++;
    for (const std::string& line : log_->Items()) {
      SendMessageA(out_->hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    applying_--;
    reader_ = std::make_unique<ui::LogReader>(*log_, [this] {
      if (!logPending_.exchange(true)) PostMessageA(Handle(), kLogWake, 0, 0);
    });
  }
}

HWND FormView::ParentWindow(const ui::Control& c) const {
  if (c.Parent().empty()) return Handle();
  Item* parent = ItemNamed(c.Parent());
  return parent != nullptr ? parent->hwnd : Handle();
}

HFONT FormView::FontFor(const ui::Control& c) {
  for (const FontRule& rule : kFonts) {
    if (model_.Name() == rule.dialog && c.Name() == rule.control) {
      HFONT f = MakeFont(rule.face, rule.height, rule.bold);
      fonts_.push_back(f);
      return f;
    }
  }
  return baseFont_;
}

HWND FormView::CreateControl(Item& item) {
  const ui::Control& c = *item.model;
  const ui::Bounds& b = c.GetBounds();
  HWND parent = ParentWindow(c);
  const char* cls = "STATIC";
  DWORD style = WS_CHILD | WS_VISIBLE;
  DWORD ex = 0;
  int x = b.left, y = b.top, w = b.width, h = b.height;
  std::string text = HasCaption(c.GetKind()) ? c.Caption() : std::string();
  switch (c.GetKind()) {
    case Kind::Button:
      cls = "BUTTON";
      style |= WS_TABSTOP | (style_.defaultButton != nullptr && c.Name() == style_.defaultButton
                                 ? BS_DEFPUSHBUTTON
                                 : BS_PUSHBUTTON);
      break;
    case Kind::CheckBox:
      cls = "BUTTON";
      style |= WS_TABSTOP | BS_CHECKBOX;
      break;
    case Kind::RadioButton:
      cls = "BUTTON";
      style |= WS_TABSTOP | BS_RADIOBUTTON;
      break;
    case Kind::Edit:
      cls = "EDIT";
      ex = WS_EX_CLIENTEDGE;
      style |= WS_TABSTOP | ES_AUTOHSCROLL | (c.Name() == "PasswdEdit" ? ES_PASSWORD : 0);
      break;
    case Kind::ComboBox:
      cls = "COMBOBOX";
      style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
      h = b.height + 150;  // the drop-down part; the field itself is set to the table's height
      break;
    case Kind::ListBox:
      cls = "LISTBOX";
      ex = WS_EX_CLIENTEDGE;
      style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
      break;
    case Kind::Label:
      style |= (model_.Name() == "ServerRestartDlg" ? SS_CENTER : SS_LEFTNOWORDWRAP);
      break;
    case Kind::PageControl:
      cls = WC_TABCONTROLA;
      style |= WS_TABSTOP | WS_CLIPSIBLINGS;  // the pages lie above it
      break;
    case Kind::TabPage: {
      cls = viewproto::kContainerClass;
      style |= WS_CLIPSIBLINGS;  // the active page lies above the others
      HWND tabs = parent;
      TCITEMA tab{};
      tab.mask = TCIF_TEXT;
      tab.pszText = const_cast<char*>(text.c_str());
      int at = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
      SendMessageA(tabs, TCM_INSERTITEMA, at, reinterpret_cast<LPARAM>(&tab));
      RECT area;
      GetClientRect(tabs, &area);
      SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
      // The page lies over the tab control's display area as a child of the form, above the
      // tab control.
      MapWindowPoints(tabs, Handle(), reinterpret_cast<POINT*>(&area), 2);
      parent = Handle();
      x = area.left;
      y = area.top;
      w = area.right - area.left;
      h = area.bottom - area.top;
      pages_.push_back(&item);
      break;
    }
    case Kind::Bevel:
      style |= SS_ETCHEDFRAME;
      break;
    case Kind::Panel:
      cls = viewproto::kContainerClass;
      ex = WS_EX_STATICEDGE;
      break;
    case Kind::Image:
      style |= SS_OWNERDRAW;
      if (picture_ == nullptr) picture_ = CreateInfoPicture();
      break;
  }
  if (!c.Visible() && c.GetKind() != Kind::TabPage) style &= ~WS_VISIBLE;
  if (!c.Enabled()) style |= WS_DISABLED;
  HWND hwnd = CreateWindowExA(
      ex, cls, text.c_str(), style, x, y, w, h, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(viewproto::kFirstControlId + item.index)),
      Module(), nullptr);
  if (hwnd == nullptr) return nullptr;
  SetPropA(hwnd, viewproto::kNameProp, const_cast<char*>(c.Name().c_str()));
  SetPropA(hwnd, viewproto::kKindProp,
           reinterpret_cast<HANDLE>(static_cast<INT_PTR>(static_cast<int>(c.GetKind()) + 1)));
  SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(c)), FALSE);
  switch (c.GetKind()) {
    case Kind::Edit:
      if (c.Name() == "PasswdEdit") SendMessageA(hwnd, EM_SETPASSWORDCHAR, '*', 0);
      if (IsOctetField(c)) {
        SendMessageA(hwnd, EM_LIMITTEXT, 3, 0);
        SetPropA(hwnd, viewproto::kKeysProp, reinterpret_cast<HANDLE>(1));
      }
      break;
    case Kind::ComboBox:
      SendMessageA(hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), b.height - 6);
      break;
    case Kind::Panel:
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, 1);  // black
      break;
    default:
      break;
  }
  SetWindowSubclass(hwnd, &FormView::ControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(&item));
  return hwnd;
}

FormView::Item* FormView::ItemOf(HWND hwnd) const {
  if (hwnd == nullptr) return nullptr;
  int index = GetDlgCtrlID(hwnd) - viewproto::kFirstControlId;
  if (index < 0 || index >= static_cast<int>(items_.size())) return nullptr;
  Item* item = items_[static_cast<std::size_t>(index)].get();
  return item->hwnd == hwnd ? item : nullptr;
}

FormView::Item* FormView::ItemNamed(const std::string& name) const {
  for (const auto& item : items_) {
    if (item->model->Name() == name) return item.get();
  }
  return nullptr;
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
  HWND hwnd = item.hwnd;
  if (hwnd == nullptr) return;
  applying_++;
  Kind k = c.GetKind();
  if (HasCaption(k)) {
    std::string caption = c.Caption();
    if (WindowText(hwnd) != caption) {
      SetWindowTextA(hwnd, caption.c_str());
      if (k == Kind::TabPage) {
        auto at = std::find(pages_.begin(), pages_.end(), &item);
        TCITEMA tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = const_cast<char*>(caption.c_str());
        SendMessageA(ParentWindow(c), TCM_SETITEMA, static_cast<WPARAM>(at - pages_.begin()),
                     reinterpret_cast<LPARAM>(&tab));
      }
    }
  }
  if (k == Kind::Edit) {
    std::string t = static_cast<ui::Edit&>(c).Text();
    if (WindowText(hwnd) != t) SetWindowTextA(hwnd, t.c_str());
  }
  if (k == Kind::CheckBox || k == Kind::RadioButton) {
    WPARAM want = static_cast<ui::CheckBox&>(c).Checked() ? BST_CHECKED : BST_UNCHECKED;
    if (static_cast<WPARAM>(SendMessageA(hwnd, BM_GETCHECK, 0, 0)) != want) {
      SendMessageA(hwnd, BM_SETCHECK, want, 0);
    }
  }
  if (k == Kind::ComboBox || k == Kind::ListBox) ApplyItems(item);
  if ((IsWindowEnabled(hwnd) != FALSE) != c.Enabled()) EnableWindow(hwnd, c.Enabled());
  bool visible = (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
  if (k != Kind::TabPage && visible != c.Visible()) {
    ShowWindow(hwnd, c.Visible() ? SW_SHOWNA : SW_HIDE);
  }
  applying_--;
}

void FormView::ApplyItems(Item& item) {
  bool combo = item.model->GetKind() == Kind::ComboBox;
  auto& list = dynamic_cast<ui::ItemList&>(*item.model);
  if (&item == out_) {
    // The log's entries come through the reader; an emptied log empties the view.
    if (log_->Count() == 0 && SendMessageA(item.hwnd, LB_GETCOUNT, 0, 0) > 0) ClearLog();
  } else {
    std::vector<std::string> items = list.Items();
    if (ListItems(item.hwnd, combo) != items) {
      SendMessageA(item.hwnd, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
      for (const std::string& s : items) {
        SendMessageA(item.hwnd, combo ? CB_ADDSTRING : LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(s.c_str()));
      }
    }
  }
  int selected = list.Selected();
  if (static_cast<int>(SendMessageA(item.hwnd, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0)) !=
      selected) {
    SendMessageA(item.hwnd, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  }
}

void FormView::SyncShown() {
  HWND hwnd = Handle();
  if (hwnd == nullptr) return;
  bool want = model_.Shown();
  bool is = IsWindowVisible(hwnd) != FALSE;
  if (want && !is) {
    ShowWindow(hwnd, style_.activateOnShow ? SW_SHOW : SW_SHOWNA);
  } else if (want) {
    // Showing a shown form brings it to the front.
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | (style_.activateOnShow ? 0 : SWP_NOACTIVATE));
    if (style_.activateOnShow) SetForegroundWindow(hwnd);
  } else if (is) {
    ShowWindow(hwnd, SW_HIDE);
  }
}

void FormView::RunModal(HWND ownerToDisable) {
  bool disabled = ownerToDisable != nullptr && EnableWindow(ownerToDisable, FALSE) == FALSE;
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
  // The owner is enabled before the form hides, so that it gets the activation back.
  if (disabled) EnableWindow(ownerToDisable, TRUE);
  if (Handle() != nullptr) ShowWindow(Handle(), SW_HIDE);
  if (ownerToDisable != nullptr && IsWindowVisible(ownerToDisable)) {
    SetActiveWindow(ownerToDisable);
  }
}

void FormView::FollowModelFocus() {
  ui::Control* focused = ui::Focused();
  if (focused == nullptr) return;
  for (FormView* view : g_views) {
    for (const auto& item : view->items_) {
      if (item->model != focused) continue;
      if (GetFocus() != item->hwnd) {
        view->following_ = true;
        SetFocus(item->hwnd);
        view->following_ = false;
      }
      return;
    }
  }
}

void FormView::Click(Item& item) {
  ui::Control& c = *item.model;
  Guarded("Klick", [&] { ui::ClickAsUser(c); });
  FollowModelFocus();
}

void FormView::OnCommand(Item& item, int code) {
  Kind k = item.model->GetKind();
  if (code == BN_CLICKED && (k == Kind::Button || k == Kind::CheckBox || k == Kind::RadioButton)) {
    Click(item);
  } else if (code == EN_CHANGE && k == Kind::Edit && applying_ == 0) {
    std::string t = WindowText(item.hwnd);
    Guarded("Eingabe", [&] { static_cast<ui::Edit*>(item.model)->SetText(t); });
  } else if (applying_ == 0 && ((code == CBN_SELCHANGE && k == Kind::ComboBox) ||
                                (code == LBN_SELCHANGE && k == Kind::ListBox))) {
    bool combo = k == Kind::ComboBox;
    int sel = static_cast<int>(SendMessageA(item.hwnd, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
    Guarded("Auswahl", [&] { dynamic_cast<ui::ItemList&>(*item.model).SetSelected(sel); });
  }
}

void FormView::SelectPage(int page) {
  if (page < 0 || page >= static_cast<int>(pages_.size())) return;
  activePage_ = page;
  HWND tabs = ParentWindow(*pages_[static_cast<std::size_t>(page)]->model);
  if (static_cast<int>(SendMessageA(tabs, TCM_GETCURSEL, 0, 0)) != page) {
    SendMessageA(tabs, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
  }
  HWND hwnd = pages_[static_cast<std::size_t>(page)]->hwnd;
  SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void FormView::AddFocusable(const std::string& parent, std::vector<Item*>& chain) const {
  std::vector<Item*> children;
  for (const auto& item : items_) {
    if (item->model->Parent() == parent && item->model->TabOrder() >= 0) {
      children.push_back(item.get());
    }
  }
  std::stable_sort(children.begin(), children.end(), [](const Item* a, const Item* b) {
    return a->model->TabOrder() < b->model->TabOrder();
  });
  for (Item* child : children) {
    const ui::Control& c = *child->model;
    if (!c.Visible() || !c.Enabled()) continue;
    if (c.GetKind() == Kind::Panel) {
      AddFocusable(c.Name(), chain);
    } else if (TakesFocus(c.GetKind())) {
      chain.push_back(child);
      if (c.GetKind() == Kind::PageControl && !pages_.empty()) {
        AddFocusable(pages_[static_cast<std::size_t>(activePage_)]->model->Name(), chain);
      }
    }
  }
}

std::vector<FormView::Item*> FormView::FocusChain() const {
  std::vector<Item*> chain;
  AddFocusable("", chain);
  return chain;
}

bool FormView::Mnemonic(char key) {
  key = LowerAscii(key);
  for (std::size_t p = 0; p < pages_.size(); ++p) {
    if (MnemonicOf(pages_[p]->model->Caption()) == key) {
      SelectPage(static_cast<int>(p));
      return true;
    }
  }
  for (Item* item : FocusChain()) {
    Kind k = item->model->GetKind();
    if (k != Kind::Button && k != Kind::CheckBox && k != Kind::RadioButton) continue;
    if (MnemonicOf(item->model->Caption()) != key) continue;
    if (k != Kind::Button) SetFocus(item->hwnd);
    Click(*item);
    return true;
  }
  return false;
}

bool FormView::PreTranslate(const MSG& msg) {
  if (msg.message == WM_SYSCHAR) return Mnemonic(static_cast<char>(msg.wParam));
  if (msg.message != WM_KEYDOWN) return false;
  HWND focus = GetFocus();
  Item* focused = ItemOf(focus);
  if (focused != nullptr && focused->model->GetKind() == Kind::ComboBox &&
      SendMessageA(focus, CB_GETDROPPEDSTATE, 0, 0) != 0) {
    return false;  // the open list takes Enter and Esc itself
  }
  switch (msg.wParam) {
    case VK_TAB: {
      if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
      std::vector<Item*> chain = FocusChain();
      if (chain.empty()) return true;
      bool back = GetKeyState(VK_SHIFT) < 0;
      auto at = std::find(chain.begin(), chain.end(), focused);
      std::size_t n = chain.size();
      std::size_t next;
      if (at == chain.end()) {
        next = back ? n - 1 : 0;
      } else {
        std::size_t i = static_cast<std::size_t>(at - chain.begin());
        next = back ? (i + n - 1) % n : (i + 1) % n;
      }
      SetFocus(chain[next]->hwnd);
      return true;
    }
    case VK_RETURN: {
      Item* target = nullptr;
      if (focused != nullptr && focused->model->GetKind() == Kind::Button) {
        target = focused;
      } else if (style_.defaultButton != nullptr) {
        target = ItemNamed(style_.defaultButton);
      }
      if (target == nullptr || !target->model->Usable()) return false;
      Click(*target);
      return true;
    }
    case VK_ESCAPE: {
      Item* target = style_.cancelButton != nullptr ? ItemNamed(style_.cancelButton) : nullptr;
      if (target == nullptr || !style_.escapeCancels) return false;
      Click(*target);
      return true;
    }
    default:
      return false;
  }
}

std::size_t FormView::TakeLog(std::size_t max, std::chrono::steady_clock::time_point until,
                              bool& more) {
  more = false;
  if (reader_ == nullptr || out_ == nullptr) return 0;
  HWND list = out_->hwnd;
  std::size_t taken = 0;
  bool framed = false;
  while (taken < max) {
    const std::size_t want = std::min(kLogChunk, max - taken);
    ui::LogBatch batch = reader_->Next(want);
    ReportSkipped(batch.skipped);
    if (batch.entries.empty()) break;
    if (!framed) {
      framed = true;
      applying_++;
      SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    }
    for (const std::string& line : batch.entries) {
      SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    taken += batch.entries.size();
    more = batch.entries.size() == want;
    if (!more || std::chrono::steady_clock::now() >= until) break;
  }
  if (!framed) return 0;
  int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (; count > kMaxLogRows; --count) SendMessageA(list, LB_DELETESTRING, 0, 0);
  int selected = log_->Selected();
  if (static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)) != selected) {
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  }
  RECT rc;
  GetClientRect(list, &rc);
  int rowHeight = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  int rows = rowHeight > 0 ? (rc.bottom - rc.top) / rowHeight : 1;
  SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(std::max(0, count - rows)), 0);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  applying_--;
  return taken;
}

void FormView::CatchUpLog(std::chrono::steady_clock::time_point until) {
  bool more = true;
  for (int i = 0; i < kCatchUpRounds && more && std::chrono::steady_clock::now() < until; ++i) {
    TakeLog(kLogBatch, until, more);
  }
}

void FormView::ReportSkipped(std::uint64_t count) {
  if (count > 0 && out_ != nullptr) {
    SendMessageA(out_->hwnd, skippedMessage_, static_cast<WPARAM>(count), 0);
  }
}

void FormView::ClearLog() {
  // What was logged before the clearing still passes through the list once, so that every
  // entry reaches whoever watches the list box; then the list is emptied.
  if (reader_ != nullptr) {
    CatchUpLog(std::chrono::steady_clock::now() + kLastCatchUp);
    ReportSkipped(reader_->SkipCleared());
  }
  applying_++;
  SendMessageA(out_->hwnd, LB_RESETCONTENT, 0, 0);
  applying_--;
}

LRESULT FormView::HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
  HWND hwnd = Handle();
  if (msg == catchUpMessage_ && catchUpMessage_ != 0) {
    CatchUpLog(std::chrono::steady_clock::time_point::max());
    return 1;
  }
  switch (msg) {
    case kSync: {
      int index = static_cast<int>(wparam);
      if (index < 0) {
        SyncShown();
      } else if (index < static_cast<int>(items_.size())) {
        Item& item = *items_[static_cast<std::size_t>(index)];
        item.pending = false;
        Apply(item);
      }
      return 0;
    }
    case WM_TIMER:
      if (wparam != kLogTimer) return DefWindowProcA(hwnd, msg, wparam, lparam);
      KillTimer(hwnd, kLogTimer);
      [[fallthrough]];
    case kLogWake: {
      logPending_ = false;
      bool more = false;
      TakeLog(kLogBatch, std::chrono::steady_clock::now() + kWakeBudget, more);
      if (more && !logPending_.exchange(true))
        SetTimer(hwnd, kLogTimer, USER_TIMER_MINIMUM, nullptr);
      return 0;
    }
    case WM_COMMAND: {
      Item* item = ItemOf(reinterpret_cast<HWND>(lparam));
      if (item != nullptr) OnCommand(*item, HIWORD(wparam));
      return 0;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lparam);
      if (header->code == static_cast<UINT>(TCN_SELCHANGE)) {
        SelectPage(static_cast<int>(SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
      }
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      Item* item = ItemOf(reinterpret_cast<HWND>(lparam));
      if (item != nullptr && item->model->Parent() == "Panel1") {
        HDC dc = reinterpret_cast<HDC>(wparam);
        SetTextColor(dc, RGB(0, 255, 0));
        SetBkColor(dc, RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
      }
      return DefWindowProcA(hwnd, msg, wparam, lparam);
    }
    case WM_DRAWITEM: {
      auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lparam);
      FillRect(draw->hDC, &draw->rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      if (picture_ != nullptr) {
        HDC mem = CreateCompatibleDC(draw->hDC);
        HGDIOBJ old = SelectObject(mem, picture_);
        BitBlt(draw->hDC, draw->rcItem.left, draw->rcItem.top, kInfoPictureWidth,
               kInfoPictureHeight, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
      }
      return TRUE;
    }
    case WM_ACTIVATE:
      if (LOWORD(wparam) != WA_INACTIVE && lastFocus_ != nullptr && IsWindow(lastFocus_) &&
          GetAncestor(lastFocus_, GA_ROOT) == hwnd) {
        following_ = true;
        SetFocus(lastFocus_);
        following_ = false;
        return 0;
      }
      return DefWindowProcA(hwnd, msg, wparam, lparam);
    case WM_CLOSE:
      if (style_.cancelButton != nullptr) {
        if (Item* cancel = ItemNamed(style_.cancelButton)) Click(*cancel);
      } else {
        Guarded("Schliessen", [&] { model_.Hide(); });
      }
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wparam, lparam);
  }
}

LRESULT CALLBACK FormView::ControlProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                       DWORD_PTR data) {
  auto* item = reinterpret_cast<Item*>(data);
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, &FormView::ControlProc, kSubclassId);
    return DefSubclassProc(hwnd, msg, wparam, lparam);
  }
  HWND root = GetAncestor(hwnd, GA_ROOT);
  auto* view = dynamic_cast<FormView*>(Window::From(root));
  if (view == nullptr || item == nullptr) return DefSubclassProc(hwnd, msg, wparam, lparam);
  try {
    return view->OnControlMessage(*item, msg, wparam, lparam);
  } catch (...) {
    LogFailure("Steuerelement");
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
    case WM_SETFOCUS: {
      LRESULT r = DefSubclassProc(hwnd, msg, wparam, lparam);
      lastFocus_ = hwnd;
      if (!following_ && ui::Focused() != &c) {
        Guarded("Fokus", [&] { ui::MoveFocus(&c); });
        FollowModelFocus();
      }
      return r;
    }
    case WM_KEYUP: {
      LRESULT r = DefSubclassProc(hwnd, msg, wparam, lparam);
      if (c.OnKeyUp) {
        Guarded("Taste", [&] { c.OnKeyUp(); });
        FollowModelFocus();
      }
      return r;
    }
    case WM_CHAR:
      if (IsOctetField(c) && wparam != VK_BACK) {
        // A field of three digits: a digit fills the next free place, other keys do nothing.
        std::string current = text::Trim(WindowText(hwnd));
        char ch = static_cast<char>(wparam);
        if (ch >= '0' && ch <= '9' && current.size() < 3) {
          current += ch;
          SetWindowTextA(hwnd, current.c_str());
          SendMessageA(hwnd, EM_SETSEL, current.size(), current.size());
        }
        return 0;
      }
      break;
    case BM_SETCHECK:
      if (applying_ == 0 && (c.GetKind() == Kind::CheckBox || c.GetKind() == Kind::RadioButton)) {
        LRESULT r = DefSubclassProc(hwnd, msg, wparam, lparam);
        Guarded("Auswahl",
                [&] { static_cast<ui::CheckBox&>(c).SetChecked(wparam == BST_CHECKED); });
        return r;
      }
      break;
    case LB_SETCURSEL:
    case CB_SETCURSEL:
      if (applying_ == 0 && (c.GetKind() == Kind::ListBox || c.GetKind() == Kind::ComboBox)) {
        LRESULT r = DefSubclassProc(hwnd, msg, wparam, lparam);
        int sel = static_cast<int>(wparam);
        Guarded("Auswahl", [&] { dynamic_cast<ui::ItemList&>(c).SetSelected(sel); });
        return r;
      }
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wparam, lparam);
}

}  // namespace win32ui
