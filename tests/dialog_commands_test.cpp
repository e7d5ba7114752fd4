#include <gtest/gtest.h>

#include "base/log_sink.h"
#include "ui/console/console_output.h"
#include "ui/console/dialog_commands.h"
#include "ui/ip_address_dlg.h"

namespace {

using Strings = std::vector<std::string>;
using ui::Kind;

// A dialog with one control of each kind the commands treat differently.
class SampleDialog : public ui::Dialog {
 public:
  SampleDialog(ui::Forms& forms, const char* name)
      : ui::Dialog(forms, name, "Sample", {0, 0, 100, 100}) {
    Box.AddPartner(Other);
    Combo.SetItems({"eins", "zwei"});
    for (ui::Control* c : Controls()) {
      c->OnClick = [this, c] { events.push_back("click " + c->Name()); };
      c->OnEnter = [this, c] { events.push_back("enter " + c->Name()); };
      c->OnExit = [this, c] { events.push_back("exit " + c->Name()); };
    }
    // Like an octet field: after three characters the focus moves on.
    Field.OnKeyUp = [this] {
      events.push_back("keyup " + Field.Text());
      if (Field.Text().size() >= 3) AllForms().MoveFocus(&Btn);
    };
  }

  ui::Plain Btn{*this, {"Btn", Kind::Button, "", "&Go", {}, 0}};
  ui::CheckBox Chk{*this, {"Chk", Kind::CheckBox, "", "Check", {}, 1}};
  ui::RadioButton Box{*this, {"Box", Kind::RadioButton, "", "A", {}, 2}};
  ui::RadioButton Other{*this, {"Other", Kind::RadioButton, "", "B", {}, 3}};
  ui::Edit Field{*this, {"Field", Kind::Edit, "", "", {}, 4}};
  ui::ComboBox Combo{*this, {"Combo", Kind::ComboBox, "", "", {}, 5}};
  ui::Plain Lbl{*this, {"Lbl", Kind::Label, "", "Label", {}, -1}};
  Strings events;
};

class DialogCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    console::SetLineSink([this](const std::string& l) { out.push_back(l); });
  }
  void TearDown() override { console::SetLineSink(nullptr); }
  bool Run(const std::string& line) { return commands.Handle(line); }

  ui::Forms forms;  // before the dialogs, which belong to it
  SampleDialog first{forms, "First"};
  SampleDialog second{forms, "Second"};
  console::DialogCommands commands{[this] {
                                     return std::vector<ui::Dialog*>{&first, &second};
                                   },
                                   [this] {
                                     return std::vector<ui::Dialog*>{&second, &first};
                                   }};
  Strings out;
};

TEST_F(DialogCommandsTest, ClickActsAsAUserWouldAndRefusesUnusableControls) {
  EXPECT_TRUE(Run("click Second.Chk"));
  EXPECT_TRUE(second.Chk.Checked());
  Run("click Other");  // bare names are looked up in the lookup order: Second first
  EXPECT_TRUE(second.Other.Checked());
  EXPECT_FALSE(second.Box.Checked());
  EXPECT_EQ(second.events, (Strings{"click Chk", "click Other"}));

  second.Btn.SetEnabled(false);
  Run("click Btn");
  first.Chk.SetVisible(false);
  Run("click First.Chk");
  Run("click Lbl");
  EXPECT_EQ(out, (Strings{"ERROR Btn is disabled", "ERROR Chk is not visible",
                          "ERROR Lbl cannot be clicked"}));
  EXPECT_FALSE(first.Chk.Checked());
  Run("press Btn");  // runs the handler whatever the state
  EXPECT_EQ(second.events.back(), "click Btn");
}

TEST_F(DialogCommandsTest, FocusRunsExitThenEnter) {
  Run("focus First.Field");
  Run("focus First.Combo");
  EXPECT_EQ(first.events, (Strings{"enter Field", "exit Field", "enter Combo"}));
  EXPECT_EQ(forms.Focused(), &first.Combo);
}

