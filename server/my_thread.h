#pragma once
// A worker's operating-system thread. Its owner gives it the routine to run; the thread object
// only starts it, waits for it and releases it. Destroying it never waits: its owner joins it
// first, or, for a thread that does not end, keeps the object.

#include <atomic>
#include <functional>
#include <mutex>

#include "platform/thread.h"

class MyThread final {
 public:
  MyThread() = default;
  // Releases a joined thread; one that was never joined is left to run (its handle stays).
  ~MyThread();
  MyThread(const MyThread&) = delete;
  MyThread& operator=(const MyThread&) = delete;

  // Starts the thread running routine; false when the system refuses.
  bool Launch(std::function<void()> routine, std::size_t stackBytes);
  // Waits up to timeoutMs for the thread's end (messages to the caller keep flowing); 0 only
  // looks.
  bool Join(int timeoutMs);
  // The routine has returned (the thread is on its way out).
  bool Done() const { return done_.load(); }

 private:
  static void Entry(void* self);

  std::function<void()> routine_;
  thr::Thread* thread_ = nullptr;
  // Held by Launch until thread_ is stored: the routine may finish (and the worker be released
  // by another thread) before its launcher is done with the object.
  std::mutex launching_;
  std::atomic<bool> done_{false};
  bool joined_ = false;
};
