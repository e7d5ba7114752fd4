#include "server/workers.h"

#include <algorithm>
#include <chrono>

#include "base/text.h"
#include "server/connection.h"
#include "server/my_thread.h"
#include "server/server_host.h"

// One accepted client, from accept until its socket is closed and its place given back,
// whatever happens in between.
class Workers::ServedClient {
 public:
  ServedClient(Workers& pool, net::Socket s) : pool_(pool), socket_(s) {}
  ~ServedClient() {
    Close();
    pool_.EndServing();
  }
  ServedClient(const ServedClient&) = delete;
  ServedClient& operator=(const ServedClient&) = delete;

  void Close() {
    if (socket_ == net::kInvalidSocket) return;
    pool_.Unregister(socket_);
    net::Close(socket_);
    socket_ = net::kInvalidSocket;
  }

 private:
  Workers& pool_;
  net::Socket socket_;
};

Workers::Workers(ServerHost& host, int sendTimeoutMs)
    : host_(host), sendTimeoutMs_(sendTimeoutMs) {}

Workers::~Workers() {
  if (StopAll(kQuitWaitMs)) return;
  // A worker still runs: it keeps its object (and the pool's lock stays valid only as long
  // as the owner keeps the pool, which a failed stop makes it do).
  std::lock_guard<std::mutex> g(lock_);
  for (auto& w : all_) (void)w.release();
}

void Workers::Log(const std::string& message) noexcept {
  try {
    host_.WriteLog(message);
  } catch (...) {
  }
}

void Workers::Open(net::Socket listening) {
  std::lock_guard<std::mutex> g(lock_);
  listening_ = listening;
  open_ = true;
  stopping_ = false;
  retry_.Succeeded();
}

void Workers::Close() {
  {
    std::lock_guard<std::mutex> g(lock_);
    open_ = false;
    successorPending_ = false;
  }
  stopped_.notify_all();
  Reclaim();
}

void Workers::StartWorker() {
  try {
    auto owned = std::make_unique<MyThread>();
    MyThread* worker = owned.get();
    {
      std::lock_guard<std::mutex> g(lock_);
      if (stopping_) return;
      all_.push_back(std::move(owned));
    }
    if (worker->Launch([this, worker] { Run(worker); }, kStackBytes)) return;
    std::lock_guard<std::mutex> g(lock_);
    (void)Unlist(worker);  // it never ran: released at once
  } catch (...) {
  }
  Log("Thread konnte nicht gestartet werden");
}

void Workers::Run(MyThread* self) {
  try {
    Serve();
  } catch (...) {
    Log("Unbekannter Fehler im Thread aufgetreten");
  }
  Log("Client connect beendet.");
  Retire(self);
}

void Workers::Serve() {
  net::Socket s = net::kInvalidSocket;
  std::string peer;
  if (!Accept(s, peer)) return;
  const bool successorNow = BeginServing(s);
  ServedClient client(*this, s);
  host_.WriteLog(std::string(55, '-'));
  host_.WriteLog("Client connect: " + peer);
  if (successorNow) StartWorker();
  // A client that stops reading a reply holds its worker for this long at the most.
  if (net::SetSendTimeout(s, sendTimeoutMs_) == -1) {
    host_.WriteLog("setsockopt SO_SNDTIMEO fehlgeschlagen.");
  }
  Connection connection(s, host_);
  if (connection.HandleClient(peer)) {
    host_.WriteLog("beende Verbindung...");
    client.Close();
    host_.WriteLog("Verbindung beendet!");
  }
  client.Close();
  Reclaim();
}

