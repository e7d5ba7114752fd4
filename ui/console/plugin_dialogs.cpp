#include "ui/console/plugin_dialogs.h"

#include "ui/config_dlg.h"
#include "ui/ip_address_dlg.h"
#include "ui/restart_dlg.h"

namespace console {

std::vector<ui::Dialog*> DialogsInDumpOrder() {
  std::vector<ui::Dialog*> dialogs;
  if (ConfigDlg != nullptr) dialogs.push_back(ConfigDlg);
  if (ServerRestartDlg != nullptr) dialogs.push_back(ServerRestartDlg);
  if (OKBottomDlg != nullptr) dialogs.push_back(OKBottomDlg);
  return dialogs;
}

std::vector<ui::Dialog*> DialogsInLookupOrder() {
  std::vector<ui::Dialog*> dialogs;
  if (OKBottomDlg != nullptr) dialogs.push_back(OKBottomDlg);
  if (ServerRestartDlg != nullptr && ServerRestartDlg->Shown()) {
    dialogs.push_back(ServerRestartDlg);
  }
  if (ConfigDlg != nullptr) dialogs.push_back(ConfigDlg);
  return dialogs;
}

}  // namespace console
