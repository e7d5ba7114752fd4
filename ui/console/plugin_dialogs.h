#pragma once
// The plug-in's dialogs as the console face sees them: the face hooks hand each dialog over
// when it has been built and take it back when it goes.

#include <string>
#include <vector>

#include "ui/models/dialog.h"

namespace console {

class PluginDialogs {
 public:
  void Add(ui::Dialog& dialog);
  void Remove(const ui::Dialog& dialog);

  // ConfigDlg, ServerRestartDlg, and OKBottomDlg while it is open: the order of the dump.
  std::vector<ui::Dialog*> InDumpOrder() const;
  // Where a bare control name is looked up: the open IP address dialog, then the shown restart
  // dialog, then the configuration dialog.
  std::vector<ui::Dialog*> InLookupOrder() const;

 private:
  ui::Dialog* Named(const std::string& name) const;

  std::vector<ui::Dialog*> dialogs_;
};

}  // namespace console
