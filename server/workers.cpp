#include "server/workers.h"

#include <algorithm>
#include <chrono>

#include "server/my_thread.h"

namespace {
void Remove(std::vector<MyThread*>& v, MyThread* t) {
  v.erase(std::remove(v.begin(), v.end(), t), v.end());
}
}  // namespace

Workers::~Workers() {
  StopAll(kQuitWaitMs);
}

void Workers::Open() {
  std::lock_guard<std::mutex> g(lock_);
  open_ = true;
  stopping_ = false;
}

void Workers::Close() {
  std::lock_guard<std::mutex> g(lock_);
  open_ = false;
  successorPending_ = false;
}

void Workers::Register(MyThread* worker) {
  std::lock_guard<std::mutex> g(lock_);
  all_.push_back(worker);
}

MyThread* Workers::StartWorker() {
  auto* worker = new MyThread(server_);
  Register(worker);
  if (!worker->Launch()) {
    std::lock_guard<std::mutex> g(lock_);
    Remove(all_, worker);
    delete worker;
    return nullptr;
  }
  return worker;
}

bool Workers::BeginServing(net::Socket s) {
  std::lock_guard<std::mutex> g(lock_);
  ++served_;
  // When quit began before this client was registered, its receive must not block.
  clients_.push_back(s);
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

void Workers::Finished(MyThread* self) {
  std::lock_guard<std::mutex> g(lock_);
  finished_.push_back(self);
}

std::vector<MyThread*> Workers::TakeFinished() {
  std::lock_guard<std::mutex> g(lock_);
  std::vector<MyThread*> done;
  if (stopping_) return done;  // StopAll releases every worker itself
  done.swap(finished_);
  for (MyThread* t : done) Remove(all_, t);
  return done;
}

void Workers::Reclaim() {
  // A finished worker has left plug-in code; its thread ends at once, so the wait is short.
  for (MyThread* t : TakeFinished()) delete t;
}

bool Workers::StopAll(int timeoutMs) {
  {
    std::lock_guard<std::mutex> g(lock_);
    stopping_ = true;
    successorPending_ = false;
    // Under the lock: a worker unregisters its socket before it closes it.
    for (net::Socket s : clients_) net::Interrupt(s);
  }
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    MyThread* next = nullptr;
    {
      std::lock_guard<std::mutex> g(lock_);
      if (all_.empty()) break;
      next = all_.front();
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now())
                    .count();
    if (left <= 0 || !next->Join(static_cast<int>(left))) return false;
    std::lock_guard<std::mutex> g(lock_);
    Remove(all_, next);
    Remove(finished_, next);
    delete next;
  }
  return true;
}

int Workers::Served() const {
  std::lock_guard<std::mutex> g(lock_);
  return served_;
}
