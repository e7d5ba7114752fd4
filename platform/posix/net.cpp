#include "platform/net.h"

#include "platform/clock.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <mutex>

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
std::mutex g_startMutex;
int g_starts = 0;
constexpr int kNotInitialised = 10093;  // the Windows Sockets number, for a balanced log
thread_local int t_lastError = 0;

int Fail() {
  t_lastError = errno;
  return -1;
}
}  // namespace

int Startup() {
  std::lock_guard<std::mutex> lock(g_startMutex);
  ++g_starts;
  return 0;
}

int Cleanup() {
  std::lock_guard<std::mutex> lock(g_startMutex);
  if (g_starts == 0) {
    t_lastError = kNotInitialised;
    return -1;
  }
  --g_starts;
  return 0;
}

int LastError() {
  return t_lastError;
}

Socket OpenStream() {
  int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (s < 0) return Fail();
  return s;
}

int Bind(Socket s, std::uint32_t addr, std::uint16_t port) {
  sockaddr_in sa = Address(addr, port);
  if (::bind(static_cast<int>(s), reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
    return Fail();
  }
  return 0;
}

int Listen(Socket s) {
  return ::listen(static_cast<int>(s), SOMAXCONN) == 0 ? 0 : Fail();
}

int SetBlocking(Socket s) {
  int flags = ::fcntl(static_cast<int>(s), F_GETFL);
  if (flags < 0) return Fail();
  return ::fcntl(static_cast<int>(s), F_SETFL, flags & ~O_NONBLOCK) == 0 ? 0 : Fail();
}

namespace {
int SetTimeout(Socket s, int option, int ms) {
  timeval tv{};
  if (ms > 0) {
    tv.tv_sec = ms / 1000;
    tv.tv_usec = (ms % 1000) * 1000;
  }
  // A negative value is no limit on Windows (it is a huge unsigned number there).
  int r = ::setsockopt(static_cast<int>(s), SOL_SOCKET, option, &tv, sizeof tv);
  return r == 0 ? 0 : Fail();
}
}  // namespace

int SetReceiveTimeout(Socket s, int ms) {
  return SetTimeout(s, SO_RCVTIMEO, ms);
}

int SetNonBlocking(Socket s) {
  int on = 1;
  return ::ioctl(static_cast<int>(s), FIONBIO, &on) == 0 ? 0 : Fail();
}

bool WouldBlock(int error) {
  return error == EAGAIN || error == EWOULDBLOCK;
}

int SetLingerAbort(Socket s) {
  linger l{};
  l.l_onoff = 1;
  l.l_linger = 0;
  return ::setsockopt(static_cast<int>(s), SOL_SOCKET, SO_LINGER, &l, sizeof l) == 0 ? 0 : Fail();
}

int SetReuseAddress(Socket s) {
  int on = 1;
  return ::setsockopt(static_cast<int>(s), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) == 0 ? 0
                                                                                          : Fail();
}

int Close(Socket s) {
  if (s < 0) {
    errno = EBADF;
    return Fail();
  }
  // close() alone leaves a thread blocked in accept() waiting; shutdown() wakes it.
  ::shutdown(static_cast<int>(s), SHUT_RDWR);
  return ::close(static_cast<int>(s)) == 0 ? 0 : Fail();
}

Socket Accept(Socket s, std::string& peer) {
  sockaddr_in sa{};
  socklen_t len = sizeof sa;
  int c;
  // The receive time-out on the listening socket is meant for the accepted sockets (they
  // inherit it); on Linux it also ends a waiting accept, which then simply waits again.
  do {
    len = sizeof sa;
    c = ::accept4(static_cast<int>(s), reinterpret_cast<sockaddr*>(&sa), &len, SOCK_CLOEXEC);
  } while (c < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR));
  if (c < 0) return Fail();
  char buf[INET_ADDRSTRLEN] = {};
  ::inet_ntop(AF_INET, &sa.sin_addr, buf, sizeof buf);
  peer = buf;
  return c;
}

AcceptError ClassifyAcceptError(int error) {
  if (error == ECONNABORTED || error == ECONNRESET || error == EPROTO) {
    return AcceptError::kClientGone;
  }
  if (error == EMFILE || error == ENFILE || error == ENOBUFS || error == ENOMEM) {
    return AcceptError::kShortage;
  }
  return AcceptError::kOther;
}

