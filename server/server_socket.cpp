#include "server/server_socket.h"

#include "base/text.h"
#include "platform/clock.h"
#include "server/server_host.h"

ServerSocket::ServerSocket(ServerHost& host, int sendTimeoutMs)
    : host_(host), workers_(std::make_unique<Workers>(host, sendTimeoutMs)) {}

ServerSocket::~ServerSocket() {
  // Only an owner that did not stop the server gets here with workers: they keep their parts.
  if (workers_->Threads() > 0) (void)workers_.release();
}

void ServerSocket::Log(const std::string& message) {
  host_.WriteLog(message);
}

bool ServerSocket::Abandon(const std::string& message) {
  Log(message);
  (void)Shutdown(nullptr, 0);
  return false;
}

void ServerSocket::Start() {
  if (Open()) {
    // Clients are served all the same; only a quit cannot end their waits early.
    if (workers_->StopError() != 0) {
      Log("Stoppsignal fehlgeschlagen - Fehlercode: " + text::IntToStr(workers_->StopError()));
    }
    host_.ServerStarted();
    workers_->Begin(listening_.load(), receiveTimeoutMs_);
  } else {
    workers_->BeginFailed();
  }
}

bool ServerSocket::Open() {
  try {
    if (net::Startup() == 0) {
      started_ = true;
    } else {
      Log("Start WINSOCK fehlgeschlagen");
    }

    bindAddress_ = host_.BindAddress();
    std::string portText = host_.PortText();
    auto port = text::ParseInt(portText);
    if (!port) return Abandon("Port (" + portText + ") ist keine Zahl");
    port_ = static_cast<std::uint16_t>(*port);

    net::Socket s = net::OpenStream();
    listening_.store(s);
    if (s == net::kInvalidSocket) {
      return Abandon("SOCKET fehler - Fehlercode: " + text::IntToStr(net::LastError()));
    }
    // Lets a restart on the same port work at once after clients were served.
    (void)net::SetReuseAddress(s);
    if (net::Bind(s, bindAddress_, port_) == -1) {
      return Abandon("Bindung fehlgeschlagen - Fehlercode: " + text::IntToStr(net::LastError()));
    }
    Log("Port (" + text::IntToStr(port_) + ") initialisiert");
    Log("Socketbindung erstellt");
    if (net::Listen(s) == -1) {
      return Abandon("Listen-Mode fehlgeschlagen!  Fehlercode: " +
                     text::IntToStr(net::LastError()));
    }
    Log("Socket ist in Horchmodus");
    if (net::SetBlocking(s) == -1) return Abandon("Socket I/O Control fehlgeschlagen");

    std::string timeoutText = host_.TimeoutText();
    auto timeout = text::ParseInt(timeoutText);
    if (!timeout) return Abandon("Timeout (" + timeoutText + ") ist keine Zahl");
    if (net::SetReceiveTimeout(s, *timeout) == -1) {
      return Abandon("setsockopt SO_RCVTIMEO fehlgeschlagen.");
    }
    receiveTimeoutMs_ = *timeout;
    return true;
  } catch (...) {
    return Abandon("FEHLER in (ServerSocket::Start)");
  }
}

bool ServerSocket::Shutdown(const Acceptor::Ticket& chain, std::int64_t deadlineMs) {
  bool ended = true;
  try {
    Log("Shutdown wird durchgef\xFChrt");
    net::Socket s = listening_.load();
    if (net::SetLingerAbort(s) == -1) Log("ServerLoop: setsockopt SO_LINGER failed.\n");
    // The field holds the invalid handle from here on, so a second shutdown cannot close a
    // handle that the system has since given to another socket.
    s = listening_.exchange(net::kInvalidSocket);
    if (net::Close(s) != 0) Log("Shutdown: closesocket failed.\n");
    // The close has woken the worker that waited in accept; before a restart opens the next
    // socket, no worker of this start may be left in accept (and its last line is written).
    ended = workers_->AwaitChain(chain, deadlineMs);
    // One clean-up for each start-up of a start: a second shutdown must not take away a start-up
    // that belongs to someone else in the process (the player, the stop's wake socket), which
    // would let the system reset every socket of the process.
    if (started_) {
      started_ = false;
      if (net::Cleanup() != 0) Log("Shutdown: WSACleanup failed.\n");
    }
    Log("Server beendet");
  } catch (...) {
    Log("FEHLER in (ServerSocket::Shutdown)");
  }
  return ended;
}

bool ServerSocket::Stop(const StopPlan& plan) {
  try {
    const std::int64_t deadline = clk::SteadyMs() + plan.waitMs;
    // From here on no worker of this start accepts again; the close wakes the one that waits.
    Acceptor::Ticket chain = workers_->CloseChain();
    bool ended = true;
    if (!plan.quit || listening_.load() != net::kInvalidSocket) {
      ended = Shutdown(chain, deadline);
    } else {
      ended = workers_->AwaitChain(chain, deadline);
    }
    host_.ServerStopping();
    if (!plan.quit) {
      workers_->Reap();
      return ended;
    }
    workers_->InterruptClients();
    return workers_->JoinAll(deadline) && ended;
  } catch (...) {
    try {
      Log("FEHLER in (ServerSocket::Stop)");
    } catch (...) {
    }
    return false;
  }
}

std::uint16_t ServerSocket::BoundPort() const {
  net::Socket s = listening_.load();
  return s == net::kInvalidSocket ? 0 : net::LocalPort(s);
}
