#pragma once
// Bookkeeping of one server's worker threads: how many clients are being served, which client
// sockets are open (so that quit can end their blocked receives; each worker closes its own), which
// workers have finished (so that a later worker or the stop can release them), and the successor
// that waits for a free place when the limit of clients served at once is reached.

#include <cstddef>
#include <mutex>
#include <vector>

#include "platform/net.h"

class MyThread;
class ServerSocket;

class Workers {
 public:
  static constexpr int kMaxServed = 64;
  static constexpr std::size_t kStackBytes = 64 * 1024;
  static constexpr int kQuitWaitMs = 1500;

  explicit Workers(ServerSocket& server) : server_(server) {}
  ~Workers();
  Workers(const Workers&) = delete;
  Workers& operator=(const Workers&) = delete;

  // The server has started listening / is shutting down. Close drops a waiting successor.
  void Open();
  void Close();

  // Creates a worker that waits in accept; nullptr when the system refuses a thread.
  MyThread* StartWorker();

  // A worker has accepted client socket s; from now on it counts as served. True when the
  // worker is to start its successor now; false when the limit is reached (the successor is
  // then started when a served worker finishes).
  bool BeginServing(net::Socket s);
  // The worker is about to close client socket s: from now on quit leaves it alone.
  void Unregister(net::Socket s);
  // The worker's client is done; starts a successor that waited for a free place.
  void EndServing();

  // Called by a worker as the last thing it does: it may now be released by others.
  void Finished(MyThread* self);
  // Releases every finished worker other than the caller.
  void Reclaim();

  // For quit: ends blocked receives of every client (the sockets stay open for their workers),
  // waits (messages keep flowing) until every worker has ended or the time is up, and releases
  // them. Returns false when a worker did not end in time (it is then left running and not
  // released).
  bool StopAll(int timeoutMs);

  int Served() const;

 private:
  void Register(MyThread* worker);
  std::vector<MyThread*> TakeFinished();

  ServerSocket& server_;
  mutable std::mutex lock_;
  std::vector<MyThread*> all_;        // every worker not yet released
  std::vector<MyThread*> finished_;   // workers whose routine has ended
  std::vector<net::Socket> clients_;  // open client sockets
  int served_ = 0;
  bool successorPending_ = false;
  bool open_ = false;
  bool stopping_ = false;
};
