// The server's lifecycle as the user drives it: restarts through the dialog, many in a row and
// while clients send requests, and a quit right after a restart.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "plugin/interface.h"
#include "server/server_socket.h"
#include "tests/support.h"
#include "ui/config_dlg.h"
#include "ui/restart_dlg.h"

namespace {

using namespace testing_support;
using namespace std::chrono_literals;
using Strings = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

class Lifecycle : public PluginTest {
 protected:
  // As a user does it: the port field gets the focus and a new text, loses the focus, and the
  // offer's "Ja - Restart" is taken.
  void RestartOnPort(const std::string& port) {
    Forms().MoveFocus(&Config().PortEdit);
    Config().PortEdit.SetText(port);
    Forms().MoveFocus(&Config().TimeOutEdit);
    ASSERT_TRUE(PluginDialogs().Restart().Shown());
    PluginDialogs().Restart().RestartBtn.OnClick();
  }

  ServerSocket& Server() { return *Config().SrvSocket; }
};

int Failures(const Strings& lines) {
  return static_cast<int>(std::count_if(lines.begin(), lines.end(), [](const std::string& l) {
    return l.rfind("Server: Accept fehlgeschlagen", 0) == 0;
  }));
}

TEST_F(Lifecycle, ARestartLogsExactlyTheStopAndTheStartFiftyTimesInARow) {
  StartServer();
  for (int i = 0; i < 50; ++i) {
    SCOPED_TRACE(testing::Message() << "restart " << i);
    const std::string port = i % 2 == 0 ? std::to_string(FreePort()) : "0";
    log_->Clear();
    RestartOnPort(port);
    // The stop waits for the worker that waited in accept, so its last line has come.
    EXPECT_EQ(log_->Lines(),
              (Strings{"Server: Shutdown wird durchgef\xFChrt", "Server: Client connect beendet.",
                       "Server: Server beendet", "Server: " + std::string(65, '-'),
                       "Server: Port (" + port + ") initialisiert",
                       "Server: Socketbindung erstellt", "Server: Socket ist in Horchmodus"}));
    EXPECT_EQ(Server().Waiting(), 1);
  }
  EXPECT_EQ(Server().MostWaiting(), 1);
}

TEST_F(Lifecycle, TwoHundredRestartsWhileSixteenClientsSendRequests) {
  Config().PasswdEdit.SetText("pw");
  Config().httpheadChkBox.SetChecked(false);  // the answer's bytes do not change with the date
  std::atomic<std::uint16_t> port{StartServer("0", "1000")};
  const std::string request = "GET /GETVOLUME?p=pw HTTP/1.0\r\n\r\n";
  const std::string answer = Request(port, request);
  ASSERT_FALSE(answer.empty());
  ASSERT_TRUE(log_->WaitFor("Server: Client connect beendet."));
  const int threadsBefore = ProcessThreads();

  std::atomic<bool> stop{false};
  std::atomic<int> restarts{0};  // a client that finds no server waits for the next restart
  std::atomic<int> answered{0}, refused{0}, wrong{0}, hung{0};
  std::vector<std::thread> clients;
  for (int i = 0; i < 16; ++i) {
    clients.emplace_back([&] {
      while (!stop) {
        const auto started = Clock::now();
        const int seen = restarts;
        Client c(port);
        if (!c.Connected()) {
          ++refused;
          restarts.wait(seen);
          continue;
        }
        c.Send(request);
        const std::string reply = c.ReadAll(4000);
        if (Clock::now() - started > 3s) ++hung;
        if (reply == answer) {
          ++answered;
        } else if (reply.empty()) {
          ++refused;  // the old socket closed before or while the client waited in its backlog
        } else {
          ++wrong;
        }
      }
    });
  }
  int failures = 0;
  for (int i = 0; i < 200 && !HasFatalFailure(); ++i) {
    if (i % 4 == 3) {
      StopServer();
      Config().StartBtnClick();
    } else {
      RestartOnPort(i % 2 == 0 ? std::to_string(FreePort()) : "0");
    }
    const int before = answered;
    port = Server().BoundPort();
    ++restarts;
    restarts.notify_all();
    // The new chain's first worker waits, or has its client and is starting its successor.
    EXPECT_LE(Server().Waiting(), 1) << "restart " << i;
    // Clients find the new port and are served, so the next restart meets requests under way.
    EXPECT_TRUE(Eventually([&] { return answered >= before + 8; })) << "restart " << i;
    failures += Failures(log_->Lines());
    log_->Clear();
  }
  stop = true;
  ++restarts;
  restarts.notify_all();
  for (auto& t : clients) t.join();
  failures += Failures(log_->Lines());

  EXPECT_EQ(failures, 0);
  EXPECT_EQ(log_->Skipped(), 0u) << "the log overwrote lines before they were read";
  EXPECT_GT(answered, 0);
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(hung, 0);
  EXPECT_EQ(Server().MostWaiting(), 1);
  EXPECT_TRUE(Eventually([&] { return Server().Waiting() == 1 && Server().Served() == 0; }));
  EXPECT_TRUE(Eventually([&] { return ProcessThreads() <= threadsBefore; }))
      << ProcessThreads() << " threads, " << threadsBefore << " before";
  std::printf("200 restarts: %d answered, %d refused\n", answered.load(), refused.load());
}

TEST_F(Lifecycle, QuitRightAfterARestartWithSilentClientsIsPromptAndEndsEveryWorker) {
  const int threadsBefore = ProcessThreads();
  StartServer("0", "0");  // no receive time-out: only the quit ends the silent clients
  RestartOnPort(std::to_string(FreePort()));
  std::vector<std::unique_ptr<Client>> clients;
  for (int i = 0; i < 8; ++i) clients.push_back(std::make_unique<Client>(Server().BoundPort()));
  ASSERT_TRUE(log_->WaitFor("Server: Client connect: 127.0.0.1", 8));
  log_.reset();
  const auto started = Clock::now();
  record_->quit();
  EXPECT_LT(Clock::now() - started, 2s);
  EXPECT_EQ(PluginInterface, nullptr);
  EXPECT_TRUE(Eventually([&] { return ProcessThreads() <= threadsBefore; }))
      << ProcessThreads() << " threads, " << threadsBefore << " before";
  for (auto& c : clients) EXPECT_EQ(c->ReadAll(2000), "");
  ASSERT_EQ(record_->init(), 0);  // for the fixture's own quit
  log_ = std::make_unique<LogWatcher>();
}

TEST_F(Lifecycle, QuitAnswersEightWaitingClientsAndEndsSixteenSilentOnesWithinTwoSeconds) {
  const int threadsBefore = ProcessThreads();
  Config().PasswdEdit.SetText("pw");
  Config().httpheadChkBox.SetChecked(false);
  const std::uint16_t port = StartServer("0", "0");
  const std::string state = Request(port, "GET /GETSTATE?p=pw HTTP/1.0\r\n\r\n");
  const std::string since = state.substr(8, state.find('\n') - 8);
  std::vector<std::unique_ptr<Client>> clients;
  for (int i = 0; i < 24; ++i) {
    clients.push_back(std::make_unique<Client>(port));
    if (i < 8) clients.back()->Send("GET /WAITCHANGE?p=pw&since=" + since + " HTTP/1.0\r\n\r\n");
  }
  ASSERT_TRUE(Eventually([] { return PluginInterface->Changes().Waiting() == 8; }));
  ASSERT_TRUE(log_->WaitFor("Server: Client connect: 127.0.0.1", 25));
  log_.reset();
  const auto started = Clock::now();
  record_->quit();
  EXPECT_LT(Clock::now() - started, 2s);
  EXPECT_EQ(PluginInterface, nullptr);
  for (int i = 0; i < 24; ++i) EXPECT_EQ(clients[i]->ReadAll(2000), i < 8 ? state : "") << i;
  EXPECT_TRUE(Eventually([&] { return ProcessThreads() <= threadsBefore; }))
      << ProcessThreads() << " threads, " << threadsBefore << " before";
  ASSERT_EQ(record_->init(), 0);  // for the fixture's own quit
  log_ = std::make_unique<LogWatcher>();
}

}  // namespace
