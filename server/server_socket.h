#pragma once
// The plug-in's one listening socket. Start and Shutdown report every step and failure to the
// activity log and return nothing. The workers accept on the socket that Start opened; closing
// it in Shutdown ends the worker that waits in accept.

#include <atomic>
#include <cstdint>

#include "platform/net.h"
#include "server/workers.h"

class ServerHost;

class ServerSocket {
 public:
  explicit ServerSocket(ServerHost& host);
  // Shuts down a socket that is still open; waits for the workers (bounded) and releases them.
  ~ServerSocket();
  ServerSocket(const ServerSocket&) = delete;
  ServerSocket& operator=(const ServerSocket&) = delete;

  void Start();
  void Shutdown();

  net::Socket ListeningSocket() const { return listening_.load(); }
  // The port the socket is bound to (useful when the configured port is 0), 0 when closed.
  std::uint16_t BoundPort() const;
  // The workers serving this socket's clients.
  Workers& GetWorkers() { return workers_; }
  // The plug-in side: log, settings and the request path.
  ServerHost& Host() { return host_; }

 private:
  void Log(const std::string& message);
  // Fails the start: logs the reason and shuts down.
  void Abandon(const std::string& message);

  ServerHost& host_;
  std::atomic<net::Socket> listening_{net::kInvalidSocket};
  std::uint16_t port_ = 0;
  std::uint32_t bindAddress_ = 0;
  Workers workers_;
};
