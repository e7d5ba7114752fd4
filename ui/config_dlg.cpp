#include "ui/config_dlg.h"

#include "base/log_hold.h"
#include "base/text.h"
#include "base/version.h"
#include "server/server_socket.h"
#include "ui/config_layout.h"
#include "ui/dialog_host.h"
#include "ui/dialog_set.h"

const char* const VersionText = kBanner;

void TConfigDlg::WriteLog(const std::string& line) {
  if (!LoggingChkBox.Checked()) return;
  std::string entry = "Server: " + line;
  if (LogHold* hold = LogHold::Current()) {
    hold->entries.push_back(std::move(entry));
  } else {
    Out.Append(std::move(entry));
  }
}

void TConfigDlg::FlushLog() {
  LogHold* hold = LogHold::Current();
  if (hold == nullptr || hold->entries.empty()) return;
  Out.AppendAll(hold->entries);
  hold->entries.clear();  // the entries that left the log go here, outside its lock
}

TConfigDlg::TConfigDlg(DialogHost& host, DialogSet& dialogs)
    : ui::Dialog(dialogs.Forms(), "ConfigDlg", "Velotam", layout::kConfigForm),
      CloseBttn(*this, layout::CloseBttn),
      TabPages(*this, layout::TabPages),
      StartBtn(*this, layout::StartBtn),
      StopBtn(*this, layout::StopBtn),
      AllgemeinTab(*this, layout::AllgemeinTab),
      Bevel1(*this, layout::Bevel1),
      IP_label(*this, layout::IP_label),
      Port_label(*this, layout::Port_label),
      Passwd_label(*this, layout::Passwd_label),
      Timeout_label(*this, layout::Timeout_label),
      IPCombo(*this, layout::IPCombo),
      PasswdEdit(*this, layout::PasswdEdit),
      DienstAutoStartChkBox(*this, layout::DienstAutoStartChkBox),
      PortEdit(*this, layout::PortEdit),
      httpheadChkBox(*this, layout::httpheadChkBox),
      TimeOutEdit(*this, layout::TimeOutEdit),
      SicherheitTab(*this, layout::SicherheitTab),
      Bevel2(*this, layout::Bevel2),
      ErlaubeAdrRadioBtn(*this, layout::ErlaubeAdrRadioBtn),
      VerbieteAdrRadioBtn(*this, layout::VerbieteAdrRadioBtn),
      hinzfuegenBtn(*this, layout::hinzfuegenBtn),
      entfernenBtn(*this, layout::entfernenBtn),
      AdrListBox(*this, layout::AdrListBox),
      StrgAllowCombo(*this, layout::StrgAllowCombo),
      LogTab(*this, layout::LogTab),
      Bevel3(*this, layout::Bevel3),
      Out(*this, layout::Out, kMaxLogEntries),
      ProtLoeschenBtn(*this, layout::ProtLoeschenBtn),
      LoggingChkBox(*this, layout::LoggingChkBox),
      CreateLangBtn(*this, layout::CreateLangBtn),
      InfoTab(*this, layout::InfoTab),
      Bevel4(*this, layout::Bevel4),
      Panel1(*this, layout::Panel1),
      Image1(*this, layout::Image1),
      Label2(*this, layout::Label2),
      NameVersion(*this, layout::NameVersion),
      Label4(*this, layout::Label4),
      host_(host),
      dialogs_(dialogs) {
  StopBtn.SetEnabled(false);
  ErlaubeAdrRadioBtn.AddPartner(VerbieteAdrRadioBtn);
  ErlaubeAdrRadioBtn.SetChecked(true);
  StrgAllowCombo.SetItems({"lesend", "steuerbar"});
  CreateLangBtn.SetVisible(false);

  CloseBttn.OnClick = [this] { CloseBttnClick(); };
  StartBtn.OnClick = [this] { StartBtnClick(); };
  StopBtn.OnClick = [this] { StopBtnClick(); };
  hinzfuegenBtn.OnClick = [this] { hinzfuegenBtnClick(); };
  entfernenBtn.OnClick = [this] { entfernenBtnClick(); };
  ProtLoeschenBtn.OnClick = [this] { ProtLoeschenBtnClick(); };
  CreateLangBtn.OnClick = [this] { CreateLangBtnClick(); };
  PortEdit.OnEnter = [this] { PortEditEnter(); };
  PortEdit.OnExit = [this] { PortEditExit(); };
  TimeOutEdit.OnEnter = [this] { TimeOutEditEnter(); };
  TimeOutEdit.OnExit = [this] { TimeOutEditExit(); };
  IPCombo.OnEnter = [this] { IPComboEnter(); };
  IPCombo.OnExit = [this] { IPComboExit(); };

  AnnounceCreated();
}

TConfigDlg::~TConfigDlg() {
  try {
    SaveSettings();
  } catch (...) {
    host_.WriteLog("FEHLER in (TConfigDlg::SaveSettings)");
  }
  // Quit has stopped the server; a server whose worker did not end is never destroyed.
  SrvSocket.reset();
  AnnounceDestroyed();
}

void TConfigDlg::FormShow() {
  NameVersion.SetCaption(VersionText);
  PrepareDialog();
}

void TConfigDlg::StartBtnClick() {
  StopBtn.SetEnabled(true);
  StartBtn.SetEnabled(false);
  // A start while the server listens (a script pressing the disabled button, or a host that
  // starts again after autostart) would open a second socket and leave the first one and its
  // waiting worker behind, the port taken until quit.
  if (SrvSocket && SrvSocket->ListeningSocket() != net::kInvalidSocket) return;
  host_.WriteLog(std::string(65, '-'));
  if (!SrvSocket) SrvSocket = std::make_unique<ServerSocket>(host_.ServerSide());
  SrvSocket->Start();
}

void TConfigDlg::StopBtnClick() {
  StopBtn.SetEnabled(false);
  StartBtn.SetEnabled(true);
  if (SrvSocket) (void)SrvSocket->Stop(ServerSocket::StopPlan::Button());
}

bool TConfigDlg::StopServerForQuit() {
  StopBtn.SetEnabled(false);
  StartBtn.SetEnabled(true);
  return !SrvSocket || SrvSocket->Stop(ServerSocket::StopPlan::Quit());
}

void TConfigDlg::entfernenBtnClick() {
  AdrListBox.Delete(AdrListBox.Selected());
}

void TConfigDlg::ProtLoeschenBtnClick() {
  Out.Clear();
}

void TConfigDlg::PortEditEnter() {
  OldPort = text::Trim(PortEdit.Text());
}
void TConfigDlg::PortEditExit() {
  OfferRestartIfChanged(OldPort, text::Trim(PortEdit.Text()));
}
void TConfigDlg::TimeOutEditEnter() {
  OldTimeOut = text::Trim(TimeOutEdit.Text());
}
void TConfigDlg::TimeOutEditExit() {
  OfferRestartIfChanged(OldTimeOut, text::Trim(TimeOutEdit.Text()));
}
void TConfigDlg::IPComboEnter() {
  OldIP = text::Trim(IPCombo.SelectedText());
}
void TConfigDlg::IPComboExit() {
  OfferRestartIfChanged(OldIP, text::Trim(IPCombo.SelectedText()));
}
