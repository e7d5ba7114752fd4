// The built playersim as a child process: its command line, its standard-input commands and the
// ways it ends. Native only.
#ifndef _WIN32

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/playersim_process.h"
#include "tests/support.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testing_support::Playersim;

std::vector<std::string> EqAndRest(const std::vector<std::string>& tail) {
  std::vector<std::string> lines;
  for (int band = 0; band <= 10; ++band)
    lines.push_back("STATE eq." + std::to_string(band) + "=31");
  lines.insert(lines.end(), {"STATE eq.11=0", "STATE eq.12=0", "STATE shuffle=0", "STATE repeat=0",
                             "STATE folder=", "STATE restarts=0"});
  lines.insert(lines.end(), tail.begin(), tail.end());
  return lines;
}

TEST(PlayersimProcess, PlaylistStateErrorsAndQuit) {
  testing_support::TempFolder folder;
  const std::string dir = folder.Path() + "player";
  const std::string list = folder.Path() + "list.m3u";
  std::ofstream(list, std::ios::binary) << "#EXTM3U\r\n#EXTINF:61,M\xFC"
                                           "ller - Eins\r\nC:\\M\\1.mp3\r\n"
                                        << "rel/dir\\Zwei.ogg\n";
  Playersim p({"--dir", dir, "--playlist", list, "--no-shoutcast"});
  ASSERT_TRUE(p.Started());
  p.Write("state\nbogus command\n\nquit\nstate\n");
  EXPECT_EQ(p.ExitCode(), 0);
  std::vector<std::string> expected = {
      "STATE status=0",
      "STATE volume=200",
      "STATE position=0",
      "STATE outputtime=0",
      "STATE length=2",
      "STATE entry.0.file=C:\\\\M\\\\1.mp3",
      "STATE entry.0.title=M\xC3\xBCller - Eins",
      "STATE entry.1.file=rel/dir\\\\Zwei.ogg",
      "STATE entry.1.title=Zwei",
  };
  for (const auto& l :
       EqAndRest({"STATE end", "ERROR unknown command bogus command", "ERROR empty command"})) {
    expected.push_back(l);
  }
  EXPECT_EQ(p.OwnLines(), expected);
  EXPECT_TRUE(std::filesystem::is_directory(dir + "/Plugins"));
}

TEST(PlayersimProcess, DemoPlaylistShoutcastAndLogDump) {
  testing_support::TempFolder folder;
  Playersim p({"--dir", folder.Path()});
  ASSERT_TRUE(p.Started());
  p.Write("state\n");
  ASSERT_TRUE(p.ReadUntil("STATE end"));
  // Every log line printed so far comes back, in order, from the log command.
  std::vector<std::string> logged;
  for (const auto& l : p.Lines()) {
    if (l.rfind("LOG ", 0) == 0) logged.push_back("LOGDUMP " + l.substr(4));
  }
  logged.push_back("LOGDUMP end");
  p.Write("log\n");
  ASSERT_TRUE(p.ReadUntil("LOGDUMP end"));
  p.CloseInput();
  EXPECT_EQ(p.ExitCode(), 0);
  std::vector<std::string> dump;
  std::vector<std::string> state;
  for (const auto& l : p.Lines()) {
    if (l.rfind("LOGDUMP ", 0) == 0) dump.push_back(l);
    if (l.rfind("STATE ", 0) == 0) state.push_back(l);
  }
  EXPECT_EQ(dump, logged);
  ASSERT_GE(state.size(), 5u);
  EXPECT_EQ(state[4], "STATE length=3");
  std::vector<std::string> tail(state.end() - 3, state.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"STATE shoutcast.caption=Connect",
                                            "STATE shoutcast.status=Not connected", "STATE end"}));
}

