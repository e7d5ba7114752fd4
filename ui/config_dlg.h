#pragma once
// The configuration dialog: the plug-in's main window and its live settings store. Every
// setting is held by one control model; readers ask the control when they need the value.

#include <memory>
#include <string>

#include "ui/models/dialog.h"
#include "ui/models/log_list.h"

class DialogHost;
class DialogSet;
class IniFile;
class ServerSocket;

class TConfigDlg : public ui::Dialog {
 public:
  // host: the plug-in's side and the log; dialogs: the set it belongs to (the restart dialog it
  // offers, the IP address dialog it opens).
  TConfigDlg(DialogHost& host, DialogSet& dialogs);
  // Saves the settings and releases the server object, which quit has stopped.
  ~TConfigDlg() override;

  void PrepareDialog();
  void FormShow();

  void CloseBttnClick();
  void StartBtnClick();
  void StopBtnClick();
  void hinzfuegenBtnClick();
  void entfernenBtnClick();
  void ProtLoeschenBtnClick();
  void CreateLangBtnClick();
  void PortEditEnter();
  void PortEditExit();
  void TimeOutEditEnter();
  void TimeOutEditExit();
  void IPComboEnter();
  void IPComboExit();

  // Appends "Server: " + line to Out while logging is on; while the calling thread has a
  // LogHold, the entry waits in it for FlushLog.
  void WriteLog(const std::string& line);
  // Appends the entries that the calling thread's hold keeps, as one append.
  void FlushLog();

  // The settings file (DialogHost::IniPath): read once, by the first PrepareDialog; written
  // by OK and when the dialog is destroyed at quit.
  void LoadSettings();
  // Selects the stored server address in IPCombo, or the first entry when the host does not
  // have it (any more).
  void SelectStoredAddress(const IniFile& file);
  void SaveSettings();

  // The password a new installation gets: one digit.
  static std::string DefaultPassword();

  // Quit's stop of the server: ends every worker (bounded, the player's messages flowing).
  // False when a worker did not end: it still uses the server and everything it reaches (the
  // log, the settings, the request path), so none of it may go.
  bool StopServerForQuit();

  // Controls, in the order of the layout table.
  ui::Plain CloseBttn;
  ui::Plain TabPages;
  ui::Plain StartBtn;
  ui::Plain StopBtn;
  ui::Plain AllgemeinTab;
  ui::Plain Bevel1;
  ui::Plain IP_label;
  ui::Plain Port_label;
  ui::Plain Passwd_label;
  ui::Plain Timeout_label;
  ui::ComboBox IPCombo;
  ui::Edit PasswdEdit;
  ui::CheckBox DienstAutoStartChkBox;
  ui::Edit PortEdit;
  ui::CheckBox httpheadChkBox;
  ui::Edit TimeOutEdit;
  ui::Plain SicherheitTab;
  ui::Plain Bevel2;
  ui::RadioButton ErlaubeAdrRadioBtn;
  ui::RadioButton VerbieteAdrRadioBtn;
  ui::Plain hinzfuegenBtn;
  ui::Plain entfernenBtn;
  ui::ListBox AdrListBox;
  ui::ComboBox StrgAllowCombo;
  ui::Plain LogTab;
  ui::Plain Bevel3;
  ui::LogList Out;
  ui::Plain ProtLoeschenBtn;
  ui::CheckBox LoggingChkBox;
  ui::Plain CreateLangBtn;
  ui::Plain InfoTab;
  ui::Plain Bevel4;
  ui::Plain Panel1;
  ui::Plain Image1;
  ui::Plain Label2;
  ui::Plain NameVersion;
  ui::Plain Label4;

  std::string OldIP;
  std::string OldPort;
  std::string OldTimeOut;
  bool SetupPending = true;
  std::unique_ptr<ServerSocket> SrvSocket;
  std::string LanguageFileName;

  // The log keeps the newest entries only, so that no client can grow the player's memory.
  static constexpr std::size_t kMaxLogEntries = 10000;

 private:
  DialogHost& host_;
  DialogSet& dialogs_;
  void OfferRestartIfChanged(const std::string& before, const std::string& now);
};

// The version text shown on the Info page.
extern const char* const VersionText;
