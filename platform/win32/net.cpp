#include "platform/net.h"

#include <winsock.h>

#include <algorithm>
#include <mutex>
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

// Sockets whose receive was interrupted, until their owner closes them. Windows Sockets under
// Wine wakes a blocked recv (and select) only by closing the socket, not by shutdown; closing
// is the owner's business, so a receive waits in short slices and looks for this mark between.
std::mutex g_interruptLock;
std::vector<SOCKET> g_interrupted;
constexpr DWORD kSliceMs = 50;

bool Interrupted(SOCKET s) {
  std::lock_guard<std::mutex> g(g_interruptLock);
  return std::find(g_interrupted.begin(), g_interrupted.end(), s) != g_interrupted.end();
}

void Forget(SOCKET s) {
  std::lock_guard<std::mutex> g(g_interruptLock);
  g_interrupted.erase(std::remove(g_interrupted.begin(), g_interrupted.end(), s),
                      g_interrupted.end());
}

// A time-out option of the socket in milliseconds, 0 (none) when it cannot be read.
DWORD TimeoutOf(SOCKET s, int option) {
  DWORD limit = 0;
  int size = sizeof limit;
  return getsockopt(s, SOL_SOCKET, option, reinterpret_cast<char*>(&limit), &size) == 0 ? limit : 0;
}

// Waits in short slices until s can be read (or written), looking for the interrupt mark
// between them; limit (0: none) counts from start. 0 when ready, -1 with the error set.
int WaitReady(SOCKET s, bool write, DWORD limit, DWORD start) {
  for (;;) {
    if (Interrupted(s)) {
      WSASetLastError(WSAEINTR);
      return -1;
    }
    DWORD slice = kSliceMs;
    if (limit != 0) {
      DWORD spent = GetTickCount() - start;
      if (spent >= limit) {
        WSASetLastError(WSAETIMEDOUT);
        return -1;
      }
      slice = std::min(slice, limit - spent);
    }
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(s, &ready);
    timeval wait{0, static_cast<long>(slice) * 1000};
    int n = select(0, write ? nullptr : &ready, write ? &ready : nullptr, nullptr, &wait);
    if (n == SOCKET_ERROR) return -1;
    if (n > 0) return 0;
  }
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

int SetSendTimeout(Socket s, int ms) {
  // A send blocked in the system cannot be woken by a quit (under Wine not even by shutdown):
  // from here on the socket sends without blocking, and Send waits for room itself.
  u_long on = 1;
  if (ioctlsocket(S(s), FIONBIO, &on) != 0) return -1;
  return SetTimeout(s, SO_SNDTIMEO, ms);
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
  // The system may give the handle to the next socket: it must not inherit the mark.
  Forget(S(s));
  return closesocket(S(s)) == 0 ? 0 : -1;
}

void Interrupt(Socket s) {
  {
    std::lock_guard<std::mutex> g(g_interruptLock);
    g_interrupted.push_back(S(s));
  }
  shutdown(S(s), 2);  // SD_BOTH; on Windows it also ends the client's wait for a reply
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
  // The receive time-out (SO_RCVTIMEO, inherited from the listening socket) bounds the whole
  // wait; 0 means none.
  if (WaitReady(S(s), false, TimeoutOf(S(s), SO_RCVTIMEO), GetTickCount()) != 0) return -1;
  int n = recv(S(s), buf, len, 0);
  return n == SOCKET_ERROR ? -1 : n;
}

int Send(Socket s, const char* buf, int len) {
  // A socket with a send time-out sends without blocking (see SetSendTimeout): when there is no
  // room, it waits like a receive waits for data, bounded by the time-out and ended by an
  // interrupt. The time-out is read only then: most sends find room at once.
  DWORD limit = 0;
  DWORD start = 0;
  for (bool waited = false;; waited = true) {
    int n = send(S(s), buf, len, 0);
    if (n != SOCKET_ERROR) return n;
    if (WSAGetLastError() != WSAEWOULDBLOCK) return -1;
    if (!waited) {
      limit = TimeoutOf(S(s), SO_SNDTIMEO);
      start = GetTickCount();
    }
    if (WaitReady(S(s), true, limit, start) != 0) return -1;
  }
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
