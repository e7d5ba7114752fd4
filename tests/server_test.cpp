// The listening socket and the worker chain over loopback, with the exact log lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>

#include "plugin/interface.h"
#include "server/server_socket.h"
#include "tests/support.h"
#include "ui/config_dlg.h"

namespace {

using namespace testing_support;
using Strings = std::vector<std::string>;

const std::string kStartLine = "Server: " + std::string(65, '-');
const std::string kClientLine = "Server: " + std::string(55, '-');
const std::string kEnded = "Server: Client connect beendet.";

Strings StartLines(std::uint16_t port) {
  return {kStartLine, "Server: Port (" + std::to_string(port) + ") initialisiert",
          "Server: Socketbindung erstellt", "Server: Socket ist in Horchmodus"};
}

// The lines one served client writes, with evaluate lines in between.
Strings ServedLines(const std::string& request, const Strings& evaluate = {}) {
  Strings lines = {kClientLine, "Server: Client connect: 127.0.0.1", "Server: Erhalten: " + request,
                   "Server: Inputstring auswerten", "Server: Commando ausf\xFChren"};
  lines.insert(lines.end(), evaluate.begin(), evaluate.end());
  lines.insert(lines.end(),
               {"Server: beende Verbindung...", "Server: Verbindung beendet!", kEnded});
  return lines;
}

Strings After(const Strings& lines, std::size_t skip) {
  return Strings(lines.begin() + static_cast<long>(std::min(skip, lines.size())), lines.end());
}

int Count(const Strings& lines, const std::string& line) {
  return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

class Server : public PluginTest {};

TEST_F(Server, StartLogsEveryStep) {
  std::uint16_t port = StartServer();
  ASSERT_NE(port, 0);
  EXPECT_EQ(log_->Lines(), StartLines(0));
  EXPECT_FALSE(Config().StartBtn.Enabled());
  EXPECT_TRUE(Config().StopBtn.Enabled());
}

TEST_F(Server, ServedClientLogsTheWholeSequence) {
  std::uint16_t port = StartServer();
  const std::string request = "GET /UNKNOWN?p=x HTTP/1.0\r\n\r\n";
  EXPECT_EQ(Request(port, request), "");
  ASSERT_TRUE(log_->WaitFor(kEnded));
  // The password field is empty, so "x" is refused after the address check.
  EXPECT_EQ(After(log_->Lines(), 4),
            ServedLines(request, {"Server: Keine IPs in Liste gefunden",
                                  "Server: IP (127.0.0.1) erlaubt", "Server: Passwort abgelehnt"}));
}

TEST_F(Server, SilentClientTimesOutAndTheNextIsServed) {
  std::uint16_t port = StartServer("0", "100");
  Client silent(port);
  ASSERT_TRUE(log_->WaitFor(kEnded));
  EXPECT_EQ(After(log_->Lines(), 4),
            (Strings{kClientLine, "Server: Client connect: 127.0.0.1",
                     "Server: Timeout - Verbindung wird beendet.", kEnded}));
  EXPECT_EQ(silent.ReadAll(), "");  // closed without an answer
  log_->Clear();
  Request(port, "GET /A?b");
  EXPECT_TRUE(log_->WaitFor("Server: Erhalten: GET /A?b"));
}

TEST_F(Server, ClientClosingAtOnceIsAnEmptyRequest) {
  std::uint16_t port = StartServer();
  { Client c(port); }
  ASSERT_TRUE(log_->WaitFor(kEnded));
  Strings lines = After(log_->Lines(), 4);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[2], "Server: Erhalten: ");
  EXPECT_EQ(lines[3], "Server: Inputstring auswerten");
}

TEST_F(Server, OnlyTheFirst2047BytesAndUpToAZeroByteAreEvaluated) {
  std::uint16_t port = StartServer();
  std::string big = "GET /" + std::string(3000, 'A');
  Request(port, big);
  ASSERT_TRUE(log_->WaitFor(kEnded));
  EXPECT_EQ(Count(log_->Lines(), "Server: Erhalten: " + big.substr(0, 2047)), 1);

  log_->Clear();
  Request(port, std::string("GET /A?x\0yz", 11));
  ASSERT_TRUE(log_->WaitFor(kEnded));
  EXPECT_EQ(Count(log_->Lines(), "Server: Erhalten: GET /A?x"), 1);
}

TEST_F(Server, TwoClientsAtOnceAreBothServed) {
  std::uint16_t port = StartServer("0", "2000");
  Client a(port), b(port);
  ASSERT_TRUE(log_->WaitFor("Server: Client connect: 127.0.0.1", 2));
  a.Send("GET /A?x");
  b.Send("GET /B?y");
  EXPECT_EQ(a.ReadAll(), "");
  EXPECT_EQ(b.ReadAll(), "");
  ASSERT_TRUE(log_->WaitFor(kEnded, 2));
  Strings lines = log_->Lines();
  EXPECT_EQ(Count(lines, "Server: Erhalten: GET /A?x"), 1);
  EXPECT_EQ(Count(lines, "Server: Erhalten: GET /B?y"), 1);
  EXPECT_EQ(Count(lines, "Server: Verbindung beendet!"), 2);
}

TEST_F(Server, PortInUseFailsAndShutsDown) {
  (void)net::Startup();
  net::Socket other = net::OpenStream();
  ASSERT_EQ(net::Bind(other, net::InetAddr("127.0.0.1"), 0), 0);
  ASSERT_EQ(net::Listen(other), 0);
  std::uint16_t busy = net::LocalPort(other);

  StartServer(std::to_string(busy));
  ASSERT_TRUE(log_->WaitFor(kEnded));
  EXPECT_EQ(log_->Lines(),
            (Strings{kStartLine,
                     "Server: Bindung fehlgeschlagen - Fehlercode: " +
                         std::to_string(AddressInUseError()),
                     "Server: Shutdown wird durchgef\xFChrt", "Server: Server beendet", kEnded}));
  net::Close(other);
  (void)net::Cleanup();
  // The buttons stay in the started state; Stop shuts down again and reports each failure. The
  // start's start-up of the socket library was cleaned up once already.
  log_->Clear();
  StopServer();
  EXPECT_EQ(log_->Lines(),
            (Strings{"Server: Shutdown wird durchgef\xFChrt",
                     "Server: ServerLoop: setsockopt SO_LINGER failed.\n",
                     "Server: Shutdown: closesocket failed.\n", "Server: Server beendet"}));
}

TEST_F(Server, PortAndTimeOutThatAreNoNumbersFailTheStart) {
  StartServer("48a0");
  ASSERT_TRUE(log_->WaitFor(kEnded));
  EXPECT_EQ(log_->Lines(),
            (Strings{kStartLine, "Server: Port (48a0) ist keine Zahl",
                     "Server: Shutdown wird durchgef\xFChrt",
                     "Server: ServerLoop: setsockopt SO_LINGER failed.\n",
                     "Server: Shutdown: closesocket failed.\n", "Server: Server beendet", kEnded}));
  StopServer();
  log_->Clear();

  StartServer("0", " 1x ");
  ASSERT_TRUE(log_->WaitFor(kEnded));
  Strings expected = StartLines(0);
  expected.insert(expected.end(),
                  {"Server: Timeout (1x) ist keine Zahl", "Server: Shutdown wird durchgef\xFChrt",
                   "Server: Server beendet", kEnded});
  EXPECT_EQ(log_->Lines(), expected);
  EXPECT_EQ(Config().SrvSocket->ListeningSocket(), net::kInvalidSocket);
}

TEST_F(Server, PortIsReducedTo16Bits) {
  struct Case {
    const char* text;
    int port;
  } cases[] = {{"70000", 4464}, {"-1", 65535}};
  for (const auto& c : cases) {
    log_->Clear();
    StartServer(c.text);
    EXPECT_EQ(log_->Lines().at(1), "Server: Port (" + std::to_string(c.port) + ") initialisiert");
    StopServer();
    ASSERT_TRUE(log_->WaitFor(kEnded));  // the old worker's last line comes before the next case
  }
}

TEST_F(Server, StopEndsTheWaitingWorkerOnly) {
  StartServer();
  log_->Clear();
  StopServer();
  // The stop waits for that worker's end: its line comes before the last one of the stop.
  EXPECT_EQ(log_->Lines(),
            (Strings{"Server: Shutdown wird durchgef\xFChrt", kEnded, "Server: Server beendet"}));
  EXPECT_TRUE(Config().StartBtn.Enabled());
  EXPECT_FALSE(Config().StopBtn.Enabled());
}

TEST_F(Server, StartStopStartReusesTheServerObject) {
  std::uint16_t first = StartServer();
  ServerSocket* server = Config().SrvSocket.get();
  StopServer();
  ASSERT_TRUE(log_->WaitFor(kEnded));
  std::uint16_t second = StartServer(std::to_string(first));
  EXPECT_EQ(second, first);  // the same port binds again at once
  EXPECT_EQ(Config().SrvSocket.get(), server);
  EXPECT_EQ(Count(log_->Lines(), kStartLine), 2);
  Request(second, "GET /A?b");
  EXPECT_TRUE(log_->WaitFor("Server: Erhalten: GET /A?b"));
}

TEST_F(Server, QuitReturnsPromptlyWithSilentClientsAndNoTimeOut) {
  std::uint16_t port = StartServer("0", "0");
  std::vector<std::unique_ptr<Client>> clients;
  for (int i = 0; i < 3; ++i) clients.push_back(std::make_unique<Client>(port));
  ASSERT_TRUE(log_->WaitFor("Server: Client connect: 127.0.0.1", 3));
  log_.reset();
  auto started = std::chrono::steady_clock::now();
  record_->quit();
  record_ = nullptr;
  auto took = std::chrono::steady_clock::now() - started;
  EXPECT_LT(took, std::chrono::seconds(2));
  EXPECT_EQ(PluginInterface, nullptr);
  for (auto& c : clients) EXPECT_EQ(c->ReadAll(2000), "");
}

TEST(Listening, ABurstOfClientsWaitsInTheBacklogWithoutRetries) {
  // With a small backlog the system drops the excess connection requests and the clients
  // retry only after a second or more.
  (void)net::Startup();
  net::Socket l = net::OpenStream();
  ASSERT_EQ(net::Bind(l, net::InetAddr("127.0.0.1"), 0), 0);
  ASSERT_EQ(net::Listen(l), 0);
  auto started = std::chrono::steady_clock::now();
  std::vector<std::unique_ptr<Client>> clients;
  for (int i = 0; i < 40; ++i) clients.push_back(std::make_unique<Client>(net::LocalPort(l)));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(900));
  for (auto& c : clients) EXPECT_TRUE(c->Connected());
  clients.clear();
  net::Close(l);
  (void)net::Cleanup();
}

