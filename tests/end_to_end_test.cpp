// Every command end to end: a client over loopback, the plug-in, and the stand-in player's
// windows; each step checks the reply bytes and what the player did.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>

#include "protocol/host_messages.h"
#include "tests/end_to_end.h"

namespace {

using namespace testing_support;

TEST_F(EndToEnd, EveryCommandRepliesAndActsOnThePlayer) {
  using Check = std::function<bool(const sim::PlayerState&)>;
  struct Step {
    std::string query;
    std::string reply;
    Check check;
    std::int64_t advanceMs = 0;  // player time passing before the request
  };
  const Check any = [](const sim::PlayerState&) { return true; };
  const Step steps[] = {
      {"GETLISTLENGTH?p=pw", "3", any},
      {"GETVERSION?p=pw", "22118", any},
      {"GETVOLUME?p=pw", "200", any},
      {"ISPLAYING?p=pw", "0", any},
      {"GETINFO?p=pw&info=0", "0", any},
      {"play?p=pw", "NULL", [](auto& s) { return s.status == 1 && s.position == 0; }},
      {"GETCURRENTTITLE?p=pw", "1. One", any},
      {"GETOUTPUTTIME?p=pw&frmt=0", "5000", any, 5000},
      {"GETOUTPUTTIME?p=pw&frmt=1", "100", any},
      {"JUMPTOTIME?p=pw&ms=20000", "0", [](auto& s) { return s.outputTime == 20000; }},
      {"GETINFO?p=pw&info=1", "128", any},
      {"PAUSE?p=pw", "NULL", [](auto& s) { return s.status == 3; }},
      {"GETCURRENTTITLE?p=pw", "1. One", any},
      {"NEXT?p=pw", "NULL", [](auto& s) { return s.position == 1; }},
      {"PREV?p=pw", "NULL", [](auto& s) { return s.position == 0; }},
      {"SETPLAYLISTPOS?p=pw&index=2", "1", [](auto& s) { return s.position == 2; }},
      {"SETPLAYLISTPOS?p=pw&index=3", "0", [](auto& s) { return s.position == 2; }},
      {"GETLISTPOS?p=pw", "2", any},
      {"SETVOLUME?p=pw&level=100", "100", [](auto& s) { return s.volume == 100; }},
      {"VOLUMEUP?p=pw", "NULL", [](auto& s) { return s.volume == 110; }},
      {"VOLUMEDOWN?p=pw", "NULL", [](auto& s) { return s.volume == 100; }},
      {"SETEQDATA?p=pw&band=3&level=50", "50", [](auto& s) { return s.eq[3] == 50; }},
      {"GETEQDATA?p=pw&band=3", "50", any},
      {"SHUFFLE?p=pw&enable=1", "1", [](auto& s) { return s.shuffle == 1; }},
      {"SHUFFLE_STATUS?p=pw", "1", any},
      {"REPEAT_STATUS?p=pw", "0", any},
      {"INTERNET?p=pw", "1", any},
      {"GETPLAYLISTFILE?p=pw&index=1", "C:\\a\\two.mp3", any},
      {"GETPLAYLISTTITLE?p=pw&delim=;", "One;Two;Three", any},
      // The last parameter keeps the blank before "HTTP/", and the player gets it.
      {"PLAYFILE?p=pw&file=D:\\x\\new.mp3", "1",
       [](auto& s) { return s.entries.size() == 4 && s.entries[3].file == "D:\\x\\new.mp3 "; }},
      {"CHDIR?dir=C:\\Music&p=pw", "1", [](auto& s) { return s.folder == "C:\\Music"; }},
      {"DELETEPOS?p=pw&index=3x", "1", [](auto& s) { return s.entries.size() == 3; }},
      {"STOP?p=pw", "NULL", [](auto& s) { return s.status == 0; }},
      {"FADEOUTANDSTOP?p=pw", "NULL", [](auto& s) { return s.status == 0; }},
      {"SHOUTCAST_STATUS?p=pw", "Not connected", any},
      {"SHOUTCAST_CONNECT?p=pw", "Kill", [](auto& s) { return s.shoutcastCaption == "Kill"; }},
      {"SHOUTCAST_STATUS?p=pw", "Connected", any},
      {"RESTART?p=pw", "1", [](auto& s) { return s.restarts == 1; }},
      {"EXEC_VISUAL?p=pw", "0", any},
      {"UPDATECURRENTTITLE?p=pw", "0", any},
      {"FLUSHPLAYLIST?p=pw", "0", any},
      {"GETID3TAG?p=pw", "0", any},
      {"GETMPEGINFO?p=pw", "0", any},
      {"VALIDATE_PASSWORD?p=pw&pass= pw", "1", any},
      {"DELETE?p=pw", "1", [](auto& s) { return s.entries.empty(); }},
      {"GETLISTLENGTH?p=pw", "0", any},
  };
  for (const Step& step : steps) {
    now_ += step.advanceMs;
    EXPECT_EQ(Ask(step.query), step.reply + "\n") << step.query;
    EXPECT_TRUE(step.check(State())) << step.query;
  }
  EXPECT_EQ(Ask("GETINIFILE?p=pw"), folder_.Path() + "Winamp.ini\n");
}

TEST_F(EndToEnd, AutostartCommandsDriveTheCheckBox) {
  EXPECT_EQ(Ask("GETAUTOSERVICE?p=pw"), "0\n");
  EXPECT_EQ(Ask("SETAUTOSERVICE?p=pw&enable=1"), "1\n");
  EXPECT_TRUE(Config().DienstAutoStartChkBox.Checked());
  Config().DienstAutoStartChkBox.SetChecked(false);  // the user unticks it
  EXPECT_EQ(Ask("GETAUTOSERVICE?p=pw"), "0\n");
  EXPECT_EQ(Ask("SETAUTOSERVICE?p=pw&enable=5"), "0\n");
}

TEST_F(EndToEnd, SettingsChangedInTheDialogApplyToTheNextRequest) {
  EXPECT_EQ(Ask("PLAY?p=pw"), "NULL\n");
  Config().StrgAllowCombo.SetSelected(0);  // "lesend"
  EXPECT_EQ(Ask("STOP?p=pw"), "");
  EXPECT_EQ(State().status, 1);
  Config().PasswdEdit.SetText("neu");
  EXPECT_EQ(Ask("ISPLAYING?p=pw"), "");
  EXPECT_EQ(Ask("ISPLAYING?p=neu"), "1\n");
  Config().VerbieteAdrRadioBtn.SetChecked(true);  // allow-list mode with an empty list
  EXPECT_EQ(Ask("ISPLAYING?p=neu"), "");
  Config().AdrListBox.Add(" 127.0.0.1 ");
  Config().httpheadChkBox.SetChecked(true);
  std::string reply = Ask("ISPLAYING?p=neu");
  EXPECT_EQ(reply.substr(0, 16), "HTTP/1.0 200 OK\n");
  EXPECT_EQ(reply.substr(reply.size() - 4), "\n\n1\n");
}

#ifndef _WIN32
// A standard client: curl accepts the reply and prints the answer text (Content-Length excludes
// the closing line feed).
TEST_F(EndToEnd, CurlReadsTheAnswerBehindTheHeader) {
  if (std::system("curl --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "curl is not installed";
  Config().httpheadChkBox.SetChecked(true);
  std::string cmd = "curl -s -S --max-time 5 'http://127.0.0.1:" + std::to_string(port_) +
                    "/GETVOLUME?p=pw' 2>&1";
  FILE* p = popen(cmd.c_str(), "r");
  ASSERT_NE(p, nullptr);
  std::string out;
  char buf[256];
  for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
  EXPECT_EQ(pclose(p), 0);
  EXPECT_EQ(out, "200");
}
#endif

}  // namespace
