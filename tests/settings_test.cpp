// The settings file against the plug-in: what init loads, what OK and quit save, and autostart.
#include <gtest/gtest.h>

#include <filesystem>

#include "plugin/interface.h"
#include "server/server_socket.h"
#include "tests/support.h"
#include "ui/config_dlg.h"
#include "ui/ini_file.h"
#include "ui/network.h"

namespace {

using namespace testing_support;
using Strings = std::vector<std::string>;
namespace fs = std::filesystem;

const std::string kStartLine = "Server: " + std::string(65, '-');

// "key=value" for every key of one section of the saved file, in file order.
Strings SavedSection(const std::string& file, const std::string& section) {
  Strings out;
  for (const auto& e : IniFile(ReadFile(file)).Entries(section))
    out.push_back(e.key + "=" + e.value);
  return out;
}

class Settings : public PluginTest {
 protected:
  // Quits (saving) and returns the saved file.
  std::string QuitAndRead() {
    log_.reset();
    record_->quit();
    record_ = nullptr;
    return ReadFile(SettingsFile());
  }
};

TEST_F(Settings, DefaultsWithoutAFile) {
  ReloadPlugin(std::nullopt);
  TConfigDlg& d = Config();
  EXPECT_EQ(d.Out.Items(), Strings{"Server: " + PluginInterface->GetIniPath()});
  EXPECT_EQ(d.PortEdit.Text(), "4800");
  EXPECT_EQ(d.TimeOutEdit.Text(), "1000");
  EXPECT_TRUE(d.httpheadChkBox.Checked());
  EXPECT_TRUE(d.LoggingChkBox.Checked());
  EXPECT_FALSE(d.DienstAutoStartChkBox.Checked());
  EXPECT_TRUE(d.ErlaubeAdrRadioBtn.Checked());
  EXPECT_FALSE(d.VerbieteAdrRadioBtn.Checked());
  EXPECT_EQ(d.StrgAllowCombo.Selected(), 0);
  EXPECT_EQ(d.AdrListBox.Count(), 0);
  EXPECT_EQ(d.IPCombo.Selected(), 0);
  EXPECT_EQ(d.IPCombo.Item(d.IPCombo.Count() - 1), "0.0.0.0");
  EXPECT_NE(d.IPCombo.IndexOf("127.0.0.1"), -1);
  ASSERT_EQ(d.PasswdEdit.Text().size(), 1u);
  EXPECT_TRUE(d.PasswdEdit.Text()[0] >= '0' && d.PasswdEdit.Text()[0] <= '9');
  EXPECT_EQ(d.LanguageFileName, "Velotam_Language.dat");
  EXPECT_FALSE(d.SrvSocket);

  // The first save creates the file with every key, in this order.
  d.IPCombo.SetSelected(d.IPCombo.IndexOf("127.0.0.1"));
  d.CloseBttnClick();
  EXPECT_EQ(ReadFile(SettingsFile()),
            "[allgemein]\r\nip=127.0.0.1\r\nport=4800\r\npasswd=" + d.PasswdEdit.Text() +
                "\r\nautostart=0\r\n\r\n"
                "[sicherheit]\r\nAllowIP=1\r\nStrgAllow=0\r\nIPCount=0\r\n\r\n"
                "[erweitert]\r\ntimeout=1000\r\nhttpHeaders=1\r\n\r\n"
                "[logging]\r\nEnableLog=1\r\n\r\n"
                "[Language]\r\nFilename=Velotam_Language.dat\r\n\r\n");
}

TEST_F(Settings, EveryKeyRoundTripsAndForeignContentSurvives) {
  const std::string file =
      "; written by hand\r\n"
      "[allgemein]\r\n"
      "ip=127.0.0.1\r\n"
      "port=0\r\n"
      "passwd=geheim\r\n"
      "autostart=1\r\n"
      "eigener=bleibt\r\n"
      "\r\n"
      "[fremd]\r\n"
      "; comment\r\n"
      "schluessel=wert\r\n"
      "\r\n"
      "[sicherheit]\r\n"
      "AllowIP=0\r\n"
      "StrgAllow=1\r\n"
      "IPCount=2\r\n"
      "IP_0=10.0.0.1\r\n"
      "IP_1=10.0.0.2\r\n"
      "\r\n"
      "[erweitert]\r\n"
      "timeout=250\r\n"
      "httpHeaders=0\r\n"
      "\r\n"
      "[logging]\r\n"
      "EnableLog=1\r\n"
      "\r\n"
      "[Language]\r\n"
      "Filename=Deutsch.dat\r\n"
      "\r\n";
  ReloadPlugin(file);
  TConfigDlg& d = Config();
  EXPECT_EQ(d.IPCombo.SelectedText(), "127.0.0.1");
  EXPECT_EQ(d.PortEdit.Text(), "0");
  EXPECT_EQ(d.PasswdEdit.Text(), "geheim");
  EXPECT_TRUE(d.DienstAutoStartChkBox.Checked());
  EXPECT_FALSE(d.ErlaubeAdrRadioBtn.Checked());
  EXPECT_TRUE(d.VerbieteAdrRadioBtn.Checked());
  EXPECT_EQ(d.StrgAllowCombo.Selected(), 1);
  EXPECT_EQ(d.AdrListBox.Items(), (Strings{"10.0.0.1", "10.0.0.2"}));
  EXPECT_EQ(d.TimeOutEdit.Text(), "250");
  EXPECT_FALSE(d.httpheadChkBox.Checked());
  EXPECT_TRUE(d.LoggingChkBox.Checked());
  EXPECT_EQ(d.LanguageFileName, "Deutsch.dat");

  // Saved as loaded, minus the comments; the foreign section and key stay where they were.
  std::string expected = file;
  for (const std::string comment : {"; written by hand\r\n", "; comment\r\n"}) {
    expected.erase(expected.find(comment), comment.size());
  }
  EXPECT_EQ(QuitAndRead(), expected);
}

TEST_F(Settings, AddressListKeysAreRenumberedOnSave) {
  struct Case {
    std::string section;  // the sicherheit section's keys in the file
    Strings loaded;
    bool clearList;  // remove every entry before the save
    Strings saved;   // the sicherheit section after the save
  } cases[] = {
      // A gap is closed and the old last key goes.
      {"AllowIP=1\r\nStrgAllow=0\r\nIPCount=3\r\nIP_0=10.0.0.1\r\nIP_2=10.0.0.3\r\n",
       {"10.0.0.1", "10.0.0.3"},
       false,
       {"AllowIP=1", "StrgAllow=0", "IPCount=2", "IP_0=10.0.0.1", "IP_1=10.0.0.3"}},
      // A key at or above the count is neither read nor removed; empty values are skipped.
      {"AllowIP=1\r\nStrgAllow=0\r\nIPCount=2\r\nIP_0=\r\nIP_1=10.0.0.2\r\nIP_7=10.0.0.7\r\n",
       {"10.0.0.2"},
       false,
       {"AllowIP=1", "StrgAllow=0", "IPCount=1", "IP_7=10.0.0.7", "IP_0=10.0.0.2"}},
      // An emptied list removes every key of the old count.
      {"AllowIP=1\r\nStrgAllow=0\r\nIPCount=2\r\nIP_0=a\r\nIP_1=b\r\nIP_2=c\r\n",
       {"a", "b"},
       true,
       {"AllowIP=1", "StrgAllow=0", "IPCount=0", "IP_2=c"}},
      // A negative or zero count reads nothing and removes nothing.
      {"AllowIP=1\r\nStrgAllow=0\r\nIPCount=-1\r\nIP_0=a\r\n",
       {},
       false,
       {"AllowIP=1", "StrgAllow=0", "IPCount=0", "IP_0=a"}},
      // A huge count costs nothing: only the keys present are visited. Keys with leading zeros
      // are other keys.
      {"AllowIP=1\r\nStrgAllow=0\r\nIPCount=2000000000\r\nIP_01=x\r\nIP_1999999999=z\r\n"
       "ip_5=y\r\n",
       {"y", "z"},
       false,
       {"AllowIP=1", "StrgAllow=0", "IPCount=2", "IP_01=x", "IP_0=y", "IP_1=z"}},
  };
  for (const auto& c : cases) {
    ReloadPlugin("[sicherheit]\r\n" + c.section);
    EXPECT_EQ(Config().AdrListBox.Items(), c.loaded) << c.section;
    if (c.clearList) Config().AdrListBox.Clear();
    Config().CloseBttnClick();
    EXPECT_EQ(SavedSection(SettingsFile(), "sicherheit"), c.saved) << c.section;
  }
}

TEST_F(Settings, ValuesThatAreNoNumbersTakeTheDefault) {
  struct Case {
    std::string keys;
    bool autostart, erlaube, logging;
    int strgAllow;
  } cases[] = {
      {"[allgemein]\nautostart=yes\n[logging]\nEnableLog=2\n", false, true, true, 0},
      {"[allgemein]\nautostart=0x1\n[sicherheit]\nAllowIP=0\nStrgAllow=0x1\n", true, false, true,
       1},
      {"[sicherheit]\nStrgAllow=\n[logging]\nEnableLog=\n", false, true, true, 0},
      {"[sicherheit]\nAllowIP=nein\nStrgAllow=5\n[logging]\nEnableLog=0\n", false, true, false, -1},
  };
  for (const auto& c : cases) {
    ReloadPlugin("[allgemein]\nip=127.0.0.1\nport=0\n" + c.keys);
    EXPECT_EQ(Config().DienstAutoStartChkBox.Checked(), c.autostart) << c.keys;
    EXPECT_EQ(Config().ErlaubeAdrRadioBtn.Checked(), c.erlaube) << c.keys;
    EXPECT_EQ(Config().VerbieteAdrRadioBtn.Checked(), !c.erlaube) << c.keys;
    EXPECT_EQ(Config().LoggingChkBox.Checked(), c.logging) << c.keys;
    EXPECT_EQ(Config().StrgAllowCombo.Selected(), c.strgAllow) << c.keys;
  }
  // No selection is saved as -1.
  Config().CloseBttnClick();
  EXPECT_EQ(IniFile(ReadFile(SettingsFile())).ReadString("sicherheit", "StrgAllow", ""), "-1");
}

TEST_F(Settings, StoredAddressIsSelectedOnlyWhenTheHostHasIt) {
  struct Case {
    Strings local;
    std::string file;
    int selected;
  } cases[] = {
      {{"10.0.0.12", "10.0.0.1"}, "[allgemein]\nip=10.0.0.1\n", 1},
      {{"10.0.0.12", "10.0.0.1"}, "[allgemein]\nip= 10.0.0.1\t\n", 1},
      {{"10.0.0.12", "10.0.0.1"}, "[allgemein]\nip=192.168.1.1\n", 0},
      {{"10.0.0.12", "10.0.0.1"}, "[allgemein]\nip=\n", 0},
      {{"10.0.0.12", "10.0.0.1"}, "", 0},
      {{}, "[allgemein]\nip=10.0.0.1\n", -1},
  };
  for (const auto& c : cases) {
    Config().IPCombo.SetItems(c.local);
    Config().SelectStoredAddress(IniFile(c.file));
    EXPECT_EQ(Config().IPCombo.Selected(), c.selected) << c.file;
  }
  // With an empty box the next save stores an empty address.
  Config().CloseBttnClick();
  EXPECT_EQ(SavedSection(SettingsFile(), "allgemein")[0], "ip=");
}

TEST(Network, LocalAddressesEndWithLoopbackAndEveryInterface) {
  struct Case {
    bool ok;
    Strings resolved;
    Strings list;
  } cases[] = {
      {true, {"10.0.0.5", "10.0.0.6"}, {"10.0.0.5", "10.0.0.6", "127.0.0.1", "0.0.0.0"}},
      {true, {"127.0.0.1", "10.0.0.5"}, {"127.0.0.1", "10.0.0.5", "0.0.0.0"}},
      {true, {"10.0.0.5", "127.0.0.1"}, {"10.0.0.5", "127.0.0.1", "0.0.0.0"}},
      {false, {"10.0.0.5"}, {"127.0.0.1", "0.0.0.0"}},
  };
  for (const auto& c : cases) {
    Strings list = {"design-time entry"};
    int n = Network().GetLocalAddresses(&list, [&c](Strings& out) {
      out = c.resolved;
      return c.ok;
    });
    EXPECT_EQ(list, c.list);
    EXPECT_EQ(n, static_cast<int>(c.list.size()));
  }
  EXPECT_EQ(Network().GetLocalAddresses(nullptr, [](Strings&) { return false; }), 2);
}

TEST_F(Settings, SavedOnOkAndAtQuitButNotOnHiding) {
  ReloadPlugin(std::nullopt);
  Config().Show();
  Config().PortEdit.SetText("4811");
  Config().Hide();
  EXPECT_EQ(ReadFile(SettingsFile()), "");
  Config().Show();
  Config().CloseBttnClick();
  EXPECT_FALSE(Config().Shown());
  EXPECT_EQ(SavedSection(SettingsFile(), "allgemein")[1], "port=4811");
  Config().PortEdit.SetText("4812");
  // Values set over HTTP live in the controls too and are saved with the others.
  PluginInterface->SetAutostart(1);
  QuitAndRead();
  EXPECT_EQ(SavedSection(SettingsFile(), "allgemein")[1], "port=4812");
  EXPECT_EQ(SavedSection(SettingsFile(), "allgemein")[3], "autostart=1");
}

TEST_F(Settings, UnwritableOrUnreadableFileIsReportedAndNothingIsLost) {
  const std::string good = "[allgemein]\r\nport=4801\r\n\r\n";
  struct Case {
    std::string name;
    bool folderAsFile;  // else a folder blocks the temporary file
  } cases[] = {{"temporary file blocked", false}, {"folder in place of the file", true}};
  for (const auto& c : cases) {
    ReloadPlugin(c.folderAsFile ? std::nullopt : std::optional<std::string>(good));
    std::string blocker = c.folderAsFile ? SettingsFile() : SettingsFile() + ".tmp";
    fs::create_directory(blocker);
    Config().PortEdit.SetText("4999");
    log_->Clear();
    Config().CloseBttnClick();
    EXPECT_EQ(log_->Lines(), Strings{"Server: Einstellungen konnten nicht gespeichert werden (" +
                                     PluginInterface->GetIniPath() + ")"})
        << c.name;
    EXPECT_EQ(Config().PortEdit.Text(), "4999") << c.name;
    if (!c.folderAsFile) {
      EXPECT_EQ(ReadFile(SettingsFile()), good) << c.name;
    }
    fs::remove_all(blocker);
  }
}

TEST_F(Settings, UnreadableFileReadsAsMissing) {
  log_.reset();
  record_->quit();
  fs::remove(SettingsFile());
  fs::create_directory(SettingsFile());
  ASSERT_EQ(record_->init(), 0);
  EXPECT_EQ(Config().PortEdit.Text(), "4800");
  EXPECT_EQ(Config().Out.Items(), Strings{"Server: " + PluginInterface->GetIniPath()});
  log_ = std::make_unique<LogWatcher>();
}

TEST_F(Settings, AutostartBindsToTheLoadedAddressPortAndTimeOut) {
  ReloadPlugin("[allgemein]\nip=127.0.0.1\nport=0\nautostart=1\n[erweitert]\ntimeout=150\n");
  ASSERT_NE(Config().SrvSocket, nullptr);
  std::uint16_t port = Config().SrvSocket->BoundPort();
  ASSERT_NE(port, 0);
  EXPECT_EQ(Config().Out.Items(),
            (Strings{"Server: " + PluginInterface->GetIniPath(), kStartLine,
                     "Server: Port (0) initialisiert", "Server: Socketbindung erstellt",
                     "Server: Socket ist in Horchmodus"}));
  EXPECT_FALSE(Config().StartBtn.Enabled());
  EXPECT_TRUE(Config().StopBtn.Enabled());
  Client silent(port);
  ASSERT_TRUE(silent.Connected());
  EXPECT_TRUE(log_->WaitFor("Server: Timeout - Verbindung wird beendet."));

  // The start comes after every key is loaded: a time-out that is no number fails it.
  ReloadPlugin("[allgemein]\nip=127.0.0.1\nport=0\nautostart=1\n[erweitert]\ntimeout=abc\n");
  Strings lines = Config().Out.Items();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Server: Timeout (abc) ist keine Zahl"),
            lines.end());
  EXPECT_EQ(Config().SrvSocket->BoundPort(), 0);