TEST_F(Server, ServesAtMost64ClientsAtOnce) {
  std::uint16_t port = StartServer("0", "0");
  std::vector<std::unique_ptr<Client>> clients;
  for (int i = 0; i < 65; ++i) clients.push_back(std::make_unique<Client>(port));
  const std::string connected = "Server: Client connect: 127.0.0.1";
  ASSERT_TRUE(log_->WaitFor(connected, 64));
  EXPECT_EQ(Config().SrvSocket->Served(), 64);
  EXPECT_EQ(Count(log_->Lines(), connected), 64);
  clients[0]->Close();  // its worker finishes and the successor takes the waiting client
  EXPECT_TRUE(log_->WaitFor(connected, 65));
}

TEST_F(Server, ClientsThatResetInTheBacklogDoNotStopTheServer) {
  std::uint16_t port = StartServer("0", "0");
  // 64 silent clients take every place, so the next ones wait in the backlog, where they reset.
  std::vector<std::unique_ptr<Client>> clients;
  for (int i = 0; i < 64; ++i) clients.push_back(std::make_unique<Client>(port));
  ASSERT_TRUE(log_->WaitFor("Server: Client connect: 127.0.0.1", 64));
  for (int i = 0; i < 40; ++i) Client(port).Reset();
  clients.clear();
  ASSERT_TRUE(log_->WaitFor(kEnded, 64));
  Request(port, "GET /A?b");
  EXPECT_TRUE(log_->WaitFor("Server: Erhalten: GET /A?b"));
}

}  // namespace
