#pragma once
// The plug-in's dialogs as the console face sees them.

#include <vector>

#include "ui/models/dialog.h"

namespace console {

// ConfigDlg, ServerRestartDlg, and OKBottomDlg while it is open: the order of the dump.
std::vector<ui::Dialog*> DialogsInDumpOrder();
// Where a bare control name is looked up: the open IP address dialog, then the shown restart
// dialog, then the configuration dialog.
std::vector<ui::Dialog*> DialogsInLookupOrder();

}  // namespace console
