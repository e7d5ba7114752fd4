#pragma once
// The workers of one server and their routine: accept (Acceptor), start the successor, serve the
// client (Connection), end. The parts each have one job: the threads (WorkerThreads), the chain
// and its generations (Acceptor), the clients being served and the stop of their waits
// (ServedClients). Exactly one worker waits in accept while the server listens, unless the
// limit of clients is reached; then the next connections wait in the backlog until a place is
// free.

#include <cstdint>
#include <string>

#include "server/acceptor.h"
#include "server/served_clients.h"
#include "server/worker_threads.h"

class ServerHost;

class Workers {
 public:
  Workers(ServerHost& host, int sendTimeoutMs);
  Workers(const Workers&) = delete;
  Workers& operator=(const Workers&) = delete;

  // A start: the chain of the generation on `listening`, or, after a failed start, a worker that
  // ends at once.
  void Begin(net::Socket listening, int receiveTimeoutMs);
  void BeginFailed();

  // The steps of a stop. Closes the current generation: its waiting worker's accept fails (once
  // the socket is closed) and ends it; returns it for AwaitChain.
  Acceptor::Ticket CloseChain() { return acceptor_.Close(); }
  bool AwaitChain(const Acceptor::Ticket& gen, std::int64_t deadlineMs) {
    return acceptor_.AwaitIdle(gen, deadlineMs);
  }
  // Ends every client's waits (quit), and waits for every thread.
  void InterruptClients() { clients_.Interrupt(); }
  bool JoinAll(std::int64_t deadlineMs) { return threads_.JoinAll(deadlineMs); }
  void Reap() { threads_.Reap(); }

  int Served() const { return clients_.Count(); }
  int Waiting() const { return acceptor_.Waiting(); }
  int MostWaiting() const { return acceptor_.MostWaiting(); }
  int Threads() const { return threads_.Count(); }
  int StopError() const { return clients_.StopError(); }

 private:
  // Starts a worker of gen, which Enlist has counted; a refusal of the system is logged, and the
  // next client that ends tries again.
  void Launch(const Acceptor::Ticket& gen);
  void Run(const Acceptor::Ticket& gen);
  void Serve(const Acceptor::Ticket& gen, net::Socket client, const std::string& peer,
             bool placeFree);
  void ResumeDeferred();
  void Log(const std::string& message) noexcept;

  ServerHost& host_;
  const int sendTimeoutMs_;
  // Declared first, so that it goes last: the others' members are what threads use.
  WorkerThreads threads_;
  Acceptor acceptor_;
  ServedClients clients_;
};
