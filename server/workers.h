#pragma once
// The pool of one server's workers. It owns every worker, counts the clients being served,
// keeps the client sockets that a quit interrupts, and runs the workers' routine: accept, start
// the successor, serve, retire. Exactly one worker waits in accept while the server listens,
// unless 64 clients are being served at once; then the next connections wait in the backlog
// until a place is free. Finished workers are released by a later worker or by the stop.

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/net.h"
#include "server/accept_retry.h"

class MyThread;
class ServerHost;

class Workers {
 public:
  static constexpr int kMaxServed = 64;
  static constexpr std::size_t kStackBytes = 64 * 1024;
  // How long quit waits for the workers: every wait of theirs can be interrupted, so this only
  // bounds a worker stuck in a message to a player that hangs.
  static constexpr int kQuitWaitMs = 1500;

  Workers(ServerHost& host, int sendTimeoutMs);
  // Stops what still runs (bounded); a worker that does not end is left its object.
  ~Workers();
  Workers(const Workers&) = delete;
  Workers& operator=(const Workers&) = delete;

  // The server listens on `listening` / is about to close it: a stop ends the waiting worker
  // and a pause after failed accepts at once.
  void Open(net::Socket listening);
  void Close();

  // Starts a worker that waits in accept; a refusal of the system is logged.
  void StartWorker();

  // For quit: ends blocked receives and sends of every client (the sockets stay open for their
  // workers), waits (messages keep flowing) until every worker has ended or the time is up, and
  // releases them. False when a worker did not end in time; it is then kept, not released.
  bool StopAll(int timeoutMs);

  int Served() const;

 private:
  class ServedClient;

  void Run(MyThread* self);
  void Serve();
  // Waits for a client; false once the server has stopped listening.
  bool Accept(net::Socket& client, std::string& peer);
  // Waits ms or until the stop; false when stopped.
  bool Pause(int ms);
  // Counts and registers an accepted client; true when its successor may start now.
  bool BeginServing(net::Socket s);
  // Unregisters the client's socket: quit leaves it alone from here on, while it is closed.
  void Unregister(net::Socket s);
  // The client is done: starts a successor that waited for a free place.
  void EndServing();
  void Retire(MyThread* self);
  void Reclaim();
  // Takes the worker out of the list (call with lock_ held); nullptr when it is not listed.
  std::unique_ptr<MyThread> Unlist(MyThread* worker);
  void Log(const std::string& message) noexcept;

  ServerHost& host_;
  const int sendTimeoutMs_;
  mutable std::mutex lock_;
  std::condition_variable stopped_;             // wakes a worker that pauses between accepts
  std::vector<std::unique_ptr<MyThread>> all_;  // every worker not yet released
  std::vector<MyThread*> finished_;             // workers whose routine has ended
  std::vector<net::Socket> clients_;            // open client sockets
  net::Socket listening_ = net::kInvalidSocket;
  AcceptRetry retry_;
  int served_ = 0;
  bool successorPending_ = false;
  bool open_ = false;
  bool stopping_ = false;
};
