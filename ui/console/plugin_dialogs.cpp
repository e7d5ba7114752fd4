#include "ui/console/plugin_dialogs.h"

#include <algorithm>

namespace console {

void PluginDialogs::Add(ui::Dialog& dialog) {
  dialogs_.push_back(&dialog);
}

void PluginDialogs::Remove(const ui::Dialog& dialog) {
  std::erase(dialogs_, &dialog);
}

ui::Dialog* PluginDialogs::Named(const std::string& name) const {
  auto it = std::find_if(dialogs_.begin(), dialogs_.end(),
                         [&name](const ui::Dialog* d) { return d->Name() == name; });
  return it != dialogs_.end() ? *it : nullptr;
}

std::vector<ui::Dialog*> PluginDialogs::InDumpOrder() const {
  std::vector<ui::Dialog*> dialogs;
  for (const char* name : {"ConfigDlg", "ServerRestartDlg", "OKBottomDlg"}) {
    if (ui::Dialog* d = Named(name)) dialogs.push_back(d);
  }
  return dialogs;
}

std::vector<ui::Dialog*> PluginDialogs::InLookupOrder() const {
  std::vector<ui::Dialog*> dialogs;
  if (ui::Dialog* ip = Named("OKBottomDlg")) dialogs.push_back(ip);
  ui::Dialog* restart = Named("ServerRestartDlg");
  if (restart != nullptr && restart->Shown()) dialogs.push_back(restart);
  if (ui::Dialog* config = Named("ConfigDlg")) dialogs.push_back(config);
  return dialogs;
}

}  // namespace console
