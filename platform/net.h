#pragma once
// Sockets seam. The operations map one-to-one onto the calls that the server and the answers
// make, so that every log line and failure point stays with its caller. Results follow the
// socket library: 0 or a count on success, -1 on failure, the error number from LastError().

#include <atomic>
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
// Makes receives and sends on s return at once when they would block (the error then says so,
// see WouldBlock), so that their caller can wait for the socket and a stop together (WaitFor).
[[nodiscard]] int SetNonBlocking(Socket s);
// Whether an error number says that a call on a non-blocking socket would have blocked.
bool WouldBlock(int error);
[[nodiscard]] int SetLingerAbort(Socket s);
// Lets a restart bind the port again at once (POSIX only; a no-op returning 0 on Windows,
// where it would let another program take the port over).
[[nodiscard]] int SetReuseAddress(Socket s);
// Closes the socket. A thread blocked in accept on it returns with a failure.
int Close(Socket s);
// Waits for a client; peer gets its dotted address. kInvalidSocket on failure.
Socket Accept(Socket s, std::string& peer);
// What a failed accept's error number says: the client went away while it waited (its
// connection is used up), the system ran out of handles, buffers or memory, or something else.
enum class AcceptError { kClientGone, kShortage, kOther };
AcceptError ClassifyAcceptError(int error);
// One receive / one send of part or all of buf, as the socket's mode has them: a blocking socket
// waits (bounded by its receive time-out), a non-blocking one fails at once with WouldBlock.
[[nodiscard]] int Receive(Socket s, char* buf, int len);
[[nodiscard]] int Send(Socket s, const char* buf, int len);
// True when the peer has closed or reset the connection: a look that neither waits nor takes a
// byte (data that has arrived, or nothing at all, is false).
bool PeerClosed(Socket s);
// Connects to addr (network byte order) and port (host byte order); for clients and tests.
[[nodiscard]] int Connect(Socket s, std::uint32_t addr, std::uint16_t port);
// The port a socket is bound to (host byte order), 0 when unknown.
std::uint16_t LocalPort(Socket s);

// The platform's dotted-quad conversion; all bits set for a text that is no address.
std::uint32_t InetAddr(const std::string& dotted);

// The host's own IPv4 addresses as the resolver gives them for the host name; false on any
// failure of start-up, host name or resolver.
bool HostAddresses(std::vector<std::string>& out);

// A stop that waits can watch beside their socket: a connected pair of loopback sockets (the
// self-pipe idea, within the socket library alone), whose reading end becomes readable, and
// stays so, once it is raised. A wait then costs nothing until its socket or the stop has
// something to say: no slices, no wake-ups of idle clients.
class WakeSocket {
 public:
  // Valid() is false when the system refused the pair (every wait is then a plain wait).
  WakeSocket();
  ~WakeSocket();
  WakeSocket(const WakeSocket&) = delete;
  WakeSocket& operator=(const WakeSocket&) = delete;

  bool Valid() const { return read_ != kInvalidSocket; }
  // The error number of the refusal (0 when the pair exists).
  int Error() const { return error_; }
  // Wakes every wait that watches it, now and from now on. Safe from any thread, and twice.
  void Raise();
  bool Raised() const { return raised_.load(); }
  Socket ReadEnd() const { return read_; }

 private:
  Socket read_ = kInvalidSocket;
  Socket write_ = kInvalidSocket;
  int error_ = 0;
  // Windows only: holds a start-up of the socket library while the pair lives.
  [[maybe_unused]] bool started_ = false;
  std::atomic<bool> raised_{false};
};

enum class Readiness { kReady, kTimedOut, kWoken, kFailed };
// Waits until s can be read (forWrite: written), the wake socket has been raised, or timeoutMs
// have passed (0 or less: no limit). kFailed with the error set when the wait itself fails.
Readiness WaitFor(Socket s, bool forWrite, int timeoutMs, const WakeSocket& wake);

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
