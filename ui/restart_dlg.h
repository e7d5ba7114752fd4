#pragma once
// The restart dialog: shown without modality when the server's address, port or time-out was
// changed in the configuration dialog, it offers to restart the server at once.

#include "ui/models/dialog.h"

class LogSink;
class TConfigDlg;

class TServerRestartDlg : public ui::Dialog {
 public:
  // config: the dialog whose stop and start handlers a restart runs.
  TServerRestartDlg(LogSink& log, TConfigDlg& config);
  ~TServerRestartDlg() override;

  // Stops and starts the server through the configuration dialog's handlers, then hides.
  void RestartBtnClick();
  // Hides; the new value takes effect at the next start. The close box does the same.
  void CancelBtnClick();

  ui::Plain Bevel1;
  ui::Plain RestartLabel;
  ui::Plain RestartQuestLabel;
  ui::Plain RestartBtn;
  ui::Plain CancelBtn;

 private:
  LogSink& log_;
  TConfigDlg& config_;
};
