#pragma once
// The plug-in's dialogs in one set, owned by the central object: the configuration dialog, the
// restart dialog, and the IP address dialog while the configuration dialog's add button has it
// open. Whoever needs a dialog is handed the set or the dialog itself. Its forms are the one
// list of the dialogs that exist, their activation and the face that shows them.

#include <memory>
#include <string>

#include "ui/models/forms.h"

class DialogHost;
class TConfigDlg;
class TOKBottomDlg;
class TServerRestartDlg;

class DialogSet {
 public:
  // Builds the configuration dialog, then the restart dialog; both write the log through host.
  explicit DialogSet(DialogHost& host);
  // The configuration dialog goes first (it saves the settings) and still takes log lines
  // while it goes; then the restart dialog.
  ~DialogSet();
  DialogSet(const DialogSet&) = delete;
  DialogSet& operator=(const DialogSet&) = delete;

  TConfigDlg& Config() const { return *config_; }
  TServerRestartDlg& Restart() const { return *restart_; }
  // The open IP address dialog, or nullptr.
  TOKBottomDlg* IpAddress() const { return ipAddress_.get(); }
  // Every dialog of the set, its focus and its face.
  ui::Forms& Forms() { return forms_; }
  const ui::Forms& Forms() const { return forms_; }
  // The dialog of that name ("ConfigDlg", "ServerRestartDlg", "OKBottomDlg" while open), or
  // nullptr.
  ui::Dialog* Named(const std::string& name) const;

  // A new IP address dialog, open until CloseIpAddress.
  TOKBottomDlg& OpenIpAddress();
  void CloseIpAddress();

  // The activity log: the configuration dialog's Out while logging is on.
  void WriteLog(const std::string& line) const;
  // Writes out the lines that the calling thread holds (LogHold).
  void FlushLog() const;

 private:
  DialogHost& host_;
  // Declared in the reverse order of going: the configuration dialog goes first, the forms
  // after every dialog.
  ui::Forms forms_;
  std::unique_ptr<TOKBottomDlg> ipAddress_;
  std::unique_ptr<TServerRestartDlg> restart_;
  std::unique_ptr<TConfigDlg> config_;
};
