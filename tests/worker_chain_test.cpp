// The worker chain under a stand-in host: the accept retry, a send that a client stops reading,
// and a quit that ends every worker in time.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "protocol/request_context.h"
#include "server/accept_retry.h"
#include "server/acceptor.h"
#include "server/server_host.h"
#include "server/server_socket.h"
#include "tests/support.h"

namespace {

using namespace std::chrono_literals;
using testing_support::Client;

TEST(AcceptRetry, OnlyAShortageOrALongRunOfOtherFailuresPauses) {
  using net::AcceptError;
  const AcceptError gone = AcceptError::kClientGone, shortage = AcceptError::kShortage,
                    other = AcceptError::kOther;
  struct Step {
    int failure;  // 0: an accepted client, else 1 + the AcceptError
    int pauseMs;
    bool log;
  };
  auto f = [](AcceptError e) { return 1 + static_cast<int>(e); };
  std::vector<Step> steps = {{f(shortage), 4, true}, {f(shortage), 8, false}, {f(other), 0, false},
                             {f(gone), 0, false},    {0, 0, false},           {f(other), 0, true},
                             {f(shortage), 4, false}};
  // Clients that went away never pause, however many follow.
  for (int i = 0; i < 100; ++i) steps.push_back({f(gone), 0, false});
  // A long run of other failures pauses too, and no pause grows past about a second.
  for (int i = 0; i < 15; ++i) steps.push_back({f(other), 0, false});
  for (int pause : {8, 16, 32, 64, 128, 256, 512, 1024, 1024}) {
    steps.push_back({f(other), pause, false});
  }
  AcceptRetry retry;
  for (std::size_t n = 0; n < steps.size(); ++n) {
    SCOPED_TRACE(testing::Message() << "step " << n);
    if (steps[n].failure == 0) {
      retry.Succeeded();
      continue;
    }
    AcceptRetry::Step got = retry.Failed(static_cast<AcceptError>(steps[n].failure - 1));
    EXPECT_EQ(got.pauseMs, steps[n].pauseMs);
    EXPECT_EQ(got.log, steps[n].log);
  }
}

class RecordedLog final : public LogSink {
 public:
  void WriteLog(const std::string& line) override {
    std::lock_guard<std::mutex> g(lock_);
    lines_.push_back(line);
  }
  std::vector<std::string> Get() {
    std::lock_guard<std::mutex> g(lock_);
    return lines_;
  }

 private:
  std::mutex lock_;
  std::vector<std::string> lines_;
};

net::Socket Listening() {
  net::Socket s = net::OpenStream();
  EXPECT_EQ(net::Bind(s, net::InetAddr("127.0.0.1"), 0), 0);
  EXPECT_EQ(net::Listen(s), 0);
  return s;
}

TEST(Acceptor, AFailureAfterItsStopEndsTheWorkerWhateverStartedSince) {
  (void)net::Startup();
  RecordedLog log;
  Acceptor acceptor;
  net::Socket first = Listening(), second = Listening();
  Acceptor::Ticket gen = acceptor.Open(first, 0);
  ASSERT_TRUE(acceptor.Enlist(gen, true));
  bool accepted = true;
  std::thread worker([&] {
    net::Socket client;
    std::string peer;
    accepted = acceptor.Accept(gen, client, peer, log);
    if (accepted) net::Close(client);
  });
  // The stop, and a restart on another port before the close wakes the waiting worker.
  EXPECT_EQ(acceptor.Close(), gen);
  Acceptor::Ticket next = acceptor.Open(second, 0);
  EXPECT_FALSE(acceptor.Enlist(gen));  // no successor for the stopped start
  net::Close(first);
  Client waiting(net::LocalPort(second));  // only the next start's worker may take it
  worker.join();
  EXPECT_FALSE(accepted);
  EXPECT_EQ(log.Get(), std::vector<std::string>{});
  EXPECT_EQ(acceptor.Waiting(), 1);  // it counts until it has written its last line
  acceptor.Leave(gen);
  EXPECT_EQ(acceptor.Waiting(), 0);
  EXPECT_EQ(acceptor.MostWaiting(), 1);
  acceptor.Close();
  net::Close(second);
  (void)net::Cleanup();
}

// Replies with `replyBytes` bytes to every request that is not empty, and records how each
// send ended.
class StandInHost : public ServerHost {
 public:
  explicit StandInHost(std::size_t replyBytes) : reply_(replyBytes, 'x') {}