TEST_F(DialogCommandsTest, TextCheckAndSelectChangeOnlyWhatTheyName) {
  Run("text Field  a b ");
  EXPECT_EQ(second.Field.Text(), " a b ");
  Run("text Field Gr\xFC\xDF"
      "e");
  EXPECT_EQ(second.Field.Text(),
            "Gr\xFC\xDF"
            "e");
  Run("text Combo zwei");
  EXPECT_EQ(second.Combo.Selected(), 1);
  Run("text Combo drei");
  Run("select Combo 2");
  Run("check Chk 2");
  EXPECT_EQ(second.Combo.Selected(), 1);
  Run("select Combo -1");
  EXPECT_EQ(second.Combo.Selected(), -1);
  Run("check Box 1");
  EXPECT_TRUE(second.Box.Checked());
  EXPECT_EQ(out, (Strings{"ERROR Combo has no entry drei", "ERROR no entry 2 in Combo",
                          "ERROR check takes 0 or 1"}));
  EXPECT_TRUE(second.events.empty());  // no Enter/Exit or click handler ran
}

TEST_F(DialogCommandsTest, KeyTypesIntoWhicheverControlHasTheFocus) {
  struct : LogSink {
    void WriteLog(const std::string&) override {}
  } noLog;
  TOKBottomDlg ip(forms, noLog);
  console::DialogCommands keys{[&ip] { return std::vector<ui::Dialog*>{&ip}; },
                               [&ip] { return std::vector<ui::Dialog*>{&ip}; }};
  keys.Handle("key IP_secondnum 12345");
  EXPECT_EQ(ip.IP_secondnum.Text(), "123");  // then the focus moved on
  EXPECT_EQ(ip.IP_thirdnum.Text(), "45");
  EXPECT_EQ(forms.Focused(), &ip.IP_thirdnum);
  keys.Handle("key OKBtn 1");
  EXPECT_EQ(out, (Strings{"ERROR OKBtn is no octet field"}));
}

TEST_F(DialogCommandsTest, MalformedAndUnknownCommands) {
  EXPECT_FALSE(Run("state"));
  EXPECT_FALSE(Run("clicks Btn"));
  Run("click");
  Run("text Field");
  Run("click Nope");
  Run("click Third.Btn");
  Run("dump x");
  EXPECT_EQ(out, (Strings{"ERROR usage: click NAME", "ERROR usage: text NAME VALUE",
                          "ERROR no control Nope", "ERROR no dialog Third",
                          "ERROR dump takes no argument"}));
}

TEST_F(DialogCommandsTest, DumpListsEveryPropertyOfEveryControl) {
  second.Show();
  second.Field.SetText("a\\b\xFC");
  second.Combo.SetSelected(1);
  Run("focus Second.Chk");
  out.clear();
  console::DialogCommands one{[this] { return std::vector<ui::Dialog*>{&second}; },
                              [this] { return std::vector<ui::Dialog*>{&second}; }};
  one.Handle("dump");
  EXPECT_EQ(out, (Strings{
                     "CTRL Second.shown=1",
                     "CTRL Second.Btn.caption=&Go",
                     "CTRL Second.Btn.enabled=1",
                     "CTRL Second.Btn.visible=1",
                     "CTRL Second.Btn.focused=0",
                     "CTRL Second.Chk.caption=Check",
                     "CTRL Second.Chk.checked=0",
                     "CTRL Second.Chk.enabled=1",
                     "CTRL Second.Chk.visible=1",
                     "CTRL Second.Chk.focused=1",
                     "CTRL Second.Box.caption=A",
                     "CTRL Second.Box.checked=0",
                     "CTRL Second.Box.enabled=1",
                     "CTRL Second.Box.visible=1",
                     "CTRL Second.Box.focused=0",
                     "CTRL Second.Other.caption=B",
                     "CTRL Second.Other.checked=0",
                     "CTRL Second.Other.enabled=1",
                     "CTRL Second.Other.visible=1",
                     "CTRL Second.Other.focused=0",
                     "CTRL Second.Field.text=a\\\\b\xC3\xBC",
                     "CTRL Second.Field.enabled=1",
                     "CTRL Second.Field.visible=1",
                     "CTRL Second.Field.focused=0",
                     "CTRL Second.Combo.text=zwei",
                     "CTRL Second.Combo.count=2",
                     "CTRL Second.Combo.item.0=eins",
                     "CTRL Second.Combo.item.1=zwei",
                     "CTRL Second.Combo.selected=1",
                     "CTRL Second.Combo.enabled=1",
                     "CTRL Second.Combo.visible=1",
                     "CTRL Second.Combo.focused=0",
                     "CTRL Second.Lbl.caption=Label",
                     "CTRL Second.Lbl.enabled=1",
                     "CTRL Second.Lbl.visible=1",
                     "CTRL Second.Lbl.focused=0",
                     "CTRL end",
                 }));
}

}  // namespace