TEST(PlayersimProcess, EndOfInputAndSignalsQuitCleanly) {
  for (int how : {0, SIGTERM, SIGINT}) {
    testing_support::TempFolder folder;
    Playersim p({"--dir", folder.Path(), "--no-shoutcast"});
    ASSERT_TRUE(p.Started());
    p.Write("state\n");
    ASSERT_TRUE(p.ReadUntil("STATE end"));  // running, with its signals taken over
    if (how == 0) {
      p.Write("state");  // a last line without its line end still counts
      p.CloseInput();
    } else {
      kill(p.Pid(), how);
    }
    EXPECT_EQ(p.ExitCode(), 0) << "signal " << how;
    int ends = 0;
    for (const auto& l : p.Lines()) ends += l == "STATE end";
    EXPECT_EQ(ends, how == 0 ? 2 : 1);
  }
}

TEST(PlayersimProcess, BadCommandLineIsRefused) {
  struct Case {
    std::vector<std::string> args;
    std::string line;
  } cases[] = {
      {{"--bogus"}, "ERROR unknown option --bogus"},
      {{"--dir"}, "ERROR option --dir needs a value"},
      {{"--playlist", "/nonexistent/velotam/list.m3u"},
       "ERROR cannot read playlist /nonexistent/velotam/list.m3u"},
  };
  for (const auto& c : cases) {
    Playersim p(c.args);
    ASSERT_TRUE(p.Started());
    EXPECT_EQ(p.ExitCode(), 2);
    EXPECT_EQ(p.Lines(), std::vector<std::string>{c.line});
  }
}

// The lines of a dump that are about the named controls.
std::vector<std::string> DumpOf(const std::vector<std::string>& lines,
                                const std::vector<std::string>& prefixes) {
  std::vector<std::string> picked;
  for (const auto& l : lines) {
    for (const auto& p : prefixes) {
      if (l.rfind("CTRL " + p, 0) == 0) picked.push_back(l);
    }
  }
  return picked;
}

TEST(PlayersimProcess, DialogCommandsOfferTheRestartAndTheSettingsComeBack) {
  testing_support::TempFolder folder;
  {
    Playersim p({"--dir", folder.Path()});
    ASSERT_TRUE(p.Started());
    p.Write(
        "focus PortEdit\ntext PortEdit 4999\nfocus TimeOutEdit\n"
        "click CancelBtn\nclick hinzfuegenBtn\nkey IP_firstnum 10000000999\n"
        "click OKBtn\nclick CreateLangBtn\ncheck VerbieteAdrRadioBtn 1\nclick CloseBttn\n"
        "dump\nquit\n");
    EXPECT_EQ(p.ExitCode(), 0);
    EXPECT_EQ(DumpOf(p.OwnLines(), {"ServerRestartDlg.shown", "ConfigDlg.PortEdit.text",
                                    "ConfigDlg.AdrListBox.item", "OKBottomDlg"}),
              (std::vector<std::string>{"CTRL ConfigDlg.PortEdit.text=4999",
                                        "CTRL ConfigDlg.AdrListBox.item.0=100.000.009.99",
                                        "CTRL ServerRestartDlg.shown=0"}));
    // The restart offer came (CancelBtn was there to click) and the invisible button refused.
    EXPECT_EQ(p.OwnLines().front(), "ERROR CreateLangBtn is not visible");
  }
  Playersim again({"--dir", folder.Path()});
  ASSERT_TRUE(again.Started());
  again.Write("dump\nquit\n");
  EXPECT_EQ(again.ExitCode(), 0);
  EXPECT_EQ(DumpOf(again.OwnLines(), {"ConfigDlg.PortEdit.text", "ConfigDlg.AdrListBox.item",
                                      "ConfigDlg.VerbieteAdrRadioBtn.checked"}),
            (std::vector<std::string>{"CTRL ConfigDlg.PortEdit.text=4999",
                                      "CTRL ConfigDlg.VerbieteAdrRadioBtn.checked=1",
                                      "CTRL ConfigDlg.AdrListBox.item.0=100.000.009.99"}));
}

}  // namespace

#endif  // _WIN32
