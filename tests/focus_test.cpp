// Focus and typing as the models keep them for both faces: the octet fields' mask, each form's
// first control and its own focus, and the tab chain through radio buttons and pages.
#include <gtest/gtest.h>

#include <memory>

#include "base/log_sink.h"
#include "tests/support.h"
#include "ui/config_dlg.h"
#include "ui/dialog_set.h"
#include "ui/ip_address_dlg.h"
#include "ui/restart_dlg.h"

namespace {

using namespace testing_support;
using Strings = std::vector<std::string>;

class Focus : public PluginTest {};

TEST(OctetMask, TypingReplacesTheSelectionWithAsManyDigitsAsFit) {
  struct Case {
    std::string text;
    std::size_t from, to;
    std::string typed;
    std::string after;  // "" when the field stays as it is
    std::size_t caret;
  } cases[] = {
      {"   ", 0, 0, "1", "1", 1},                                    // blanks are empty places
      {"12", 2, 2, "3", "123", 3},     {"12", 0, 0, "3", "312", 1},  // at the caret, not at the end
      {"123", 3, 3, "4", "", 0},                                     // full
      {"123", 0, 3, "4", "4", 1},                                    // over the selection
      {"123", 1, 2, "9", "193", 2},                                  // over a selected middle digit
      {"1", 1, 1, "x", "", 0},                                       // digits only
      {"", 0, 0, "192.168", "192", 3},  // a paste: its digits, as many as fit
      {"7", 0, 0, " 1a2 3", "127", 2},  // a paste before a digit
  };
  for (const auto& c : cases) {
    auto typed = TOKBottomDlg::TypeOver(c.text, c.from, c.to, c.typed);
    ASSERT_EQ(typed.has_value(), !c.after.empty()) << c.text << " + " << c.typed;
    if (!typed) continue;
    EXPECT_EQ(typed->text, c.after) << c.text << " + " << c.typed;
    EXPECT_EQ(typed->caret, c.caret) << c.text << " + " << c.typed;
  }
}

TEST_F(Focus, AShownFormHasItsFirstControlFocusedAndKeepsItsFocusWhileAnotherIsActive) {
  TConfigDlg& config = Config();
  TServerRestartDlg& restart = PluginDialogs().Restart();
  TOKBottomDlg& ip = PluginDialogs().OpenIpAddress();
  struct Case {
    ui::Dialog* form;
    ui::Control* first;
  } cases[] = {
      {&config, &config.CloseBttn}, {&restart, &restart.RestartBtn}, {&ip, &ip.IP_firstnum}};
  for (const auto& c : cases) {
    c.form->Show();
    EXPECT_EQ(c.form->FocusedControl(), c.first) << c.form->Name();
    EXPECT_EQ(Forms().Focused(), c.first) << c.form->Name();
  }
  ip.Hide();
  restart.Hide();
  EXPECT_EQ(Forms().Focused(), &config.CloseBttn);  // the form active before

  // A changed port whose form loses the activation to another form runs no Exit handler; the
  // next move within the form does.
  Forms().MoveFocus(&config.PortEdit);
  config.PortEdit.SetText("4999");
  ip.Show();
  Forms().MoveFocus(&ip.IP_secondnum);
  EXPECT_FALSE(restart.Shown());
  ip.Hide();
  Forms().MoveFocus(&config.PortEdit);  // the window activated again
  EXPECT_FALSE(restart.Shown());
  Forms().MoveFocus(&config.httpheadChkBox);
  EXPECT_TRUE(restart.Shown());
  restart.Hide();
  config.Hide();
}

TEST_F(Focus, TabSkipsTheUncheckedRadioButtonAndFollowsTheActivePage) {
  TConfigDlg& d = Config();
  auto names = [](const std::vector<ui::Control*>& chain) {
    Strings out;
    for (const ui::Control* c : chain) out.push_back(c->Name());
    return out;
  };
  EXPECT_EQ(names(d.TabChain()),
            (Strings{"CloseBttn", "TabPages", "IPCombo", "PasswdEdit", "DienstAutoStartChkBox",
                     "PortEdit", "httpheadChkBox", "TimeOutEdit", "StartBtn"}));
  EXPECT_EQ(names(d.TabChain(&d.SicherheitTab)),
            (Strings{"CloseBttn", "TabPages", "ErlaubeAdrRadioBtn", "hinzfuegenBtn", "entfernenBtn",
                     "AdrListBox", "StrgAllowCombo", "StartBtn"}));
  d.VerbieteAdrRadioBtn.SetChecked(true);
  EXPECT_EQ(names(d.TabChain(&d.SicherheitTab))[2], "VerbieteAdrRadioBtn");
}

// A face attached late still sees every dialog, and a dialog's view goes before the dialog does,
// when the dialog goes or when the face is detached.
TEST(Forms, AFaceSeesTheDialogsThereAndLaterAndTheirViewsGoBeforeThem) {
  struct : LogSink {
    void WriteLog(const std::string&) override {}
  } noLog;
  Strings events;
  struct View : ui::View {
    View(Strings& events, ui::Dialog& d) : events(events), dialog(d) {}
    ~View() override { events.push_back("view gone, focus " + dialog.FocusedControl()->Name()); }
    Strings& events;
    ui::Dialog& dialog;
  };
  struct Face : ui::Face {
    explicit Face(Strings& events) : events(events) {}
    void Created(ui::Dialog& d) override {
      events.push_back("created");
      d.SetView(std::make_unique<View>(events, d));
    }
    void Destroyed(ui::Dialog&) override { events.push_back("destroyed"); }
    void Shown(ui::Dialog& d) override { events.push_back(d.Shown() ? "shown" : "hidden"); }
    void RunModal(ui::Dialog& d) override { d.SetModalResult(ui::ModalResult::OK); }
    Strings& events;
  } face(events);

  ui::Forms forms;
  TOKBottomDlg before(forms, noLog);
  EXPECT_EQ(before.ShowModal(), ui::ModalResult::Cancel);  // no face runs the loop
  forms.SetFace(&face);
  {
    TOKBottomDlg later(forms, noLog);
    EXPECT_EQ(later.ShowModal(), ui::ModalResult::OK);
    forms.MoveFocus(&later.IP_thirdnum);
    EXPECT_EQ(forms.Focused(), &later.IP_thirdnum);
  }
  EXPECT_EQ(forms.Focused(), nullptr);  // the form that had it is gone
  forms.MoveFocus(&before.IP_secondnum);
  forms.SetFace(nullptr);
  before.Show();
  EXPECT_EQ(before.GetView(), nullptr);
  EXPECT_EQ(events, (Strings{"created", "created", "shown", "hidden", "destroyed",
                             "view gone, focus IP_thirdnum", "destroyed",
                             "view gone, focus IP_secondnum"}));
}

}  // namespace
