#include "platform/net.h"

#include <winsock.h>

#include <vector>

namespace net {

namespace {
// An IPv4 socket address: addr in network byte order, port in host byte order.
sockaddr_in Address(std::uint32_t addr, std::uint16_t port) {
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_port = htons(port);
  sa.sin_addr.s_addr = addr;
  return sa;
}
SOCKET S(Socket s) {
  return static_cast<SOCKET>(s);
}

}  // namespace

int Startup() {
  WSADATA data;
  return WSAStartup(0x0002, &data);
}

int Cleanup() {
  return WSACleanup() == 0 ? 0 : -1;
}

int LastError() {
  return WSAGetLastError();
}

Socket OpenStream() {
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  return s == INVALID_SOCKET ? kInvalidSocket : static_cast<Socket>(s);
}

int Bind(Socket s, std::uint32_t addr, std::uint16_t port) {
  sockaddr_in sa = Address(addr, port);
  return bind(S(s), reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0 ? 0 : -1;
}

// The Windows Sockets 1.1 header's SOMAXCONN is 5; this value asks the system for its largest
// backlog, so that a burst of clients is not dropped and retried only after seconds.
constexpr int kLargestBacklog = 0x7fffffff;

int Listen(Socket s) {
  return listen(S(s), kLargestBacklog) == 0 ? 0 : -1;
}

int SetBlocking(Socket s) {
  u_long zero = 0;
  return ioctlsocket(S(s), FIONBIO, &zero) == 0 ? 0 : -1;
}

namespace {
int SetTimeout(Socket s, int option, int ms) {
  int value = ms;
  return setsockopt(S(s), SOL_SOCKET, option, reinterpret_cast<const char*>(&value),
                    sizeof value) == 0
             ? 0
             : -1;
}
}  // namespace

int SetReceiveTimeout(Socket s, int ms) {
  return SetTimeout(s, SO_RCVTIMEO, ms);
}

int SetNonBlocking(Socket s) {
  u_long on = 1;
  return ioctlsocket(S(s), FIONBIO, &on) == 0 ? 0 : -1;
}

bool WouldBlock(int error) {
  return error == WSAEWOULDBLOCK;
}

int SetLingerAbort(Socket s) {
  linger l{};  // Windows Sockets 1.1: two u_short fields, four bytes
  l.l_onoff = 1;
  l.l_linger = 0;
  return setsockopt(S(s), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&l), sizeof l) == 0
             ? 0
             : -1;
}

int SetReuseAddress(Socket) {
  return 0;
}

int Close(Socket s) {
  return closesocket(S(s)) == 0 ? 0 : -1;
}

Socket Accept(Socket s, std::string& peer) {
  sockaddr_in sa{};
  int len = 16;
  SOCKET c = accept(S(s), reinterpret_cast<sockaddr*>(&sa), &len);
  if (c == INVALID_SOCKET) return kInvalidSocket;
  peer = inet_ntoa(sa.sin_addr);
  return static_cast<Socket>(c);
}

AcceptError ClassifyAcceptError(int error) {
  // Wine reports a connection that was reset in the backlog as "not connected".
  if (error == WSAECONNRESET || error == WSAECONNABORTED || error == WSAENOTCONN) {
    return AcceptError::kClientGone;
  }
  if (error == WSAEMFILE || error == WSAENOBUFS) return AcceptError::kShortage;
  return AcceptError::kOther;
}

int Receive(Socket s, char* buf, int len) {
  int n = recv(S(s), buf, len, 0);
  return n == SOCKET_ERROR ? -1 : n;
}

int Send(Socket s, const char* buf, int len) {
  int n = send(S(s), buf, len, 0);
  return n == SOCKET_ERROR ? -1 : n;
}

bool PeerClosed(Socket s) {
  // Only a readable socket is asked, so the look cannot block even where the socket blocks.
  fd_set reads;
  FD_ZERO(&reads);
  FD_SET(S(s), &reads);
  timeval now{};
  if (select(0, &reads, nullptr, nullptr, &now) != 1) return false;
  char c;
  const int n = recv(S(s), &c, 1, MSG_PEEK);
  if (n == 0) return true;
  return n == SOCKET_ERROR && WSAGetLastError() != WSAEWOULDBLOCK;
}

int Connect(Socket s, std::uint32_t addr, std::uint16_t port) {
  sockaddr_in sa = Address(addr, port);
  return connect(S(s), reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0 ? 0 : -1;
}

std::uint16_t LocalPort(Socket s) {
  sockaddr_in sa{};
  int len = sizeof sa;
  if (getsockname(S(s), reinterpret_cast<sockaddr*>(&sa), &len) != 0) return 0;
  return ntohs(sa.sin_port);
}

WakeSocket::WakeSocket() {
  // Windows Sockets has no socket pair: a listener on the loopback address, one connection to
  // it, and the listener closed again.
  WSADATA data;
  started_ = WSAStartup(0x0002, &data) == 0;
  SOCKET listener = socket(AF_INET, SOCK_STREAM, 0);
  SOCKET writer = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in sa = Address(htonl(INADDR_LOOPBACK), 0);
  int len = sizeof sa;
  SOCKET reader = INVALID_SOCKET;
  if (listener != INVALID_SOCKET && writer != INVALID_SOCKET &&
      bind(listener, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0 &&
      listen(listener, 1) == 0 &&
      getsockname(listener, reinterpret_cast<sockaddr*>(&sa), &len) == 0 &&
      connect(writer, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0) {
    reader = accept(listener, nullptr, nullptr);
  }
  const int error = WSAGetLastError();
  if (listener != INVALID_SOCKET) closesocket(listener);
  if (reader == INVALID_SOCKET) {
    if (writer != INVALID_SOCKET) closesocket(writer);
    error_ = error != 0 ? error : WSAENOBUFS;
    return;
  }
  read_ = static_cast<Socket>(reader);
  write_ = static_cast<Socket>(writer);
}

WakeSocket::~WakeSocket() {
  if (read_ != kInvalidSocket) closesocket(S(read_));
  if (write_ != kInvalidSocket) closesocket(S(write_));
  if (started_) WSACleanup();
}

void WakeSocket::Raise() {
  if (raised_.exchange(true) || write_ == kInvalidSocket) return;
  // One byte that nobody reads keeps the other end readable for good.
  const char byte = 1;
  send(S(write_), &byte, 1, 0);
}

Readiness WaitFor(Socket s, bool forWrite, int timeoutMs, const WakeSocket& wake) {
  const DWORD start = GetTickCount();
  for (;;) {
    // The wake socket is always watched for reading; s for reading or for room to write.
    fd_set reads;
    fd_set writes;
    FD_ZERO(&reads);
    FD_ZERO(&writes);
    FD_SET(S(s), forWrite ? &writes : &reads);
    if (wake.Valid()) FD_SET(S(wake.ReadEnd()), &reads);
    timeval wait{};
    timeval* limit = nullptr;
    if (timeoutMs > 0) {
      const DWORD spent = GetTickCount() - start;
      if (spent >= static_cast<DWORD>(timeoutMs)) return Readiness::kTimedOut;
      const DWORD left = static_cast<DWORD>(timeoutMs) - spent;
      wait.tv_sec = static_cast<long>(left / 1000);
      wait.tv_usec = static_cast<long>(left % 1000) * 1000;
      limit = &wait;
    }
    // Errors of a connection come as readiness: the next call on the socket reports them.
    int n = select(0, &reads, forWrite ? &writes : nullptr, nullptr, limit);
    if (n == SOCKET_ERROR) return Readiness::kFailed;
    if (wake.Valid() && FD_ISSET(S(wake.ReadEnd()), &reads)) return Readiness::kWoken;
    if (n > 0) return Readiness::kReady;
  }
}

std::uint32_t InetAddr(const std::string& dotted) {
  return inet_addr(dotted.c_str());
}

bool HostAddresses(std::vector<std::string>& out) {
  WSADATA data;
  if (WSAStartup(0x0101, &data) != 0) return false;
  bool ok = false;
  char name[256] = {};
  if (gethostname(name, 255) == 0) {
    hostent* he = gethostbyname(name);
    if (he != nullptr && he->h_addrtype == AF_INET) {
      ok = true;
      for (char** p = he->h_addr_list; *p != nullptr; ++p) {
        in_addr a;
        a.s_addr = *reinterpret_cast<u_long*>(*p);
        out.push_back(inet_ntoa(a));
      }
    }
  }
  WSACleanup();
  return ok;
}

}  // namespace net
