// The address list in both modes and the password, with the exact lines they log.
#include <gtest/gtest.h>

#include <algorithm>

#include "protocol/host_messages.h"
#include "tests/fake_host.h"
#include "ui/config_dlg.h"

namespace {

using namespace testing_support;
using Strings = std::vector<std::string>;

const std::string kFound = "Server: IP (127.0.0.1) gefunden";
const std::string kAllowed = "Server: IP (127.0.0.1) erlaubt";
const std::string kBlocked = "Server: IP (127.0.0.1) gesperrt";
const std::string kNoList = "Server: Keine IPs in Liste gefunden";
const std::string kNoP = "Server: Parameter (p) nicht gefunden";
const std::string kAccepted = "Server: Passwort aktzeptiert";
const std::string kRefused = "Server: Passwort abgelehnt";
const std::string kServed = "Server: Server returned value: 5";

class Access : public AnswerTest {
 protected:
  // Sets the address list and its mode; returns a description for the trace.
  std::string UseList(const Strings& list, bool blockList) {
    Config().AdrListBox.SetItems(list);
    (blockList ? Config().ErlaubeAdrRadioBtn : Config().VerbieteAdrRadioBtn).SetChecked(true);
    return ::testing::PrintToString(list) + (blockList ? " block" : " allow");
  }
};

TEST_F(Access, AddressListInBothModes) {
  struct Case {
    bool blockList;
    Strings list;
    Strings lines;
  } cases[] = {
      {true, {}, {kNoList, kAllowed, kNoP, kAccepted, kServed}},
      {false, {}, {kNoList, kBlocked}},
      {true, {"10.0.0.1", " 127.0.0.1 "}, {kFound, kBlocked}},
      {true, {"10.0.0.1", "127.0.0.10"}, {kAllowed, kNoP, kAccepted, kServed}},
      {false, {"\t127.0.0.1  ", "127.0.0.1"}, {kFound, kAllowed, kNoP, kAccepted, kServed}},
      {false, {"127.000.000.001", "127.0.0"}, {kBlocked}},
  };
  SetResult(hostmsg::IPC_GETVERSION, 5);
  for (const auto& c : cases) {
    SCOPED_TRACE(UseList(c.list, c.blockList));
    std::string reply;
    EXPECT_EQ(EvaluationLines("GETVERSION?", &reply), c.lines);
    EXPECT_EQ(reply, c.lines.back() == kServed ? "5\n" : "");
  }
}

TEST_F(Access, PasswordIsTrimmedAndCaseSensitive) {
  struct Case {
    const char* configured;
    const char* params;
    Strings lines;
  } cases[] = {
      {"", "", {kNoP, kAccepted}},
      {"", "p=", {kAccepted}},
      {"", "p=%20", {kRefused}},
      {" \t", "p= &a=1", {kAccepted}},
      {"", "p=x", {kRefused}},
      {"Geheim", "", {kNoP, kRefused}},
      {"Geheim", "p=Geheim", {kAccepted}},
      {" Geheim\t", "p=  Geheim &a=1", {kAccepted}},
      {"Geheim", "p=geheim", {kRefused}},
      {"Geheim", "P=Geheim", {kNoP, kRefused}},
      // "p=" is found anywhere in a parameter: the first one containing it wins.
      {"Geheim", "xp=Geheim&p=wrong", {kAccepted}},
      {"Geheim", "xp=wrong&p=Geheim", {kRefused}},
      {"Geheim", "p=Geheim=x", {kRefused}},
  };
  SetResult(hostmsg::IPC_GETVERSION, 5);
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.configured) + " / " + c.params);
    Config().PasswdEdit.SetText(c.configured);
    Strings expected = {kNoList, kAllowed};
    expected.insert(expected.end(), c.lines.begin(), c.lines.end());
    if (c.lines.back() == kAccepted) expected.push_back(kServed);
    std::string reply;
    EXPECT_EQ(EvaluationLines(std::string("GETVERSION?") + c.params, &reply), expected);
    EXPECT_EQ(reply, c.lines.back() == kAccepted ? "5\n" : "");
  }
  EXPECT_EQ(main_->Calls().size(), 6u);  // only the accepted requests reached the player
}

TEST_F(Access, ClientAddressesBeyondLoopback) {
  struct Case {
    const char* address;
    bool blockList;
    Strings list;
    bool allowed;
  } cases[] = {
      {"192.168.1.20", true, {"192.168.1.2", "10.0.0.1"}, true},
      {"192.168.1.20", true, {"10.0.0.1", "192.168.1.20"}, false},
      {"192.168.1.20", false, {"192.168.1.20"}, true},
      {"192.168.1.20", false, {"192.168.1.200"}, false},
  };
  SetResult(hostmsg::IPC_GETVERSION, 5);
  for (const auto& c : cases) {
    SCOPED_TRACE(UseList(c.list, c.blockList));
    std::string reply;
    Strings lines = EvaluationLines("GETVERSION?", &reply, c.address);
    const std::string ip = "Server: IP (" + std::string(c.address) + ")";
    EXPECT_EQ(std::count(lines.begin(), lines.end(), ip + " gefunden"), c.blockList != c.allowed);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), ip + (c.allowed ? " erlaubt" : " gesperrt")),
              1);
    EXPECT_EQ(reply, c.allowed ? "5\n" : "");
  }
}

}  // namespace
