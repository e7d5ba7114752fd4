// playersim's command loop and its own commands, driven from a list of lines.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "protocol/host_messages.h"
#include "sim/command_loop.h"
#include "sim/player.h"
#include "sim/playersim_options.h"
#include "sim/state_lines.h"

namespace {

// Input lines and everything printed.
struct Script {
  std::vector<std::string> input;
  std::size_t next = 0;
  std::vector<std::string> output;

  sim::CommandLoop::LineSource Source() {
    return [this](std::string& line) {
      if (next >= input.size()) return false;
      line = input[next++];
      return true;
    };
  }
  sim::CommandLoop::Printer Printer() {
    return [this](const std::string& line) { output.push_back(line); };
  }
};

// "echo X" prints "ECHO X"; "modal" runs a nested loop until "close"; "fail" throws.
struct Rig {
  explicit Rig(std::vector<std::string> lines)
      : script{std::move(lines), 0, {}}, loop(script.Source(), script.Printer()) {
    loop.AddHandler([this](const std::string& line) {
      if (line.rfind("echo ", 0) != 0) return false;
      loop.Print("ECHO " + line.substr(5));
      return true;
    });
    loop.AddHandler([this](const std::string& line) {
      if (line != "modal") return false;
      bool closed = false;
      const int depth = loop.Depth();
      // "close" closes the innermost dialog only.
      const int id = loop.AddHandler([this, &closed, depth](const std::string& l) {
        if (l != "close" || loop.Depth() != depth + 1) return false;
        closed = true;
        return true;
      });
      const bool done = loop.RunUntil([&closed] { return closed; });
      loop.RemoveHandler(id);
      loop.Print(std::string("MODAL ") + (done ? "closed" : "ended") + " at depth " +
                 std::to_string(depth + 1));
      return true;
    });
    loop.AddHandler([](const std::string& line) -> bool {
      if (line != "fail") return false;
      throw std::runtime_error("broken\nhandler");
    });
  }

  Script script;
  sim::CommandLoop loop;
};

TEST(CommandLoop, HandlersThenErrorLineQuitEnds) {
  Rig rig({"echo one", "nothing", "", "fail", "echo \xC3\xBC", "quit", "echo never"});
  rig.loop.Run();
  EXPECT_EQ(rig.script.output, (std::vector<std::string>{
                                   "ECHO one", "ERROR unknown command nothing",
                                   "ERROR empty command", "ERROR command failed: broken\\nhandler",
                                   "ECHO \xFC",  // handlers see Latin-1
                               }));
  EXPECT_TRUE(rig.loop.Ending());
  EXPECT_EQ(rig.script.next, 6u);
}

TEST(CommandLoop, NestedLoopKeepsEveryCommandWorking) {
  struct Case {
    std::vector<std::string> input;
    std::vector<std::string> output;
  } cases[] = {
      // Closed by its own command: the outer loop goes on.
      {{"modal", "echo inside", "close", "echo outside"},
       {"ECHO inside", "MODAL closed at depth 2", "ECHO outside"}},
      // Two levels, closed inner first.
      {{"modal", "modal", "close", "close", "echo out"},
       {"MODAL closed at depth 3", "MODAL closed at depth 2", "ECHO out"}},
      // The end of input inside: every level ends.
      {{"modal", "modal", "echo deep"},
       {"ECHO deep", "MODAL ended at depth 3", "MODAL ended at depth 2"}},
      // quit inside: the same, and no further line is read.
      {{"modal", "quit", "echo never"}, {"MODAL ended at depth 2"}},
  };
  for (const auto& c : cases) {
    Rig rig(c.input);
    rig.loop.Run();
    EXPECT_EQ(rig.script.output, c.output) << c.input.size();
    EXPECT_TRUE(rig.loop.Ending());
    EXPECT_EQ(rig.loop.Depth(), 0);
  }
}

TEST(PlayersimCommands, StateLinesInTheirOrderEscaped) {
  sim::Player player({{"C:\\M\xFC"
                       "sik\\a.mp3",
                       "Line\nBreak", 10},
                      {"b", "B", -1}},
                     "");
  player.Request(hostmsg::IPC_SETVOLUME, 99, 0);
  player.Command(hostmsg::ID_PLAY, 1000);
  player.Request(hostmsg::IPC_GETEQDATA, 12, 0);
  player.Request(hostmsg::IPC_SETEQDATA, 1, 0);
  player.CopyData(hostmsg::IPC_CHDIR, "E:\\x\r");
  std::vector<std::string> expected = {
      "STATE status=1",
      "STATE volume=99",
      "STATE position=0",
      "STATE outputtime=1234",
      "STATE length=2",
      "STATE entry.0.file=C:\\\\M\xC3\xBCsik\\\\a.mp3",
      "STATE entry.0.title=Line\\nBreak",
      "STATE entry.1.file=b",
      "STATE entry.1.title=B",
  };
  for (int band = 0; band <= 10; ++band)
    expected.push_back("STATE eq." + std::to_string(band) + "=31");
  expected.insert(expected.end(),
                  {"STATE eq.11=0", "STATE eq.12=1", "STATE shuffle=0", "STATE repeat=0",
                   "STATE folder=E:\\\\x\\r", "STATE restarts=0"});
  std::vector<std::string> without = expected;
  without.push_back("STATE end");
  EXPECT_EQ(sim::StateLines(player.State(2234), false), without);
  expected.insert(expected.end(), {"STATE shoutcast.caption=Connect",
                                   "STATE shoutcast.status=Not connected", "STATE end"});
  EXPECT_EQ(sim::StateLines(player.State(2234), true), expected);
}

TEST(PlayersimCommands, LogDumpLines) {
  EXPECT_EQ(sim::LogDumpLines({"Server: a", "Server: M\xFC\\x"}),
            (std::vector<std::string>{"LOGDUMP Server: a", "LOGDUMP Server: M\xC3\xBC\\\\x",
                                      "LOGDUMP end"}));
  EXPECT_EQ(sim::LogDumpLines({}), (std::vector<std::string>{"LOGDUMP end"}));
}

TEST(PlayersimOptions, CommandLine) {
  struct Case {
    std::vector<std::string> args;
    bool ok;
    std::string dir, playlist;
    bool shoutcast;
    std::string error;
  } cases[] = {
      {{}, true, ".", "", true, ""},
      {{"--dir", "demo", "--playlist", "p.m3u", "--no-shoutcast"},
       true,
       "demo",
       "p.m3u",
       false,
       ""},
      {{"--no-shoutcast", "--dir", "a b"}, true, "a b", "", false, ""},
      {{"--dir"}, false, ".", "", true, "option --dir needs a value"},
      {{"--playlist", ""}, false, ".", "", true, "option --playlist needs a value"},
      {{"--verbose"}, false, ".", "", true, "unknown option --verbose"},
      {{"demo"}, false, ".", "", true, "unknown option demo"},
  };
  for (const auto& c : cases) {
    sim::Options o;
    std::string error;
    EXPECT_EQ(sim::ParseOptions(c.args, o, error), c.ok) << c.error;
    EXPECT_EQ(error, c.error);
    if (c.ok) {
      EXPECT_EQ(o.dir, c.dir);
      EXPECT_EQ(o.playlist, c.playlist);
      EXPECT_EQ(o.shoutcast, c.shoutcast);
    }
  }
  EXPECT_EQ(sim::FolderPath("demo"), "demo\\");
  EXPECT_EQ(sim::FolderPath("demo/"), "demo/");
  EXPECT_EQ(sim::FolderPath("D:\\P\\"), "D:\\P\\");
}

}  // namespace