  std::uint32_t BindAddress() override { return net::InetAddr("127.0.0.1"); }
  std::string PortText() override { return "0"; }
  std::string TimeoutText() override { return "0"; }  // receives wait without a limit
  void WriteLog(const std::string& line) override {
    Note([&] { lines_.push_back(line); });
  }
  void Serve(const std::string& received, const std::string&, ReplySink& reply) override {
    if (received.empty()) return;
    Note([&] { ++sending_; });
    bool sent = reply.SendAll(reply_);
    Note([&] { results_.push_back(sent); });
  }

  // Waits (bounded) until pred holds over the log lines, the sends begun and their results.
  template <typename Pred>
  bool WaitUntil(Pred pred, std::chrono::milliseconds limit = 5000ms) {
    std::unique_lock<std::mutex> g(lock_);
    return changed_.wait_for(g, limit, [&] { return pred(lines_, sending_, results_); });
  }

 private:
  template <typename Change>
  void Note(Change change) {
    {
      std::lock_guard<std::mutex> g(lock_);
      change();
    }
    changed_.notify_all();
  }

  const std::string reply_;
  std::mutex lock_;
  std::condition_variable changed_;
  std::vector<std::string> lines_;
  int sending_ = 0;
  std::vector<bool> results_;
};

using LogLines = std::vector<std::string>;
using Results = std::vector<bool>;
constexpr std::size_t kLongReply = 64u << 20;  // far more than the socket buffers hold

int Ended(const LogLines& lines) {
  return static_cast<int>(std::count(lines.begin(), lines.end(), "Client connect beendet."));
}

TEST(WorkerChain, ASendThatIsNotReadEndsAfterTheSendTimeOut) {
  StandInHost host(kLongReply);
  ServerSocket server(host, 300);
  server.Start();
  Client reader(server.BoundPort());
  reader.Send("GET /x HTTP/1.0\r\n\r\n");
  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(host.WaitUntil(
      [](const LogLines& l, int, const Results& r) { return r.size() == 1 && Ended(l) == 1; }));
  EXPECT_LT(std::chrono::steady_clock::now() - started, 3s);
  EXPECT_TRUE(host.WaitUntil([](const LogLines&, int, const Results& r) { return !r.at(0); }));
  // The chain goes on: the next client is accepted and served.
  Client next(server.BoundPort());
  next.Send("GET /y HTTP/1.0\r\n\r\n");
  EXPECT_TRUE(
      host.WaitUntil([](const LogLines&, int sending, const Results&) { return sending == 2; }));
  // Quit's stop: the host goes with this test, so every worker must have ended.
  EXPECT_TRUE(server.Stop(ServerSocket::StopPlan::Quit()));
}

TEST(WorkerChain, QuitEndsSilentAndNonReadingClientsInTime) {
  StandInHost host(kLongReply);
  ServerSocket server(host);  // the send time-out of a real server: far beyond quit's wait
  server.Start();
  std::vector<std::unique_ptr<Client>> clients;
  for (int i = 0; i < 16; ++i) clients.push_back(std::make_unique<Client>(server.BoundPort()));
  Client reader(server.BoundPort());
  reader.Send("GET /x HTTP/1.0\r\n\r\n");
  ASSERT_TRUE(host.WaitUntil([&](const LogLines&, int sending, const Results&) {
    return sending == 1 && server.Served() == 17;
  }));
  const auto started = std::chrono::steady_clock::now();
  EXPECT_TRUE(server.Stop(ServerSocket::StopPlan::Quit()));
  EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
  EXPECT_EQ(server.Served(), 0);
  EXPECT_TRUE(host.WaitUntil(
      [](const LogLines& l, int, const Results& r) {
        // every client's worker and the worker that waited in accept have ended
        return r == Results{false} && Ended(l) == 18;
      },
      0ms));
}

}  // namespace
