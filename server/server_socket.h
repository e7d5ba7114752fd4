#pragma once
// The plug-in's one listening socket, and the face of the server: start, stop and the bound
// port. Start and the stop report every step and failure to the activity log. The workers
// accept on the socket that Start opened; closing it in the stop ends the worker that waits in
// accept.

#include <atomic>
#include <cstdint>
#include <memory>

#include "platform/net.h"
#include "server/workers.h"

class ServerHost;

class ServerSocket {
 public:
  // A client that stops reading a reply holds its worker for sendTimeoutMs at the most.
  static constexpr int kSendTimeoutMs = 10000;

  // What a stop does beyond closing the socket, and how long it waits for workers.
  struct StopPlan {
    bool quit;   // also ends every client's waits, and waits for every worker
    int waitMs;  // for the waiting worker (and at quit for all of them)
    // The stop button and a restart: the shut-down steps always run (also on a server that is
    // already stopped); the waiting worker ends, serving workers finish their clients.
    static StopPlan Button() { return {false, 2000}; }
    // Quit: the shut-down steps if the server listens, then every worker ends; the player's
    // messages keep flowing while quit waits.
    static StopPlan Quit() { return {true, 1500}; }
  };

  explicit ServerSocket(ServerHost& host, int sendTimeoutMs = kSendTimeoutMs);
  // Its owner has stopped the server (Stop returned true). Workers that still run keep what
  // they use.
  ~ServerSocket();
  ServerSocket(const ServerSocket&) = delete;
  ServerSocket& operator=(const ServerSocket&) = delete;

  // Opens the socket and starts the worker that waits in accept. After a failed start that
  // worker finds its generation closed and ends at once, with its end-of-run line.
  void Start();
  // The one stop. False when a worker did not end in time: it then still uses this object and
  // everything it reaches, which its owner must keep.
  bool Stop(const StopPlan& plan);

  net::Socket ListeningSocket() const { return listening_.load(); }
  // The port the socket is bound to (useful when the configured port is 0), 0 when closed.
  std::uint16_t BoundPort() const;
  // Clients being served, workers in accept (now and the most at once), threads not released.
  int Served() const { return workers_->Served(); }
  int Waiting() const { return workers_->Waiting(); }
  int MostWaiting() const { return workers_->MostWaiting(); }
  int Threads() const { return workers_->Threads(); }

 private:
  // The start's steps up to the listening socket; false after a failure (logged, shut down).
  bool Open();
  // The shut-down steps; waits (bounded) for the chain's worker in accept, if there is a chain.
  // False when it did not end in time.
  bool Shutdown(const Acceptor::Ticket& chain, std::int64_t deadlineMs);
  void Log(const std::string& message);
  // Fails the start: logs the reason and shuts down.
  bool Abandon(const std::string& message);

  ServerHost& host_;
  std::atomic<net::Socket> listening_{net::kInvalidSocket};
  std::uint16_t port_ = 0;
  std::uint32_t bindAddress_ = 0;
  int receiveTimeoutMs_ = 0;
  bool started_ = false;  // the socket library's start-up of this start, not yet cleaned up
  std::unique_ptr<Workers> workers_;
};
