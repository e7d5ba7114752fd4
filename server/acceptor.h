#pragma once
// The chain of workers that accept clients, one generation per start of the server. A start
// opens a generation on its listening socket; the worker that waits in accept belongs to it, and
// so does the successor that this worker starts when it has a client. Once the generation's stop
// has closed the socket, a failed accept ends its worker quietly, whatever the server does
// meanwhile (a restart, a start on another port, a quit): failures are retried only while the
// worker's own generation still listens. A stop waits until no worker of its generation is left
// in accept, so that after any number of restarts exactly one worker waits.

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "platform/net.h"
#include "server/accept_retry.h"

class LogSink;

class Acceptor {
 public:
  // One start's listening socket and its chain. Its state belongs to the acceptor's lock.
  class Generation {
   public:
    Generation(net::Socket s, int receiveTimeoutMs, bool open)
        : listening(s), receiveTimeoutMs(receiveTimeoutMs), open_(open) {}
    const net::Socket listening;
    // The receive time-out of the start, for every client accepted on the socket (0: none).
    const int receiveTimeoutMs;

   private:
    friend class Acceptor;
    bool open_;
    int waiting_ = 0;        // its workers between Enlist and a client or Leave
    bool deferred_ = false;  // a successor waits for a free place
    AcceptRetry retry_;
  };
  using Ticket = std::shared_ptr<Generation>;

  // A start has opened `listening`: its generation, the current one until its stop.
  Ticket Open(net::Socket listening, int receiveTimeoutMs);
  // A start that failed: a generation closed from the outset, whose one worker ends at once.
  Ticket Failed();
  // The stop's first step: no worker of the current generation accepts again, and a pause
  // between failed accepts ends. Returns that generation (null when there is none).
  Ticket Close();
  // Waits until none of gen's workers is left in accept, or the deadline (clk::SteadyMs).
  bool AwaitIdle(const Ticket& gen, std::int64_t deadlineMs);

  // A worker of gen is about to wait in accept: counted from now on. False when gen is closed
  // (the worker must not start), unless it is the start's first worker.
  bool Enlist(const Ticket& gen, bool first = false);
  // Waits for a client on gen's socket. True with the client's socket and dotted address (the
  // worker no longer counts as waiting); false once gen is closed (it still counts until Leave).
  // The first failure of a burst is logged.
  bool Accept(const Ticket& gen, net::Socket& client, std::string& peer, LogSink& log);
  // The worker that Accept turned away has written its last line, or never started.
  void Leave(const Ticket& gen);
  // The server is at its limit of clients: gen's successor starts when a place is free.
  void Defer(const Ticket& gen);
  // The current generation when it still listens and a successor of it waits for a place
  // (then enlisted); null otherwise.
  Ticket TakeDeferred();

  // Workers in accept now, over every generation, and the most there have been at once.
  int Waiting() const;
  int MostWaiting() const;

 private:
  void Count(Generation& gen, int by);  // call with lock_ held

  mutable std::mutex lock_;
  std::condition_variable changed_;  // a generation closed, or a worker left accept
  Ticket current_;
  int waiting_ = 0;
  int mostWaiting_ = 0;
};