  // With logging off the server starts silently.
  ReloadPlugin("[allgemein]\nip=127.0.0.1\nport=0\nautostart=1\n[logging]\nEnableLog=0\n");
  EXPECT_EQ(Config().Out.Count(), 0);
  EXPECT_NE(Config().SrvSocket->BoundPort(), 0);
}

TEST_F(Settings, AutostartSwitchIsTheCheckBox) {
  struct Case {
    int value;
    bool checked;
  } cases[] = {{1, true}, {0, false}, {2, false}, {-1, false}, {1, true}};
  for (const auto& c : cases) {
    PluginInterface->SetAutostart(c.value);
    EXPECT_EQ(Config().DienstAutoStartChkBox.Checked(), c.checked) << c.value;
    EXPECT_EQ(PluginInterface->GetAutostart(), c.checked ? 1 : 0) << c.value;
  }
  Config().DienstAutoStartChkBox.SetChecked(false);
  EXPECT_EQ(PluginInterface->GetAutostart(), 0);
}

TEST_F(Settings, StartWhileListeningKeepsTheRunningServer) {
  std::uint16_t port = StartServer();
  ASSERT_NE(port, 0);
  log_->Clear();
  Config().StartBtnClick();
  EXPECT_EQ(Config().SrvSocket->BoundPort(), port);
  EXPECT_EQ(log_->Lines(), Strings{});
  Request(port, "GET /A?b");
  EXPECT_TRUE(log_->WaitFor("Server: Erhalten: GET /A?b"));
}

}  // namespace
