// The restart offer and the restart dialog, the IP address dialog and the add button, driven
// through the models and handlers as a face would drive them.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/net.h"
#include "plugin/interface.h"
#include "server/server_socket.h"
#include "tests/support.h"
#include "ui/config_dlg.h"
#include "ui/ip_address_dlg.h"
#include "ui/restart_dlg.h"

namespace {

using namespace testing_support;
using Strings = std::vector<std::string>;

const std::string kStartLine = "Server: " + std::string(65, '-');

int Count(const Strings& lines, const std::string& line) {
  return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

// A face for one test, attached to the plug-in's forms until its end: `modal` is the modal
// loop; it counts the IP address dialogs built and gone.
class TestFace final : public ui::Face {
 public:
  explicit TestFace(std::function<void(ui::Dialog&)> modal) : modal_(std::move(modal)) {
    Forms().SetFace(this);
  }
  ~TestFace() override { Forms().SetFace(nullptr); }
  void Created(ui::Dialog& d) override { created += d.Name() == "OKBottomDlg"; }
  void Destroyed(ui::Dialog& d) override { destroyed += d.Name() == "OKBottomDlg"; }
  void Shown(ui::Dialog&) override {}
  void RunModal(ui::Dialog& d) override { modal_(d); }

  int created = 0;
  int destroyed = 0;

 private:
  std::function<void(ui::Dialog&)> modal_;
};

class Dialogs : public PluginTest {
 protected:
  // Stops and waits until the worker that waited in accept has ended, so that no line of it
  // arrives later.
  void StopAndWait() {
    log_->Clear();
    StopServer();
    ASSERT_TRUE(log_->WaitFor("Server: Client connect beendet."));
  }
};

TEST_F(Dialogs, NamesThatFacesFindThemBy) {
  EXPECT_EQ(Config().Name(), "ConfigDlg");
  EXPECT_EQ(PluginDialogs().Restart().Name(), "ServerRestartDlg");
  EXPECT_EQ(PluginDialogs().Restart().Caption(), "Serveroptionen ge\xE4ndert");
  EXPECT_FALSE(PluginDialogs().Restart().Shown());
  TOKBottomDlg& ip = PluginDialogs().OpenIpAddress();
  EXPECT_EQ(ip.Name(), "OKBottomDlg");
  EXPECT_EQ(PluginDialogs().Named("OKBottomDlg"), &ip);
  PluginDialogs().CloseIpAddress();
}

TEST_F(Dialogs, ChangingAddressPortOrTimeOutOffersTheRestart) {
  TConfigDlg& d = Config();
  d.IPCombo.SetItems({"127.0.0.1", "0.0.0.0"});
  struct Case {
    ui::Control* control;
    std::string before, after;  // texts, or for IPCombo the selected entry
    bool offered;
  } cases[] = {
      {&d.PortEdit, "4800", "4801", true},
      {&d.PortEdit, "4800", " 4800\t", false},
      {&d.PortEdit, " 4800 ", "4800", false},
      {&d.PortEdit, "4800", "4800", false},
      {&d.PortEdit, "abc", "ABC", true},
      {&d.TimeOutEdit, "1000", "999", true},
      {&d.TimeOutEdit, "1000", "1000 ", false},
      {&d.IPCombo, "127.0.0.1", "0.0.0.0", true},
      {&d.IPCombo, "127.0.0.1", "127.0.0.1", false},
  };
  auto set = [&d](ui::Control* c, const std::string& value) {
    if (c == &d.IPCombo) {
      d.IPCombo.SetSelected(d.IPCombo.IndexOf(value));
    } else {
      static_cast<ui::Edit*>(c)->SetText(value);
    }
  };
  for (const auto& c : cases) {
    PluginDialogs().Restart().Hide();
    set(c.control, c.before);
    Forms().MoveFocus(c.control);
    set(c.control, c.after);
    Forms().MoveFocus(&d.httpheadChkBox);
    EXPECT_EQ(PluginDialogs().Restart().Shown(), c.offered)
        << c.control->Name() << " '" << c.before << "' -> '" << c.after << "'";
  }

  // Tabbing through the three without a change never offers it.
  PluginDialogs().Restart().Hide();
  for (ui::Control* c :
       {static_cast<ui::Control*>(&d.IPCombo), static_cast<ui::Control*>(&d.PortEdit),
        static_cast<ui::Control*>(&d.TimeOutEdit), static_cast<ui::Control*>(&d.IPCombo)}) {
    Forms().MoveFocus(c);
  }
  Forms().MoveFocus(nullptr);
  EXPECT_FALSE(PluginDialogs().Restart().Shown());
}

TEST_F(Dialogs, RestartWhileRunningMovesTheServerToTheNewPort) {
  std::uint16_t old = StartServer();
  ASSERT_NE(old, 0);
  ServerSocket* server = Config().SrvSocket.get();
  std::uint16_t fresh = FreePort();
  ASSERT_NE(fresh, 0);
  Forms().MoveFocus(&Config().PortEdit);
  Config().PortEdit.SetText(std::to_string(fresh));
  Forms().MoveFocus(nullptr);
  ASSERT_TRUE(PluginDialogs().Restart().Shown());
  log_->Clear();

  PluginDialogs().Restart().RestartBtn.OnClick();
  EXPECT_FALSE(PluginDialogs().Restart().Shown());
  EXPECT_EQ(Config().SrvSocket.get(), server);
  EXPECT_EQ(server->BoundPort(), fresh);
  Strings lines = log_->Lines();
  EXPECT_EQ(Count(lines, "Server: Shutdown wird durchgef\xFChrt"), 1);
  EXPECT_EQ(Count(lines, kStartLine), 1);
  EXPECT_EQ(Count(lines, "Server: Port (" + std::to_string(fresh) + ") initialisiert"), 1);
  Request(fresh, "GET /NEU?x");
  EXPECT_TRUE(log_->WaitFor("Server: Erhalten: GET /NEU?x"));
  EXPECT_FALSE(Config().StartBtn.Enabled());
}

TEST_F(Dialogs, CancelLeavesTheServerAsItIs) {
  std::uint16_t old = StartServer();
  Forms().MoveFocus(&Config().PortEdit);
  Config().PortEdit.SetText("0 ");
  Config().TimeOutEdit.SetText("300");
  Forms().MoveFocus(&Config().TimeOutEdit);  // PortEdit unchanged after trimming: no offer
  EXPECT_FALSE(PluginDialogs().Restart().Shown());
  Config().TimeOutEdit.SetText("301");
  Forms().MoveFocus(nullptr);
  ASSERT_TRUE(PluginDialogs().Restart().Shown());
  log_->Clear();
  PluginDialogs().Restart().CancelBtn.OnClick();
  EXPECT_FALSE(PluginDialogs().Restart().Shown());
  EXPECT_EQ(Config().SrvSocket->BoundPort(), old);
  EXPECT_EQ(log_->Lines(), Strings{});
}

TEST_F(Dialogs, RestartWhileStoppedStartsTheServer) {
  struct Case {
    bool startedBefore;
  } cases[] = {{false}, {true}};
  for (const auto& c : cases) {
    if (c.startedBefore) {
      StartServer();
      StopAndWait();
    }
    Config().PortEdit.SetText("0");
    PluginDialogs().Restart().Show();
    log_->Clear();
    PluginDialogs().Restart().RestartBtnClick();
    EXPECT_FALSE(PluginDialogs().Restart().Shown());
    ASSERT_TRUE(Config().SrvSocket);
    EXPECT_NE(Config().SrvSocket->BoundPort(), 0);
    Strings lines = log_->Lines();
    // Without a server object there is nothing to shut down; with one, the closed server is
    // shut down once more.
    EXPECT_EQ(Count(lines, "Server: Server beendet"), c.startedBefore ? 1 : 0);
    EXPECT_EQ(lines.back(), "Server: Socket ist in Horchmodus");
    EXPECT_FALSE(Config().StartBtn.Enabled());
    StopAndWait();
  }
}

TEST(IPAddressDialog, OctetsAreNormalised) {
  struct Case {
    std::string typed, normal;
    bool valid;
  } cases[] = {
      {"", "", false},        {"   ", "", false},           {"9", "9", true},
      {"99 ", "99", true},    {"999", "255", true},         {"256", "255", true},
      {"255", "255", true},   {"007", "007", true},         {"000", "000", true},
      {"1 3", "13", true},    {" 1 ", "1", true},           {"1  3", "1 3", false},
      {"a1", "a1", false},    {"-1", "-1", false},          {"\t12\r", "12", true},
      {"99999", "255", true}, {"99999999999", "255", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TOKBottomDlg::NormalizeOctet(c.typed), c.normal) << "'" << c.typed << "'";
    EXPECT_EQ(TOKBottomDlg::IsOctetValid(c.typed), c.valid) << "'" << c.typed << "'";
  }
}

TEST_F(Dialogs, TypingMovesTheFocusOnOnceAFieldIsFull) {
  TOKBottomDlg& d = PluginDialogs().OpenIpAddress();
  EXPECT_EQ(d.IP_firstnum.Text(), "   ");
  EXPECT_FALSE(d.IsAddressValid());
  struct Step {
    ui::Edit* field;
    char key;
    std::string text;  // the field's text after the key
    ui::Control* focus;
  } steps[] = {
      {&d.IP_firstnum, '9', "9", &d.IP_firstnum},    {&d.IP_firstnum, '9', "99", &d.IP_firstnum},
      {&d.IP_firstnum, '9', "255", &d.IP_secondnum}, {&d.IP_secondnum, '1', "1", &d.IP_secondnum},
      {&d.IP_secondnum, 'x', "1", &d.IP_secondnum},  // the mask takes digits only
      {&d.IP_secondnum, '2', "12", &d.IP_secondnum}, {&d.IP_secondnum, '7', "127", &d.IP_thirdnum},
      {&d.IP_thirdnum, '0', "0", &d.IP_thirdnum},    {&d.IP_thirdnum, '0', "00", &d.IP_thirdnum},
      {&d.IP_thirdnum, '7', "007", &d.IP_fourthnum}, {&d.IP_fourthnum, '3', "3", &d.IP_fourthnum},
      {&d.IP_fourthnum, '0', "30", &d.IP_fourthnum}, {&d.IP_fourthnum, '0', "255", &d.OKBtn},
  };
  Forms().MoveFocus(&d.IP_firstnum);
  for (const auto& s : steps) {
    d.TypeKey(*s.field, s.key);
    EXPECT_EQ(s.field->Text(), s.text) << s.field->Name() << " " << s.key;
    EXPECT_EQ(Forms().Focused(), s.focus) << s.field->Name() << " " << s.key;
  }
  EXPECT_TRUE(d.IsAddressValid());
  EXPECT_EQ(d.GetAddressText(), "255.127.007.255");

  // A dot moves on from a field that holds a digit, and from no other.
  d.IP_firstnum.SetText("");
  Forms().MoveFocus(&d.IP_firstnum);
  d.TypeKey(d.IP_firstnum, '.');
  EXPECT_EQ(Forms().Focused(), &d.IP_firstnum);
  d.TypeKey(d.IP_firstnum, '1');
  d.TypeKey(d.IP_firstnum, '.');
  EXPECT_EQ(Forms().Focused(), &d.IP_secondnum);

  // Tabbing into a full field passes through it: the Tab's release lands there.
  Forms().MoveFocus(&d.IP_secondnum);
  d.TypeKey(d.IP_secondnum, '\t');
  EXPECT_EQ(Forms().Focused(), &d.IP_thirdnum);

  // A deleted middle digit leaves a blank that the next release closes; leaving a field
  // normalises it too.
  d.IP_firstnum.SetText("1 3");
  Forms().MoveFocus(&d.IP_firstnum);
  d.TypeKey(d.IP_firstnum, '\b');
  EXPECT_EQ(d.IP_firstnum.Text(), "13");
  d.IP_secondnum.SetText(" 300");
  Forms().MoveFocus(&d.IP_secondnum);
  Forms().MoveFocus(&d.IP_thirdnum);
  EXPECT_EQ(d.IP_secondnum.Text(), "255");
  EXPECT_EQ(d.GetAddressText(), "13.255.007.255");
  Forms().MoveFocus(nullptr);
}

TEST_F(Dialogs, AddButtonAppendsWhatTheIPDialogGives) {
  struct Case {
    Strings octets;  // typed into the four fields
    bool ok;         // else Cancel
    Strings added;
  } cases[] = {
      {{"10", "0", "0", "7"}, true, {"10.0.0.7"}},
      {{"007", "1", "2", "3"}, true, {"007.1.2.3"}},
      {{"999", "999", "999", "999"}, true, {"255.255.255.255"}},
      {{"10", "0", "0", ""}, true, {}},
      {{"10", "0", "0", "7"}, false, {}},
      {{"10", "0", "0", "7"}, true, {"10.0.0.7"}},  // a duplicate is added again
  };
  const Case* current = nullptr;
  int modal = 0;
  TestFace face([&](ui::Dialog& dialog) {
    ++modal;
    auto& d = static_cast<TOKBottomDlg&>(dialog);
    EXPECT_EQ(PluginDialogs().IpAddress(), &d);
    EXPECT_TRUE(d.Shown());
    ui::Edit* fields[] = {&d.IP_firstnum, &d.IP_secondnum, &d.IP_thirdnum, &d.IP_fourthnum};
    for (int i = 0; i < 4; ++i) {
      Forms().MoveFocus(fields[i]);
      for (char ch : current->octets[static_cast<std::size_t>(i)]) {
        d.TypeKey(*fields[i], ch);
      }
    }
    (current->ok ? d.OKBtn : d.CancelBtn).OnClick();
  });
  Strings expected;
  Forms().MoveFocus(&Config().AdrListBox);
  for (const auto& c : cases) {
    current = &c;
    Config().hinzfuegenBtn.OnClick();
    expected.insert(expected.end(), c.added.begin(), c.added.end());
    EXPECT_EQ(Config().AdrListBox.Items(), expected) << c.octets[0] << " " << c.ok;
    EXPECT_EQ(PluginDialogs().IpAddress(), nullptr);
    EXPECT_EQ(Forms().Focused(), &Config().AdrListBox);  // back where it was
  }
  EXPECT_EQ(modal, 6);
  EXPECT_EQ(face.created, 6);
  EXPECT_EQ(face.destroyed, 6);

  // Both copies of the duplicate are saved.
  Config().CloseBttnClick();
  std::string saved = ReadFile(SettingsFile());
  EXPECT_NE(saved.find("IPCount=4\r\nIP_0=10.0.0.7\r\nIP_1=007.1.2.3\r\nIP_2=255.255.255.255\r\n"
                       "IP_3=10.0.0.7\r\n"),
            std::string::npos);
}

TEST_F(Dialogs, AddButtonWhileTheIPDialogIsOpenIsIgnored) {
  int modal = 0;
  TestFace face([&](ui::Dialog& dialog) {
    ++modal;
    Config().hinzfuegenBtn.OnClick();  // a script pressing it again
    auto& d = static_cast<TOKBottomDlg&>(dialog);
    EXPECT_EQ(PluginDialogs().IpAddress(), &d);
    for (ui::Edit* f : {&d.IP_firstnum, &d.IP_secondnum, &d.IP_thirdnum, &d.IP_fourthnum}) {
      f->SetText("1");
    }
    d.OKBtn.OnClick();
  });
  Config().hinzfuegenBtnClick();
  EXPECT_EQ(modal, 1);
  EXPECT_EQ(Config().AdrListBox.Items(), Strings{"1.1.1.1"});
}

TEST_F(Dialogs, AddButtonWithoutAFaceAddsNothing) {
  Config().hinzfuegenBtnClick();
  EXPECT_EQ(Config().AdrListBox.Count(), 0);
  EXPECT_EQ(PluginDialogs().IpAddress(), nullptr);
}

}  // namespace
