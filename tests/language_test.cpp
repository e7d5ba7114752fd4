// The language file: captions read at set-up and at every showing, and the written template.
#include <gtest/gtest.h>

#include <filesystem>

#include "plugin/interface.h"
#include "tests/support.h"
#include "ui/config_dlg.h"
#include "ui/restart_dlg.h"

namespace {

using namespace testing_support;
using Strings = std::vector<std::string>;
namespace fs = std::filesystem;

const std::string kTemplate =
    "[Server]\r\n"
    "ServerTab=&Server\r\n"
    "IP=IP\r\n"
    "Port=Port\r\n"
    "Passwd=Passwort\r\n"
    "Timeout=Timeout (ms)\r\n"
    "Autostart=Dienst automatisch starten\r\n"
    "http_head=HTTP Header\r\n"
    "\r\n"
    "[Security]\r\n"
    "SecurityTab=Siche&rheit\r\n"
    "AccessButton=Erlaube alle Adressen au\xDF"
    "er:\r\n"
    "DeniedButton=Verbiete alle Adressen au\xDF"
    "er:\r\n"
    "AddButton=&hinzuf\xFCgen\r\n"
    "DeleteButton=&entfernen\r\n"
    "\r\n"
    "[Logging]\r\n"
    "LogTab=&Protokoll\r\n"
    "CreateTransFile=&Erstelle Sprachdatei\r\n"
    "EnableLog=Protokoll an\r\n"
    "DeleteLog=Protokoll l\xF6schen\r\n"
    "\r\n"
    "[Info]\r\n"
    "InfoTab=&Info\r\n"
    "\r\n"
    "[General]\r\n"
    "StartButton=S&tart\r\n"
    "StopButton=Sto&p\r\n"
    "OKButton=&OK\r\n"
    "\r\n"
    "[RestartDialog]\r\n"
    "RestartBtn=&Ja - Restart\r\n"
    "CancelBtn=&Nein - Abbruch\r\n"
    "RestartQuestLabel=Soll der Server jetzt neu gestartet werden?\r\n"
    "RestartLabel=Damit die \xC4"
    "nderung aktiv wird, muss der Server neugestartet werden.\r\n"
    "\r\n";

class Language : public PluginTest {
 protected:
  std::string LanguageFile(const std::string& name = "Velotam_Language.dat") const {
    return (fs::path(folder_.Path()) / "Plugins" / name).string();
  }
};

TEST_F(Language, WithoutAFileTheBuiltInTextsAreShown) {
  TConfigDlg& d = Config();
  EXPECT_EQ(d.IP_label.Caption(), "IP");
  EXPECT_EQ(d.Port_label.Caption(), "Port");
  EXPECT_EQ(d.Passwd_label.Caption(), "Passwort");
  EXPECT_EQ(d.Timeout_label.Caption(), "Timeout (ms)");
  EXPECT_EQ(d.LoggingChkBox.Caption(), "Protokoll an");
  EXPECT_EQ(d.ProtLoeschenBtn.Caption(), "Protokoll l\xF6schen");
  EXPECT_EQ(d.StartBtn.Caption(), "S&tart");
  EXPECT_EQ(PluginDialogs().Restart().RestartBtn.Caption(), "&Ja - Restart");
  // The Info page's version label is set when the dialog is shown.
  EXPECT_EQ(d.NameVersion.Caption(), "Velotam v1.0");
  record_->config();
  EXPECT_TRUE(d.Shown());
  EXPECT_EQ(d.NameVersion.Caption(), "Velotam v1.0.2");
}

TEST_F(Language, AFileChangesOnlyTheCaptionsItHolds) {
  struct Case {
    std::string file;
    std::string dialog, control, caption;  // the one caption that changes
  } cases[] = {
      {"[General]\r\nStartButton=Los\r\n", "ConfigDlg", "StartBtn", "Los"},
      {"[RestartDialog]\nRestartBtn=&Yes\n", "ServerRestartDlg", "RestartBtn", "&Yes"},
      {"[server]\nip= Adresse: \n", "ConfigDlg", "IP_label", "Adresse:"},
      {"[Logging]\nEnableLog=\n", "ConfigDlg", "LoggingChkBox", ""},
      {"[General]\nStopButton\n[Fremd]\nStartButton=x\n", "ConfigDlg", "StopBtn", "Sto&p"},
  };
  auto captions = [] {
    Strings all;
    for (ui::Dialog* dialog : {static_cast<ui::Dialog*>(&Config()),
                               static_cast<ui::Dialog*>(&PluginDialogs().Restart())}) {
      for (ui::Control* c : dialog->Controls())
        all.push_back(dialog->Name() + "." + c->Name() + "=" + c->Caption());
    }
    return all;
  };
  record_->config();  // sets the version label once, so that it stays put below
  const Strings defaults = captions();
  for (const auto& c : cases) {
    // A file edited while the player runs takes effect at the next showing.
    WriteFile(LanguageFile(), c.file);
    record_->config();
    Strings expected = defaults;
    for (std::string& line : expected) {
      std::string prefix = c.dialog + "." + c.control + "=";
      if (line.compare(0, prefix.size(), prefix) == 0) line = prefix + c.caption;
    }
    EXPECT_EQ(captions(), expected) << c.file;
  }
  fs::remove(LanguageFile());
  record_->config();
  EXPECT_EQ(captions(), defaults);
}

TEST_F(Language, TemplateHoldsEveryTextInOrder) {
  log_->Clear();
  Config().CreateLangBtn.OnClick();
  EXPECT_EQ(ReadFile(LanguageFile()), kTemplate);
  EXPECT_EQ(log_->Lines(), Strings{"Server: " + PluginInterface->GetLanguagePath()});

  // Over a translated file: the texts go back to German, foreign keys and sections stay,
  // comments go.
  WriteFile(LanguageFile(),
            "; meine \xDC"
            "bersetzung\r\n[General]\r\nStartButton=Go\r\nExtra=1\r\n[Mine]\r\nk=v\r\n");
  Config().CreateLangBtnClick();
  auto section = [](const std::string& name) {
    std::size_t b = kTemplate.find("[" + name + "]");
    return kTemplate.substr(b, kTemplate.find("\r\n\r\n", b) + 4 - b);
  };
  // Sections keep their place in the file; the missing ones follow in the template's order.
  std::string expected =
      "[General]\r\nStartButton=S&tart\r\nExtra=1\r\nStopButton=Sto&p\r\nOKButton=&OK\r\n\r\n"
      "[Mine]\r\nk=v\r\n\r\n" +
      section("Server") + section("Security") + section("Logging") + section("Info") +
      section("RestartDialog");
  EXPECT_EQ(ReadFile(LanguageFile()), expected);
}

TEST_F(Language, FileNameIsTrimmed) {
  WriteFile(LanguageFile("Englisch.dat"), "[General]\nStartButton=Start\n");
  Config().LanguageFileName = " Englisch.dat\t";
  Config().FormShow();
  EXPECT_EQ(Config().StartBtn.Caption(), "Start");
  EXPECT_EQ(Config().LanguageFileName, " Englisch.dat\t");

  // The name comes from the settings and is saved back as it was read.
  ReloadPlugin("[Language]\nFilename=Englisch.dat\n");
  EXPECT_EQ(Config().StartBtn.Caption(), "Start");
}

TEST_F(Language, UnwritableOrUnreadableFileIsReported) {
  // No file name: the path names the Plugins folder itself.
  Config().LanguageFileName = "";
  log_->Clear();
  Config().CreateLangBtnClick();
  const std::string folderPath = PluginInterface->GetLanguagePath();
  EXPECT_EQ(log_->Lines(),
            (Strings{"Server: " + folderPath,
                     "Server: Sprachdatei konnte nicht geschrieben werden (" + folderPath + ")"}));

  // A folder in place of the file reads as a missing file and cannot be written.
  Config().LanguageFileName = "Velotam_Language.dat";
  fs::create_directory(LanguageFile());
  Config().StartBtn.SetCaption("anders");
  Config().FormShow();
  EXPECT_EQ(Config().StartBtn.Caption(), "S&tart");
  log_->Clear();
  Config().CreateLangBtnClick();
  EXPECT_EQ(log_->Lines().back(), "Server: Sprachdatei konnte nicht geschrieben werden (" +
                                      PluginInterface->GetLanguagePath() + ")");
}

}  // namespace
