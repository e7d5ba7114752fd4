#include "lang/language_translation.h"

#include "base/log_sink.h"
#include "platform/files.h"
#include "ui/dialog_set.h"
#include "ui/ini_file.h"
#include "ui/models/dialog.h"

const std::vector<LanguageTranslation::Row>& LanguageTranslation::Vocabulary() {
  static const std::vector<Row> rows = {
      {"Server", "ServerTab", "&Server", "ConfigDlg", "AllgemeinTab"},
      {"Server", "IP", "IP", "ConfigDlg", "IP_label"},
      {"Server", "Port", "Port", "ConfigDlg", "Port_label"},
      {"Server", "Passwd", "Passwort", "ConfigDlg", "Passwd_label"},
      {"Server", "Timeout", "Timeout (ms)", "ConfigDlg", "Timeout_label"},
      {"Server", "Autostart", "Dienst automatisch starten", "ConfigDlg", "DienstAutoStartChkBox"},
      {"Server", "http_head", "HTTP Header", "ConfigDlg", "httpheadChkBox"},
      {"Security", "SecurityTab", "Siche&rheit", "ConfigDlg", "SicherheitTab"},
      {"Security", "AccessButton",
       "Erlaube alle Adressen au\xDF"
       "er:",
       "ConfigDlg", "ErlaubeAdrRadioBtn"},
      {"Security", "DeniedButton",
       "Verbiete alle Adressen au\xDF"
       "er:",
       "ConfigDlg", "VerbieteAdrRadioBtn"},
      {"Security", "AddButton", "&hinzuf\xFCgen", "ConfigDlg", "hinzfuegenBtn"},
      {"Security", "DeleteButton", "&entfernen", "ConfigDlg", "entfernenBtn"},
      {"Logging", "LogTab", "&Protokoll", "ConfigDlg", "LogTab"},
      {"Logging", "CreateTransFile", "&Erstelle Sprachdatei", "ConfigDlg", "CreateLangBtn"},
      {"Logging", "EnableLog", "Protokoll an", "ConfigDlg", "LoggingChkBox"},
      {"Logging", "DeleteLog", "Protokoll l\xF6schen", "ConfigDlg", "ProtLoeschenBtn"},
      {"Info", "InfoTab", "&Info", "ConfigDlg", "InfoTab"},
      {"General", "StartButton", "S&tart", "ConfigDlg", "StartBtn"},
      {"General", "StopButton", "Sto&p", "ConfigDlg", "StopBtn"},
      {"General", "OKButton", "&OK", "ConfigDlg", "CloseBttn"},
      {"RestartDialog", "RestartBtn", "&Ja - Restart", "ServerRestartDlg", "RestartBtn"},
      {"RestartDialog", "CancelBtn", "&Nein - Abbruch", "ServerRestartDlg", "CancelBtn"},
      {"RestartDialog", "RestartQuestLabel", "Soll der Server jetzt neu gestartet werden?",
       "ServerRestartDlg", "RestartQuestLabel"},
      {"RestartDialog", "RestartLabel",
       "Damit die \xC4"
       "nderung aktiv wird, muss der Server neugestartet werden.",
       "ServerRestartDlg", "RestartLabel"},
  };
  return rows;
}

void LanguageTranslation::ReadLanguageFile() {
  IniFile file = IniFile::Load(path_);
  for (const Row& row : Vocabulary()) {
    ui::Dialog* dialog = dialogs_.Named(row.dialog);
    ui::Control* control = dialog != nullptr ? dialog->Find(row.control) : nullptr;
    if (control != nullptr) {
      control->SetCaption(file.ReadString(row.section, row.key, row.defaultText));
    }
  }
}

void LanguageTranslation::WriteLanguageFile() {
  const std::string& path = path_;
  log_.WriteLog(path);
  IniFile file = IniFile::Load(path);
  for (const Row& row : Vocabulary()) file.WriteString(row.section, row.key, row.defaultText);
  files::MakeFolder(folder_);
  if (!file.Save(path)) log_.WriteLog("Sprachdatei konnte nicht geschrieben werden (" + path + ")");
}
