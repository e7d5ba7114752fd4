#include "ui/win32/tab_pages.h"

#include <commctrl.h>

namespace win32ui {

RECT TabPages::Add(HWND tabs, HWND form, const ui::Control& page) {
  tabs_ = tabs;
  std::string text = page.Caption();
  TCITEMA tab{};
  tab.mask = TCIF_TEXT;
  tab.pszText = text.data();
  SendMessageA(tabs, TCM_INSERTITEMA, pages_.size(), reinterpret_cast<LPARAM>(&tab));
  pages_.push_back({&page, nullptr});
  RECT area;
  GetClientRect(tabs, &area);
  SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  MapWindowPoints(tabs, form, reinterpret_cast<POINT*>(&area), 2);
  return area;
}

void TabPages::SetWindow(const ui::Control& page, HWND window) {
  int at = IndexOf(page);
  if (at >= 0) pages_[static_cast<std::size_t>(at)].window = window;
}

const ui::Control* TabPages::ActiveModel() const {
  return Model(active_);
}

const ui::Control* TabPages::Model(int page) const {
  if (page < 0 || page >= Count()) return nullptr;
  return pages_[static_cast<std::size_t>(page)].model;
}

int TabPages::IndexOf(const ui::Control& page) const {
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    if (pages_[i].model == &page) return static_cast<int>(i);
  }
  return -1;
}

int TabPages::Holding(HWND hwnd) const {
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    HWND w = pages_[i].window;
    if (w != nullptr && (w == hwnd || IsChild(w, hwnd))) return static_cast<int>(i);
  }
  return -1;
}

void TabPages::Select(int page) {
  if (page < 0 || page >= Count()) return;
  active_ = page;
  if (static_cast<int>(SendMessageA(tabs_, TCM_GETCURSEL, 0, 0)) != page) {
    SendMessageA(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
  }
  HWND window = pages_[static_cast<std::size_t>(page)].window;
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TabPages::SetCaption(const ui::Control& page, const std::string& caption) {
  int at = IndexOf(page);
  if (at < 0) return;
  std::string text = caption;
  TCITEMA tab{};
  tab.mask = TCIF_TEXT;
  tab.pszText = text.data();
  SendMessageA(tabs_, TCM_SETITEMA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&tab));
}

}  // namespace win32ui
