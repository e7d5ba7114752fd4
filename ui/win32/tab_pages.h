#pragma once
// The pages of a tab control: one container window per page, all children of the form, lying
// over the tab control's display area; the active one on top.
#include <windows.h>

#include <string>
#include <vector>

#include "ui/models/control.h"

namespace win32ui {

class TabPages {
 public:
  // Adds the tab of a page to the tab control `tabs` and returns where the page's window lies,
  // in the form's client coordinates.
  RECT Add(HWND tabs, HWND form, const ui::Control& page);
  // The page's window, once it is created (in the order of Add).
  void SetWindow(const ui::Control& page, HWND window);

  int Count() const { return static_cast<int>(pages_.size()); }
  int Active() const { return active_; }
  const ui::Control* ActiveModel() const;
  const ui::Control* Model(int page) const;
  int IndexOf(const ui::Control& page) const;
  HWND Tabs() const { return tabs_; }
  // The page whose window holds `hwnd`, or -1.
  int Holding(HWND hwnd) const;

  // Makes `page` the active page: its tab selected, its window on top.
  void Select(int page);
  void SetCaption(const ui::Control& page, const std::string& caption);

 private:
  struct Page {
    const ui::Control* model;
    HWND window;
  };
  HWND tabs_ = nullptr;
  std::vector<Page> pages_;
  int active_ = 0;
};

}  // namespace win32ui
