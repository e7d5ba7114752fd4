// Handlers whose settings file, language file and sub-dialogs are not built yet. Until then the
// controls keep provisional values: the loopback address, port 4800, time-out 1000 ms, logging
// and the HTTP header on.
#include "ui/config_dlg.h"

void TConfigDlg::PrepareDialog() {
  if (SetupPending) {
    IPCombo.SetItems({"127.0.0.1"});
    IPCombo.SetSelected(0);
    PortEdit.SetText("4800");
    LoggingChkBox.SetChecked(true);
    httpheadChkBox.SetChecked(true);
  }
  SetupPending = false;
}

void TConfigDlg::CloseBttnClick() {
  Hide();
}
void TConfigDlg::hinzfuegenBtnClick() {}
void TConfigDlg::CreateLangBtnClick() {}
void TConfigDlg::LoadSettings() {}
void TConfigDlg::SaveSettings() {}
void TConfigDlg::OfferRestartIfChanged(const std::string&, const std::string&) {}
