#pragma once
// Sockets seam. The operations map one-to-one onto the calls that the server and the answers
// make, so that every log line and failure point stays with its caller. Results follow the
// socket library: 0 or a count on success, -1 on failure, the error number from LastError().

#include <cstdint>
#include <string>
#include <vector>

namespace net {

using Socket = std::intptr_t;
inline constexpr Socket kInvalidSocket = -1;

// Start-up and clean-up of the socket library (counted, as Windows Sockets does).
[[nodiscard]] int Startup();
[[nodiscard]] int Cleanup();
// The error number of the last failing call of this thread, as the platform reports it.
int LastError();

[[nodiscard]] Socket OpenStream();
// addr in network byte order, port in host byte order.
[[nodiscard]] int Bind(Socket s, std::uint32_t addr, std::uint16_t port);
[[nodiscard]] int Listen(Socket s);  // with the system's largest backlog
[[nodiscard]] int SetBlocking(Socket s);
[[nodiscard]] int SetReceiveTimeout(Socket s, int ms);
// Bounds each send on a client socket to ms (0: no limit); a send that runs out fails. On
// Windows the socket's sends can be interrupted from then on.
[[nodiscard]] int SetSendTimeout(Socket s, int ms);
[[nodiscard]] int SetLingerAbort(Socket s);
// Lets a restart bind the port again at once (POSIX only; a no-op returning 0 on Windows,
// where it would let another program take the port over).
[[nodiscard]] int SetReuseAddress(Socket s);
// Closes the socket. A thread blocked in accept or recv on it returns with a failure.
int Close(Socket s);
// Makes a receive that blocks (or will block) on a client socket return a failure or the end;
// the handle stays open and belongs to its owner, who closes it. POSIX shuts the socket down;
// Windows marks it, and its receive waits in short slices that look for the mark.
void Interrupt(Socket s);
// Waits for a client; peer gets its dotted address. kInvalidSocket on failure.
Socket Accept(Socket s, std::string& peer);
// What a failed accept's error number says: the client went away while it waited (its
// connection is used up), the system ran out of handles, buffers or memory, or something else.
enum class AcceptError { kClientGone, kShortage, kOther };
AcceptError ClassifyAcceptError(int error);
[[nodiscard]] int Receive(Socket s, char* buf, int len);
// Sends part or all of buf; an interrupted send fails, like an interrupted receive (on Windows
// once the socket has a send time-out).
[[nodiscard]] int Send(Socket s, const char* buf, int len);
// Connects to addr (network byte order) and port (host byte order); for clients and tests.
[[nodiscard]] int Connect(Socket s, std::uint32_t addr, std::uint16_t port);
// The port a socket is bound to (host byte order), 0 when unknown.
std::uint16_t LocalPort(Socket s);

// The platform's dotted-quad conversion; all bits set for a text that is no address.
std::uint32_t InetAddr(const std::string& dotted);

// The host's own IPv4 addresses as the resolver gives them for the host name; false on any
// failure of start-up, host name or resolver.
bool HostAddresses(std::vector<std::string>& out);

// Owns one socket handle and closes it exactly once: at Reset or at its end.
class OwnedSocket {
 public:
  OwnedSocket() = default;
  explicit OwnedSocket(Socket s) : s_(s) {}
  ~OwnedSocket() { Reset(); }
  OwnedSocket(const OwnedSocket&) = delete;
  OwnedSocket& operator=(const OwnedSocket&) = delete;

  Socket Get() const { return s_; }
  bool Valid() const { return s_ != kInvalidSocket; }
  // Takes over s, closing the handle held before.
  void Adopt(Socket s) {
    Reset();
    s_ = s;
  }
  // Closes the handle (if any); the owner holds the invalid handle afterwards.
  void Reset() {
    Socket s = s_;
    s_ = kInvalidSocket;
    if (s != kInvalidSocket) Close(s);
  }

 private:
  Socket s_ = kInvalidSocket;
};

}  // namespace net
