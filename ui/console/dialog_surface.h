#pragma once
// What the dialog commands act on: the dialog models themselves (the native playersim) or the
// real windows that show them (playersim.exe). Dialogs and controls are named by handles that
// the surface gives out; they stay valid for the command that asked for them.

#include <string>
#include <vector>

#include "ui/models/control.h"

namespace console {

class DialogSurface {
 public:
  using Handle = const void*;

  virtual ~DialogSurface() = default;

  // The dialogs that are there, in the order of the dump.
  virtual std::vector<Handle> DumpOrder() const = 0;
  // Where a bare control name is looked up, first match wins.
  virtual std::vector<Handle> LookupOrder() const = 0;
  virtual std::string DialogName(Handle dialog) const = 0;
  virtual bool Shown(Handle dialog) const = 0;
  // The dialog's controls in its layout order.
  virtual std::vector<Handle> Controls(Handle dialog) const = 0;
  // The control that has the keyboard focus, or nullptr.
  virtual Handle Focused() const = 0;

  virtual std::string Name(Handle control) const = 0;
  virtual ui::Kind KindOf(Handle control) const = 0;
  virtual std::string Caption(Handle control) const = 0;
  virtual std::string Text(Handle edit) const = 0;
  virtual bool Checked(Handle box) const = 0;
  virtual std::vector<std::string> Items(Handle list) const = 0;
  virtual int Selected(Handle list) const = 0;
  virtual bool Enabled(Handle control) const = 0;
  virtual bool Visible(Handle control) const = 0;
  // Enabled and visible, and so are its parents: what a user can click.
  virtual bool Usable(Handle control) const = 0;
  // An edit that runs a handler when a key is released in it (the octet fields).
  virtual bool TakesKeys(Handle control) const = 0;

  // The commands' actions, after their checks.
  // A user's click: a check box toggles, a radio button is checked, then the click handler.
  virtual void Click(Handle control) = 0;
  // Only the click handler, whatever the control's state.
  virtual void Press(Handle control) = 0;
  virtual void Focus(Handle control) = 0;
  virtual void SetText(Handle edit, const std::string& value) = 0;
  virtual void SetChecked(Handle box, bool on) = 0;
  virtual void Select(Handle list, int index) = 0;
  // Types one character into the control that has the focus; false when none has it.
  virtual bool Type(char ch) = 0;
};

}  // namespace console
