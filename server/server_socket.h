#pragma once
// The plug-in's one listening socket, and the face of the server: start, stop, stop for quit
// and the bound port. Start and Shutdown report every step and failure to the activity log and
// return nothing. The pool of workers accepts on the socket that Start opened; closing it in
// Shutdown ends the worker that waits in accept.

#include <atomic>
#include <cstdint>

#include "platform/net.h"
#include "server/workers.h"

class ServerHost;

class ServerSocket {
 public:
  // A client that stops reading a reply holds its worker for sendTimeoutMs at the most.
  static constexpr int kSendTimeoutMs = 10000;

  explicit ServerSocket(ServerHost& host, int sendTimeoutMs = kSendTimeoutMs);
  // Shuts down a socket that is still open; the pool then waits for its workers (bounded).
  ~ServerSocket();
  ServerSocket(const ServerSocket&) = delete;
  ServerSocket& operator=(const ServerSocket&) = delete;

  // Opens the socket and starts the worker that waits in accept. After a failed start that
  // worker finds the server closed and ends at once, with its end-of-run line.
  void Start();
  void Shutdown();
  // For quit: shuts down, then ends every worker's waits and waits for them (messages keep
  // flowing). False when a worker did not end within timeoutMs; it then still uses this
  // object, which must be kept.
  bool StopForQuit(int timeoutMs);

  net::Socket ListeningSocket() const { return listening_.load(); }
  // The port the socket is bound to (useful when the configured port is 0), 0 when closed.
  std::uint16_t BoundPort() const;
  // Clients being served at this moment.
  int Served() const { return workers_.Served(); }

 private:
  void Open();
  void Log(const std::string& message);
  // Fails the start: logs the reason and shuts down.
  void Abandon(const std::string& message);

  ServerHost& host_;
  std::atomic<net::Socket> listening_{net::kInvalidSocket};
  std::uint16_t port_ = 0;
  std::uint32_t bindAddress_ = 0;
  Workers workers_;
};
