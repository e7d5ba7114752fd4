#pragma once
// The threads of one server's workers: it starts each one, keeps it until its thread has been
// joined, and releases the finished ones as new ones start. It knows nothing of what a worker
// does. Only finished threads are joined on the way (their routine has returned, so the join
// returns at once); the long wait for threads that still run is JoinAll, for the stop of quit.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class MyThread;

class WorkerThreads {
 public:
  static constexpr std::size_t kStackBytes = 64 * 1024;

  WorkerThreads();
  // Its owner has joined every thread (JoinAll true) or keeps this object.
  ~WorkerThreads();
  WorkerThreads(const WorkerThreads&) = delete;
  WorkerThreads& operator=(const WorkerThreads&) = delete;

  // Releases the finished threads, then runs routine on a thread of its own; false when the
  // system refuses.
  bool Launch(std::function<void()> routine);
  // Releases the threads whose routine has returned.
  void Reap();
  // Waits until every thread has ended or the deadline (clk::SteadyMs) has passed, releasing
  // them; the caller's messages keep flowing meanwhile. True when none is left.
  bool JoinAll(std::int64_t deadlineMs);
  // Threads not yet released.
  int Count() const;

 private:
  mutable std::mutex lock_;
  std::vector<std::unique_ptr<MyThread>> all_;
};
