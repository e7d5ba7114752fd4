#include "ui/win32/control_factory.h"

#include <commctrl.h>

#include "ui/win32/view_protocol.h"
#include "ui/win32/window.h"

namespace win32ui {

namespace {

using ui::Kind;

constexpr ControlClass kClasses[] = {
    // Kind::Button
    {"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0, true, 0},
    // Kind::CheckBox
    {"BUTTON", WS_TABSTOP | BS_CHECKBOX, 0, true, 0},
    // Kind::RadioButton
    {"BUTTON", WS_TABSTOP | BS_RADIOBUTTON, 0, true, 0},
    // Kind::Edit
    {"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, false, 0},
    // Kind::ComboBox: the field itself gets the table's height (CB_SETITEMHEIGHT)
    {"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, false, 150},
    // Kind::ListBox
    {"LISTBOX", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE,
     false, 0},
    // Kind::Label
    {"STATIC", SS_LEFTNOWORDWRAP, 0, true, 0},
    // Kind::PageControl: the pages lie above it
    {WC_TABCONTROLA, WS_TABSTOP | WS_CLIPSIBLINGS, 0, false, 0},
    // Kind::TabPage: the active page lies above the others
    {viewproto::kContainerClass, WS_CLIPSIBLINGS, 0, true, 0},
    // Kind::Bevel
    {"STATIC", SS_ETCHEDFRAME, 0, false, 0},
    // Kind::Panel
    {viewproto::kContainerClass, 0, WS_EX_STATICEDGE, false, 0},
    // Kind::Image
    {"STATIC", SS_OWNERDRAW, 0, false, 0},
};
static_assert(sizeof kClasses / sizeof kClasses[0] == static_cast<int>(Kind::Image) + 1);

DWORD StyleOf(const ui::Control& c, const Placement& at) {
  const ControlClass& cls = ClassOf(c.GetKind());
  DWORD style = WS_CHILD | WS_VISIBLE | cls.style;
  if (at.defaultButton) style = (style & ~BS_PUSHBUTTON) | BS_DEFPUSHBUTTON;
  if (c.Has(ui::kPassword)) style |= ES_PASSWORD;
  if (c.Has(ui::kCentred)) style = (style & ~SS_LEFTNOWORDWRAP) | SS_CENTER;
  if (!c.Visible() && c.GetKind() != Kind::TabPage) style &= ~WS_VISIBLE;
  if (!c.Enabled()) style |= WS_DISABLED;
  return style;
}

void ApplyTraits(const ui::Control& c, HWND hwnd) {
  if (c.Has(ui::kPassword)) SendMessageA(hwnd, EM_SETPASSWORDCHAR, '*', 0);
  if (c.Has(ui::kOctet)) {
    SendMessageA(hwnd, EM_LIMITTEXT, 3, 0);
    SetPropA(hwnd, viewproto::kKeysProp, reinterpret_cast<HANDLE>(1));
  }
  if (c.Has(ui::kBlack)) SetWindowLongPtrA(hwnd, GWLP_USERDATA, 1);
  if (c.GetKind() == Kind::ComboBox) {
    SendMessageA(hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), c.GetBounds().height - 6);
  }
}

}  // namespace

const ControlClass& ClassOf(Kind kind) {
  return kClasses[static_cast<int>(kind)];
}

HWND CreateControlWindow(const ui::Control& c, const Placement& at, HFONT font) {
  const ControlClass& cls = ClassOf(c.GetKind());
  const std::string text = cls.caption ? c.Caption() : std::string();
  const RECT& b = at.bounds;
  HWND hwnd =
      CreateWindowExA(cls.exStyle, cls.windowClass, text.c_str(), StyleOf(c, at), b.left, b.top,
                      b.right - b.left, b.bottom - b.top + cls.dropDown, at.parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(at.id)), Module(), nullptr);
  if (hwnd == nullptr) return nullptr;
  SetPropA(hwnd, viewproto::kNameProp, const_cast<char*>(c.Name().c_str()));
  SetPropA(hwnd, viewproto::kKindProp,
           reinterpret_cast<HANDLE>(static_cast<INT_PTR>(static_cast<int>(c.GetKind()) + 1)));
  SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  ApplyTraits(c, hwnd);
  return hwnd;
}

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

}  // namespace win32ui
