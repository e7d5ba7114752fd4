#pragma once
// playersim.exe's dialog commands act on the plug-in's real windows, found through what the
// windows promise (ui/win32/view_protocol.h), and by window messages as a user's input would
// arrive: a click is the button's click notification, focus is the real keyboard focus, a key
// is its down, character and up messages to the focused window. No model behind the windows is
// touched. Everything runs on the thread that owns the windows.
#include <windows.h>

#include <string>

#include "ui/console/dialog_surface.h"

namespace sim {

class WindowSurface : public console::DialogSurface {
 public:
  WindowSurface();

  std::vector<Handle> DumpOrder() const override;
  std::vector<Handle> LookupOrder() const override;
  std::string DialogName(Handle dialog) const override;
  bool Shown(Handle dialog) const override;
  std::vector<Handle> Controls(Handle dialog) const override;
  Handle Focused() const override;

  std::string Name(Handle control) const override;
  ui::Kind KindOf(Handle control) const override;
  std::string Caption(Handle control) const override;
  std::string Text(Handle edit) const override;
  bool Checked(Handle box) const override;
  std::vector<std::string> Items(Handle list) const override;
  int Selected(Handle list) const override;
  bool Enabled(Handle control) const override;
  bool Visible(Handle control) const override;
  bool Usable(Handle control) const override;
  bool TakesKeys(Handle control) const override;

  void Click(Handle control) override;
  void Press(Handle control) override;
  void Focus(Handle control) override;
  void SetText(Handle edit, const std::string& value) override;
  void SetChecked(Handle box, bool on) override;
  void Select(Handle list, int index) override;
  bool Type(char ch) override;

 private:
  UINT pressMessage_;
};

// The plug-in's form of the given window class on this thread, or nullptr.
HWND FindForm(const char* className);
// The control window of that name in a form, or nullptr.
HWND FindControl(HWND form, const std::string& name);

}  // namespace sim
