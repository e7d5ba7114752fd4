#include "ui/console/plugin_dialogs.h"

namespace console {

ui::Dialog* PluginDialogs::Named(const char* name) const {
  return forms_ != nullptr ? forms_->Named(name) : nullptr;
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
