#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "base/log_hold.h"
#include "plugin/interface.h"
#include "tests/support.h"
#include "ui/config_dlg.h"
#include "ui/console/console_output.h"
#include "ui/console/log_printer.h"

namespace {

using Strings = std::vector<std::string>;
using namespace std::chrono_literals;
using testing_support::Config;

class ActivityLog : public testing_support::PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    Config().Out.Clear();
  }
};

TEST_F(ActivityLog, EachCallIsOneEntryWithThePrefix) {
  PluginInterface->WriteLog("");
  PluginInterface->WriteLog("Server: doppelt");
  PluginInterface->WriteLog("Shutdown: closesocket failed.\n");
  PluginInterface->WriteLog("a\r\nb");
  EXPECT_EQ(Config().Out.Items(),
            (Strings{"Server: ", "Server: Server: doppelt",
                     "Server: Shutdown: closesocket failed.\n", "Server: a\r\nb"}));
}

TEST_F(ActivityLog, SwitchIsReadAtEachCall) {
  Config().LoggingChkBox.SetChecked(false);
  PluginInterface->WriteLog("dropped");
  Interface::Log("FEHLER in (X::Y)");
  EXPECT_EQ(Config().Out.Count(), 0);
  Config().LoggingChkBox.SetChecked(true);
  PluginInterface->WriteLog("kept");
  EXPECT_EQ(Config().Out.Items(), Strings{"Server: kept"});
}

// Lines "t:i" from kThreads threads; each thread's lines keep their order.
void WriteFromThreads(int threads, int linesEach) {
  std::vector<std::thread> writers;
  for (int t = 0; t < threads; ++t) {
    writers.emplace_back([t, linesEach] {
      for (int i = 0; i < linesEach; ++i) {
        Interface::Log(std::to_string(t) + ":" + std::to_string(i));
      }
    });
  }
  for (auto& w : writers) w.join();
}

TEST_F(ActivityLog, KeepsExactlyTheNewestEntriesInTheirOrder) {
  constexpr int kThreads = 8, kEach = 25000 / kThreads;
  WriteFromThreads(kThreads, kEach);
  Strings lines = Config().Out.Items();
  ASSERT_EQ(lines.size(), TConfigDlg::kMaxLogEntries);
  // The newest entries of the whole log are, for every thread, an unbroken run that ends with
  // its last line.
  std::vector<int> next(kThreads, -1);
  for (const auto& l : lines) {
    int t = l[8] - '0';
    int i = std::stoi(l.substr(10));
    if (next[t] < 0) next[t] = i;
    EXPECT_EQ(l, "Server: " + std::to_string(t) + ":" + std::to_string(next[t]++));
  }
  for (int t = 0; t < kThreads; ++t) {
    if (next[t] >= 0) {
      EXPECT_EQ(next[t], kEach) << "thread " << t;
    }
  }
}

TEST_F(ActivityLog, ClearingWhileAppendingLosesOnlyWhatWasWritten) {
  constexpr int kLines = 8000;  // fewer than the log holds, so the reader may read late
  testing_support::LogWatcher reader;
  std::atomic<bool> cleared{false};
  std::thread writer([&cleared] {
    for (int i = 0; i < kLines; ++i) {
      // The clear falls somewhere between line 100 and the second half.
      while (i == kLines / 2 && !cleared) std::this_thread::yield();
      Interface::Log(std::to_string(i));
    }
  });
  while (Config().Out.Count() < 100) std::this_thread::yield();
  Config().ProtLoeschenBtnClick();
  cleared = true;
  writer.join();
  Strings lines = Config().Out.Items();
  ASSERT_GE(lines.size(), static_cast<std::size_t>(kLines / 2));
  ASSERT_LE(lines.size(), static_cast<std::size_t>(kLines - 100));
  int first = kLines - static_cast<int>(lines.size());
  for (std::size_t k = 0; k < lines.size(); ++k) {
    EXPECT_EQ(lines[k], "Server: " + std::to_string(first + static_cast<int>(k)));
  }
  // A view that reads the log still gets every line, cleared or not.
  EXPECT_EQ(reader.Lines().size(), static_cast<std::size_t>(kLines));
}

