#include "server/worker_threads.h"

#include <algorithm>
#include <iterator>

#include "platform/clock.h"
#include "server/my_thread.h"

WorkerThreads::WorkerThreads() = default;

WorkerThreads::~WorkerThreads() {
  std::lock_guard<std::mutex> g(lock_);
  for (auto& t : all_) {
    // A thread that was never joined may still run its routine: its object must stay.
    if (!t->Join(0)) (void)t.release();
  }
}

bool WorkerThreads::Launch(std::function<void()> routine) {
  Reap();
  auto owned = std::make_unique<MyThread>();
  MyThread* thread = owned.get();
  {
    std::lock_guard<std::mutex> g(lock_);
    all_.push_back(std::move(owned));
  }
  if (thread->Launch(std::move(routine), kStackBytes)) return true;
  std::lock_guard<std::mutex> g(lock_);
  all_.erase(std::find_if(all_.begin(), all_.end(), [&](auto& t) { return t.get() == thread; }));
  return false;
}

void WorkerThreads::Reap() {
  std::vector<std::unique_ptr<MyThread>> done;
  {
    std::lock_guard<std::mutex> g(lock_);
    auto finished =
        std::stable_partition(all_.begin(), all_.end(), [](auto& t) { return !t->Done(); });
    std::move(finished, all_.end(), std::back_inserter(done));
    all_.erase(finished, all_.end());
  }
  // Joined without the lock; whoever holds a thread here is the only one who joins it.
  std::vector<std::unique_ptr<MyThread>> back;
  for (auto& t : done) {
    if (!t->Join(0)) back.push_back(std::move(t));  // still on its way out: next time
  }
  if (back.empty()) return;
  std::lock_guard<std::mutex> g(lock_);
  for (auto& t : back) all_.push_back(std::move(t));
}

bool WorkerThreads::JoinAll(std::int64_t deadlineMs) {
  for (;;) {
    std::unique_ptr<MyThread> next;
    {
      std::lock_guard<std::mutex> g(lock_);
      if (all_.empty()) return true;
      next = std::move(all_.front());
      all_.erase(all_.begin());
    }
    const std::int64_t left = deadlineMs - clk::SteadyMs();
    // A thread that has ended is joined even when the time is up.
    if (next->Join(static_cast<int>(std::max<std::int64_t>(left, 0)))) continue;
    std::lock_guard<std::mutex> g(lock_);
    all_.push_back(std::move(next));
    return false;
  }
}

int WorkerThreads::Count() const {
  std::lock_guard<std::mutex> g(lock_);
  return static_cast<int>(all_.size());
}
