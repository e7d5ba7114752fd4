#pragma once
// Native windows for control models: one table from a control's kind to its window class,
// styles and flags, and the traits of its layout row (password, centring, octet field, black
// container) applied on top. Nothing here looks at a control's name.
#include <windows.h>

#include "ui/models/control.h"

namespace win32ui {

struct ControlClass {
  const char* windowClass;
  DWORD style;  // besides WS_CHILD | WS_VISIBLE
  DWORD exStyle;
  bool caption;  // the window text is the model's caption
  int dropDown;  // extra height for an open drop-down list
};

const ControlClass& ClassOf(ui::Kind kind);

struct Placement {
  HWND parent;
  RECT bounds;  // in the parent's client coordinates
  int id;
  bool defaultButton;
};

// The window of one control, its font set; nullptr when it cannot be created.
HWND CreateControlWindow(const ui::Control& c, const Placement& at, HFONT font);

// Tab pages and panels: plain containers whose children's notifications go to the form.
LRESULT CALLBACK ContainerProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);

}  // namespace win32ui
