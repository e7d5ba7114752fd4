#include "ui/restart_dlg.h"

#include "base/log_sink.h"
#include "ui/config_dlg.h"
#include "ui/restart_layout.h"

TServerRestartDlg::TServerRestartDlg(LogSink& log, TConfigDlg& config)
    : ui::Dialog(config.AllForms(), "ServerRestartDlg", "Serveroptionen ge\xE4ndert",
                 layout::kRestartForm),
      Bevel1(*this, layout::RestartBevel1),
      RestartLabel(*this, layout::RestartLabel),
      RestartQuestLabel(*this, layout::RestartQuestLabel),
      RestartBtn(*this, layout::RestartBtn),
      CancelBtn(*this, layout::RestartCancelBtn),
      log_(log),
      config_(config) {
  RestartBtn.OnClick = [this] { RestartBtnClick(); };
  CancelBtn.OnClick = [this] { CancelBtnClick(); };
  AnnounceCreated();
}

TServerRestartDlg::~TServerRestartDlg() {
  AnnounceDestroyed();
}

void TServerRestartDlg::RestartBtnClick() {
  try {
    SetModalResult(ui::ModalResult::OK);
    config_.StopBtnClick();
    config_.StartBtnClick();
  } catch (...) {
    log_.WriteLog("FEHLER in (TServerRestartDlg::RestartBtnClick)");
  }
  Hide();
}

void TServerRestartDlg::CancelBtnClick() {
  SetModalResult(ui::ModalResult::Cancel);
  Hide();
}