bool Workers::Accept(net::Socket& client, std::string& peer) {
  for (;;) {
    net::Socket listening;
    {
      std::lock_guard<std::mutex> g(lock_);
      if (!open_) return false;
      listening = listening_;
    }
    client = net::Accept(listening, peer);
    const int error = client == net::kInvalidSocket ? net::LastError() : 0;
    AcceptRetry::Step step{};
    {
      std::lock_guard<std::mutex> g(lock_);
      // After a stop the socket is closed: that failure, or a client accepted just before, ends
      // the chain (a client still gets its own worker).
      if (client != net::kInvalidSocket) {
        retry_.Succeeded();
        return true;
      }
      if (!open_) return false;
      step = retry_.Failed(net::ClassifyAcceptError(error));
    }
    if (step.log) Log("Accept fehlgeschlagen. Fehlercode: " + text::IntToStr(error));
    if (step.pauseMs > 0 && !Pause(step.pauseMs)) return false;
  }
}

bool Workers::Pause(int ms) {
  std::unique_lock<std::mutex> g(lock_);
  return !stopped_.wait_for(g, std::chrono::milliseconds(ms),
                            [this] { return !open_ || stopping_; });
}

bool Workers::BeginServing(net::Socket s) {
  std::lock_guard<std::mutex> g(lock_);
  ++served_;
  clients_.push_back(s);
  // When quit began before this client was registered, its receive must not block.
  if (stopping_) net::Interrupt(s);
  if (served_ < kMaxServed) return true;
  successorPending_ = open_;
  return false;
}

void Workers::Unregister(net::Socket s) {
  std::lock_guard<std::mutex> g(lock_);
  auto it = std::find(clients_.begin(), clients_.end(), s);
  if (it != clients_.end()) clients_.erase(it);
}

void Workers::EndServing() {
  bool startNow = false;
  {
    std::lock_guard<std::mutex> g(lock_);
    --served_;
    if (successorPending_ && served_ < kMaxServed && !stopping_) {
      successorPending_ = false;
      startNow = true;
    }
  }
  if (startNow) StartWorker();
}

void Workers::Retire(MyThread* self) {
  // A worker that cannot be listed (no memory) stays until the stop releases every worker.
  try {
    std::lock_guard<std::mutex> g(lock_);
    finished_.push_back(self);
  } catch (...) {
  }
}

std::unique_ptr<MyThread> Workers::Unlist(MyThread* worker) {
  auto it = std::find_if(all_.begin(), all_.end(), [&](auto& w) { return w.get() == worker; });
  if (it == all_.end()) return nullptr;
  std::unique_ptr<MyThread> owned = std::move(*it);
  all_.erase(it);
  return owned;
}

void Workers::Reclaim() {
  std::vector<std::unique_ptr<MyThread>> done;
  {
    std::lock_guard<std::mutex> g(lock_);
    if (stopping_) return;  // StopAll releases every worker itself
    for (MyThread* t : finished_) {
      if (auto w = Unlist(t)) done.push_back(std::move(w));
    }
    finished_.clear();
  }
  // A finished worker has left plug-in code; its thread ends at once, so the wait is short.
}

bool Workers::StopAll(int timeoutMs) {
  {
    std::lock_guard<std::mutex> g(lock_);
    stopping_ = true;
    open_ = false;
    successorPending_ = false;
    // Under the lock: a worker unregisters its socket before it closes it.
    for (net::Socket s : clients_) net::Interrupt(s);
  }
  stopped_.notify_all();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    std::unique_ptr<MyThread> next;
    {
      std::lock_guard<std::mutex> g(lock_);
      if (all_.empty()) return true;
      next = std::move(all_.front());
      all_.erase(all_.begin());
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          deadline - std::chrono::steady_clock::now())
                          .count();
    // Joined without the lock: the worker takes it on its way out.
    const bool ended = left > 0 && next->Join(static_cast<int>(left));
    std::lock_guard<std::mutex> g(lock_);
    if (!ended) {
      all_.push_back(std::move(next));
      return false;
    }
    // It has retired (if it got so far) before its thread ended: no stale entry may stay behind.
    finished_.erase(std::remove(finished_.begin(), finished_.end(), next.get()), finished_.end());
  }
}

int Workers::Served() const {
  std::lock_guard<std::mutex> g(lock_);
  return served_;
}
