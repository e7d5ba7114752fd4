#pragma once
// The keyboard of a form, as the dialog manager of the system gives it to dialogs: Tab and
// Shift+Tab along the model's tab chain, Ctrl+Tab and Ctrl+Shift+Tab through the pages, Enter
// for the focused or the default button, Esc for the cancel button, the arrow keys within a
// radio group, Alt+letter for a page or a button. The player's message loop calls no
// IsDialogMessage for the plug-in's modeless windows, so a message hook hands keys in here.
#include <windows.h>

namespace win32ui {

class FormView;

class Navigator {
 public:
  explicit Navigator(FormView& form) : form_(form) {}
  // A message about to be dispatched to one of the form's windows; true when it was taken.
  bool PreTranslate(const MSG& msg);

 private:
  bool Tab(bool back);
  bool NextPage(bool back);
  bool Enter();
  bool Escape();
  bool Arrow(int step);
  bool Mnemonic(char key);

  FormView& form_;
};

}  // namespace win32ui
