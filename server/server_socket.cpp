#include "server/server_socket.h"

#include "base/text.h"
#include "server/server_host.h"

ServerSocket::ServerSocket(ServerHost& host, int sendTimeoutMs)
    : host_(host), workers_(host, sendTimeoutMs) {}

ServerSocket::~ServerSocket() {
  try {
    if (listening_.load() != net::kInvalidSocket) Shutdown();
  } catch (...) {
  }
}

void ServerSocket::Log(const std::string& message) {
  host_.WriteLog(message);
}

void ServerSocket::Abandon(const std::string& message) {
  Log(message);
  Shutdown();
}

void ServerSocket::Start() {
  Open();
  workers_.StartWorker();
}

void ServerSocket::Open() {
  try {
    if (net::Startup() != 0) Log("Start WINSOCK fehlgeschlagen");

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
    workers_.Open(s);
  } catch (...) {
    Abandon("FEHLER in (ServerSocket::Start)");
  }
}

void ServerSocket::Shutdown() {
  try {
    Log("Shutdown wird durchgef\xFChrt");
    workers_.Close();
    net::Socket s = listening_.load();
    if (net::SetLingerAbort(s) == -1) Log("ServerLoop: setsockopt SO_LINGER failed.\n");
    // The field holds the invalid handle from here on, so a second shutdown cannot close a
    // handle that the system has since given to another socket.
    s = listening_.exchange(net::kInvalidSocket);
    if (net::Close(s) != 0) Log("Shutdown: closesocket failed.\n");
    if (net::Cleanup() != 0) Log("Shutdown: WSACleanup failed.\n");
    Log("Server beendet");
  } catch (...) {
    Log("FEHLER in (ServerSocket::Shutdown)");
  }
}

bool ServerSocket::StopForQuit(int timeoutMs) {
  if (listening_.load() != net::kInvalidSocket) Shutdown();
  return workers_.StopAll(timeoutMs);
}

std::uint16_t ServerSocket::BoundPort() const {
  net::Socket s = listening_.load();
  return s == net::kInvalidSocket ? 0 : net::LocalPort(s);
}