int Receive(Socket s, char* buf, int len) {
  for (;;) {
    ssize_t n = ::recv(static_cast<int>(s), buf, static_cast<std::size_t>(len), 0);
    if (n >= 0) return static_cast<int>(n);
    if (errno != EINTR) return Fail();
  }
}

int Send(Socket s, const char* buf, int len) {
  ssize_t n = ::send(static_cast<int>(s), buf, static_cast<std::size_t>(len), MSG_NOSIGNAL);
  return n >= 0 ? static_cast<int>(n) : Fail();
}

bool PeerClosed(Socket s) {
  char c;
  const ssize_t n = ::recv(static_cast<int>(s), &c, 1, MSG_PEEK | MSG_DONTWAIT);
  if (n == 0) return true;
  return n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR;
}

int Connect(Socket s, std::uint32_t addr, std::uint16_t port) {
  sockaddr_in sa = Address(addr, port);
  return ::connect(static_cast<int>(s), reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0 ? 0
                                                                                          : Fail();
}

std::uint16_t LocalPort(Socket s) {
  sockaddr_in sa{};
  socklen_t len = sizeof sa;
  if (::getsockname(static_cast<int>(s), reinterpret_cast<sockaddr*>(&sa), &len) != 0) return 0;
  return ntohs(sa.sin_port);
}

WakeSocket::WakeSocket() {
  int pair[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) {
    error_ = errno;
    return;
  }
  read_ = pair[0];
  write_ = pair[1];
}

WakeSocket::~WakeSocket() {
  if (read_ != kInvalidSocket) ::close(static_cast<int>(read_));
  if (write_ != kInvalidSocket) ::close(static_cast<int>(write_));
}

void WakeSocket::Raise() {
  if (raised_.exchange(true) || write_ == kInvalidSocket) return;
  // The end of the stream makes the other end readable for good.
  ::shutdown(static_cast<int>(write_), SHUT_WR);
}

Readiness WaitFor(Socket s, bool forWrite, int timeoutMs, const WakeSocket& wake) {
  pollfd fds[2] = {{static_cast<int>(s), static_cast<short>(forWrite ? POLLOUT : POLLIN), 0},
                   {static_cast<int>(wake.ReadEnd()), POLLIN, 0}};
  const nfds_t count = wake.Valid() ? 2 : 1;
  const std::int64_t deadline = timeoutMs > 0 ? clk::SteadyMs() + timeoutMs : 0;
  for (;;) {
    int wait = -1;
    if (timeoutMs > 0) {
      const std::int64_t left = deadline - clk::SteadyMs();
      if (left <= 0) return Readiness::kTimedOut;
      wait = static_cast<int>(left);
    }
    int n = ::poll(fds, count, wait);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      Fail();
      return Readiness::kFailed;
    }
    if (count == 2 && fds[1].revents != 0) return Readiness::kWoken;
    // An error or the peer's end also makes the socket "ready": the next call reports it.
    if (n > 0) return Readiness::kReady;
    if (timeoutMs > 0 && clk::SteadyMs() >= deadline) return Readiness::kTimedOut;
  }
}

std::uint32_t InetAddr(const std::string& dotted) {
  in_addr a{};
  // inet_aton accepts the same forms as the Windows inet_addr (a.b.c.d, a.b.c, a.b, a).
  if (::inet_aton(dotted.c_str(), &a) == 0) return 0xFFFFFFFFu;
  return a.s_addr;
}

bool HostAddresses(std::vector<std::string>& out) {
  char name[256] = {};
  if (::gethostname(name, 255) != 0) return false;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* res = nullptr;
  if (::getaddrinfo(name, nullptr, &hints, &res) != 0) return false;
  for (addrinfo* p = res; p != nullptr; p = p->ai_next) {
    char buf[INET_ADDRSTRLEN] = {};
    auto* sa = reinterpret_cast<sockaddr_in*>(p->ai_addr);
    ::inet_ntop(AF_INET, &sa->sin_addr, buf, sizeof buf);
    std::string text = buf;
    bool seen = false;
    for (const auto& o : out) seen = seen || o == text;
    if (!seen) out.push_back(text);
  }
  ::freeaddrinfo(res);
  return true;
}

}  // namespace net
