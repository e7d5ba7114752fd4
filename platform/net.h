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
[[nodiscard]] int SetLingerAbort(Socket s);
// Lets a restart bind the port again at once (POSIX only; a no-op returning 0 on Windows,
// where it would let another program take the port over).
[[nodiscard]] int SetReuseAddress(Socket s);
// Closes the socket. A thread blocked in accept or recv on it returns with a failure.
int Close(Socket s);
// Makes a receive that blocks on a client socket return. POSIX shuts the socket down and keeps
// the handle; Windows Sockets offers no such wake-up, so there the handle is closed. True when
// the handle was released (it must then not be closed again).
bool Interrupt(Socket s);
// Waits for a client; peer gets its dotted address. kInvalidSocket on failure.
Socket Accept(Socket s, std::string& peer);
[[nodiscard]] int Receive(Socket s, char* buf, int len);
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

}  // namespace net