TEST_F(ActivityLog, AReaderPassesOverClearedOrAllUnreadEntriesAndReadsOnAfterThem) {
  ui::LogReader reader(Config().Out, [] {});
  for (const char* line : {"a", "b"}) Interface::Log(line);
  Config().ProtLoeschenBtnClick();
  Interface::Log("c");
  EXPECT_EQ(reader.SkipCleared(), 2u);
  EXPECT_EQ(reader.SkipCleared(), 0u);
  Interface::Log("d");
  EXPECT_EQ(reader.Next().entries, (Strings{"Server: c", "Server: d"}));
  Interface::Log("e");
  EXPECT_EQ(reader.SkipAll(), 1u);
  Interface::Log("f");
  EXPECT_EQ(reader.Next().entries, Strings{"Server: f"});
}

TEST_F(ActivityLog, SelectionStaysOnItsEntryUntilItLeaves) {
  for (std::size_t i = 0; i < TConfigDlg::kMaxLogEntries; ++i) Interface::Log("x");
  Config().Out.SetSelected(1);
  Interface::Log("y");
  EXPECT_EQ(Config().Out.Selected(), 0);
  Interface::Log("z");
  EXPECT_EQ(Config().Out.Selected(), -1);
}

// A served client's lines wait on its worker's thread and enter the log as one append at each
// flush (a request's before a long wait) and at the end of the hold, in the order written;
// the switch still counts at each call.
TEST_F(ActivityLog, HeldLinesEnterInOrderAsOneAppendPerFlush) {
  int wakes = 0;  // runs on the appending thread; read after the join
  ui::LogReader reader(Config().Out, [&wakes] { ++wakes; });
  ServerHost& server = *PluginInterface;
  std::vector<std::pair<Strings, int>> seen;  // the log and the wakes after each step
  std::thread worker([&] {
    LogHold hold(server);
    RequestContext request(RequestSettings{}, *PluginInterface, nullptr);
    {
      LogHold inner(server);  // adds nothing: its end writes nothing out
      request.host.WriteLog("a");
      Config().LoggingChkBox.SetChecked(false);
      request.host.WriteLog("dropped");
      Config().LoggingChkBox.SetChecked(true);
    }
    server.WriteLog("b");
    seen.emplace_back(Config().Out.Items(), wakes);
    request.host.Flush();
    seen.emplace_back(Config().Out.Items(), wakes);
    request.host.Flush();  // nothing held: no append
    Interface::Log("c");
    server.WriteLog("d");
    seen.emplace_back(Config().Out.Items(), wakes);
  });
  worker.join();
  const Strings ab = {"Server: a", "Server: b"};
  EXPECT_EQ(seen, (std::vector<std::pair<Strings, int>>{{{}, 0}, {ab, 1}, {ab, 1}}));
  EXPECT_EQ(Config().Out.Items(), (Strings{"Server: a", "Server: b", "Server: c", "Server: d"}));
  EXPECT_EQ(wakes, 2);
  EXPECT_EQ(reader.Next().entries, Config().Out.Items());
}

// Appends of many lines keep the cap, the order, the selection rule and the skip notice.
TEST_F(ActivityLog, BatchesKeepTheNewestEntriesTheSelectionAndTheSkipNotice) {
  ui::LogReader reader(Config().Out, [] {});
  constexpr int kLines = static_cast<int>(TConfigDlg::kMaxLogEntries) + 10;
  std::vector<std::string> batch;
  for (int i = 0; i < kLines; ++i) {
    batch.push_back(std::to_string(i));
    if (batch.size() == 7 || i == kLines - 1) {
      Config().Out.AppendAll(batch);
      batch.clear();
    }
    if (i == 11) Config().Out.SetSelected(12);  // set before the list holds entry 12: none
    if (i == 13) Config().Out.SetSelected(12);
  }
  Strings lines = Config().Out.Items();
  ASSERT_EQ(lines.size(), TConfigDlg::kMaxLogEntries);
  EXPECT_EQ(lines.front(), "10");
  EXPECT_EQ(lines.back(), std::to_string(kLines - 1));
  EXPECT_EQ(Config().Out.Selected(), 2);  // entry 12 is now the third
  ui::LogBatch read = reader.Next();
  EXPECT_EQ(read.skipped, 10u);
  EXPECT_EQ(read.entries, lines);
}

