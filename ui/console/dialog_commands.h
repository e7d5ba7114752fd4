#pragma once
// The text face of the dialogs: commands that act on the control models as a user would
// (click, focus, type, select) and a dump of every dialog and control.

#include <functional>
#include <string>
#include <vector>

#include "ui/models/dialog.h"

namespace console {

class DialogCommands {
 public:
  using DialogList = std::function<std::vector<ui::Dialog*>()>;

  // dumpOrder: the dialogs in the order dump shows them (dialogs that are not there omitted);
  // lookupOrder: the dialogs a bare control name is looked up in, first match wins.
  DialogCommands(DialogList dumpOrder, DialogList lookupOrder);

  // Carries out one line (in the dialogs' 8-bit code page) when it is a dialog command; false when
  // it is none. A command that fails prints one "ERROR " line and changes nothing.
  bool Handle(const std::string& line);

 private:
  ui::Control* Resolve(const std::string& name, std::string& error) const;
  bool Click(ui::Control& c, std::string& error);
  bool Text(ui::Control& c, const std::string& value, std::string& error);
  bool Check(ui::Control& c, const std::string& value, std::string& error);
  bool Select(ui::Control& c, const std::string& value, std::string& error);
  bool Key(ui::Control& c, const std::string& typed, std::string& error);
  void Dump() const;

  DialogList dumpOrder_;
  DialogList lookupOrder_;
};

}  // namespace console
