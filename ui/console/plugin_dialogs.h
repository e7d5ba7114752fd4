#pragma once
// The plug-in's dialogs as the console face sees them: asked of the forms of the running
// plug-in, which know which dialogs exist.

#include <vector>

#include "ui/models/dialog.h"

namespace console {

class PluginDialogs {
 public:
  // The forms to ask, or nullptr while there is no plug-in.
  void Attach(const ui::Forms* forms) { forms_ = forms; }

  // ConfigDlg, ServerRestartDlg, and OKBottomDlg while it is open: the order of the dump.
  std::vector<ui::Dialog*> InDumpOrder() const;
  // Where a bare control name is looked up: the open IP address dialog, then the shown restart
  // dialog, then the configuration dialog.
  std::vector<ui::Dialog*> InLookupOrder() const;

 private:
  ui::Dialog* Named(const char* name) const;

  const ui::Forms* forms_ = nullptr;
};

}  // namespace console