// Clients served at once: each request's lines from its receive to its worker's end form one
// unbroken run in the log, and a request costs the readers at most two wake-ups (what was held
// before a wait for the request's bytes, and the rest).
TEST_F(ActivityLog, EachServedRequestIsOneRunOfLinesWithAtMostTwoWakes) {
  std::atomic<int> wakes{0};
  ui::LogReader reader(Config().Out, [&wakes] { ++wakes; });
  std::uint16_t port = StartServer("0", "2000");
  ASSERT_NE(port, 0);
  const int started = wakes;
  constexpr int kClients = 8, kEach = 3;
  std::vector<std::thread> clients;
  for (int c = 0; c < kClients; ++c) {
    clients.emplace_back([port, c] {
      for (int i = 0; i < kEach; ++i) {
        testing_support::Request(port, "GET /UNKNOWN?p=x&c=" + std::to_string(c * kEach + i));
      }
    });
  }
  for (auto& c : clients) c.join();
  ASSERT_TRUE(log_->WaitFor("Server: Client connect beendet.", kClients * kEach));
  EXPECT_LE(wakes - started, 2 * kClients * kEach);
  const Strings lines = log_->Lines();
  for (int r = 0; r < kClients * kEach; ++r) {
    const std::string request = "GET /UNKNOWN?p=x&c=" + std::to_string(r);
    auto at = std::find(lines.begin(), lines.end(), "Server: Erhalten: " + request);
    ASSERT_GE(std::distance(at, lines.end()), 9) << request;
    EXPECT_EQ(Strings(at, at + 9),
              (Strings{"Server: Erhalten: " + request, "Server: Inputstring auswerten",
                       "Server: Commando ausf\xFChren", "Server: Keine IPs in Liste gefunden",
                       "Server: IP (127.0.0.1) erlaubt", "Server: Passwort abgelehnt",
                       "Server: beende Verbindung...", "Server: Verbindung beendet!",
                       "Server: Client connect beendet."}));
  }
}

}  // namespace

namespace {

TEST_F(ActivityLog, NativeFacePrintsEachNewEntryAsOneEscapedLineBeforeLaterOutput) {
  std::vector<std::string> printed;
  console::SetLineSink([&printed](const std::string& l) { printed.push_back(l); });
  {
    console::LogPrinter printer(Config().Out);
    PluginInterface->WriteLog("a\\b\r\nc\xFC");
    Config().Out.Clear();  // clearing prints nothing
    console::PrintLine("OUT");
  }
  PluginInterface->WriteLog("after");  // no printer any more
  console::SetLineSink(nullptr);
  EXPECT_EQ(printed, (Strings{"LOG Server: a\\\\b\\r\\nc\xC3\xBC", "OUT"}));
}

TEST_F(ActivityLog, BlockedOutputHoldsUpNoWriterAndLosesNothingStillHeld) {
  std::mutex m;
  std::condition_variable cv;
  bool inside = false, released = false;
  std::vector<std::string> printed;
  console::SetLineSink([&](const std::string& l) {
    std::unique_lock<std::mutex> g(m);
    printed.push_back(l);
    inside = true;
    cv.notify_all();
    cv.wait(g, [&] { return released; });  // the first write blocks until the test releases it
  });
  constexpr int kLines = 25000;
  Strings held;
  {
    console::LogPrinter printer(Config().Out);
    Interface::Log("0");
    {
      std::unique_lock<std::mutex> g(m);
      ASSERT_TRUE(cv.wait_for(g, 5s, [&] { return inside; }));
    }
    // Standard output is stuck in the printer's first write; every writer goes on.
    WriteFromThreads(1, kLines - 1);
    held = Config().Out.Items();
    {
      std::lock_guard<std::mutex> g(m);
      released = true;
      cv.notify_all();
    }
  }
  console::SetLineSink(nullptr);
  ASSERT_EQ(held.size(), TConfigDlg::kMaxLogEntries);
  Strings expected{"LOG Server: 0", "LOGSKIPPED " + std::to_string(kLines - 1 - held.size())};
  for (const auto& l : held) expected.push_back("LOG " + l);
  EXPECT_EQ(printed, expected);
}

}  // namespace
