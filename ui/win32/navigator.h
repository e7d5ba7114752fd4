#pragma once
// The keyboard of a form, as the dialog manager of the system gives it to dialogs: Tab and
// Shift+Tab along the model's tab chain, Ctrl+Tab and Ctrl+Shift+Tab through the pages, Enter
// for the focused or the default button, Esc for the cancel button, the arrow keys within a
// radio group, Alt+letter for a page or a button. The player's message loop calls no
// IsDialogMessage for the plug-in's modeless windows, so a message hook hands keys in here.
#include <windows.h>

#include <vector>

#include "ui/models/control.h"
#include "ui/win32/tab_pages.h"

namespace win32ui {

// What the keyboard needs of a form: its controls and their windows, the focus chain, the
// default and cancel buttons, the pages; the radio groups come from the models.
class Navigable {
 public:
  // The control whose window `hwnd` is, or nullptr; the window of a control, or nullptr.
  virtual ui::Control* ControlOf(HWND hwnd) const = 0;
  virtual HWND WindowOf(const ui::Control* control) const = 0;
  // Every control of the form in its layout order; those that Tab visits now, in order.
  virtual const std::vector<ui::Control*>& Controls() const = 0;
  virtual std::vector<ui::Control*> TabChain() const = 0;
  // The button that Enter presses when the focus is on no button, and the one that Esc
  // presses; nullptr when there is none.
  virtual ui::Control* DefaultButton() const = 0;
  virtual ui::Control* EscapeButton() const = 0;
  virtual const TabPages& Pages() const = 0;
  // Makes a page active; with moveFocus the focus goes to its first control.
  virtual void SelectPage(int page, bool moveFocus) = 0;
  // Gives the control the real focus; presses it after the current message (a key handled in
  // a message hook must not run a handler's modal loop inside the hook).
  virtual void Focus(ui::Control& control) = 0;
  virtual void PostClick(ui::Control& control) = 0;

 protected:
  ~Navigable() = default;
};

class Navigator {
 public:
  explicit Navigator(Navigable& form) : form_(form) {}
  // A message about to be dispatched to one of the form's windows; true when it was taken.
  bool PreTranslate(const MSG& msg);

 private:
  bool Tab(bool back);
  bool NextPage(bool back);
  bool Enter();
  bool Escape();
  bool Arrow(int step);
  bool Mnemonic(char key);

  Navigable& form_;
};

}  // namespace win32ui
