// The configuration dialog's set-up and the handlers that reach the other dialogs and files.
#include "ui/config_dlg.h"
#include "ui/dialog_host.h"
#include "ui/dialog_set.h"
#include "ui/ip_address_dlg.h"
#include "ui/network.h"
#include "ui/restart_dlg.h"

void TConfigDlg::PrepareDialog() {
  try {
    if (SetupPending) {
      std::vector<std::string> addresses;
      Network().GetLocalAddresses(&addresses);
      IPCombo.SetItems(addresses);
      LoadSettings();
    }
    host_.ReadLanguageFile();
  } catch (...) {
    host_.WriteLog("FEHLER in (TConfigDlg::PrepareDialog)");
  }
  // Even after a failure the settings are loaded once only: a later showing must not
  // overwrite what the user has set since.
  SetupPending = false;
}

void TConfigDlg::CloseBttnClick() {
  try {
    SaveSettings();
  } catch (...) {
    host_.WriteLog("FEHLER in (TConfigDlg::CloseBttnClick)");
  }
  Hide();
}

void TConfigDlg::hinzfuegenBtnClick() {
  // The dialog is modal: a second press while it is open (possible from a script) is ignored.
  if (dialogs_.IpAddress() != nullptr) return;
  try {
    struct Closing {
      DialogSet& dialogs;
      ~Closing() { dialogs.CloseIpAddress(); }
    } closing{dialogs_};
    TOKBottomDlg& dialog = dialogs_.OpenIpAddress();
    if (dialog.ShowModal() == ui::ModalResult::OK && dialog.IsAddressValid()) {
      AdrListBox.Add(dialog.GetAddressText());
    }
  } catch (...) {
    host_.WriteLog("FEHLER in (TConfigDlg::hinzfuegenBtnClick)");
  }
}

void TConfigDlg::CreateLangBtnClick() {
  try {
    host_.WriteLanguageFile();
  } catch (...) {
    host_.WriteLog("FEHLER in (TConfigDlg::CreateLangBtnClick)");
  }
}

void TConfigDlg::OfferRestartIfChanged(const std::string& before, const std::string& now) {
  if (before != now) dialogs_.Restart().Show();
}
