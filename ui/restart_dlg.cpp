#include "ui/restart_dlg.h"

#include "ui/config_dlg.h"
#include "ui/dialog_host.h"
#include "ui/restart_layout.h"

TServerRestartDlg* ServerRestartDlg = nullptr;

TServerRestartDlg::TServerRestartDlg()
    : ui::Dialog("ServerRestartDlg", "Serveroptionen ge\xE4ndert", layout::kRestartForm),
      Bevel1(*this, layout::RestartBevel1),
      RestartLabel(*this, layout::RestartLabel),
      RestartQuestLabel(*this, layout::RestartQuestLabel),
      RestartBtn(*this, layout::RestartBtn),
      CancelBtn(*this, layout::RestartCancelBtn) {
  RestartBtn.OnClick = [this] { RestartBtnClick(); };
  CancelBtn.OnClick = [this] { CancelBtnClick(); };
  ServerRestartDlg = this;
  AnnounceCreated();
}

TServerRestartDlg::~TServerRestartDlg() {
  AnnounceDestroyed();
  if (ServerRestartDlg == this) ServerRestartDlg = nullptr;
}

void TServerRestartDlg::RestartBtnClick() {
  try {
    SetModalResult(ui::ModalResult::OK);
    if (ConfigDlg != nullptr) {
      ConfigDlg->StopBtnClick();
      ConfigDlg->StartBtnClick();
    }
  } catch (...) {
    ui::Log("FEHLER in (TServerRestartDlg::RestartBtnClick)");
  }
  Hide();
}

void TServerRestartDlg::CancelBtnClick() {
  SetModalResult(ui::ModalResult::Cancel);
  Hide();
}
