#pragma once
// A worker's operating-system thread. The pool that owns the worker gives it the routine to
// run (accept, start the successor, serve, retire); the thread object only starts it, waits for
// it and releases it.

#include <functional>
#include <mutex>

#include "platform/thread.h"

class MyThread final {
 public:
  MyThread() = default;
  // Waits (bounded) for a still running thread, then releases it.
  ~MyThread();
  MyThread(const MyThread&) = delete;
  MyThread& operator=(const MyThread&) = delete;

  // Starts the thread running routine; false when the system refuses.
  bool Launch(std::function<void()> routine, std::size_t stackBytes);
  // Waits up to timeoutMs for the thread's end (messages to the caller keep flowing).
  bool Join(int timeoutMs);

 private:
  static void Entry(void* self);

  std::function<void()> routine_;
  thr::Thread* thread_ = nullptr;
  // Held by Launch until thread_ is stored: the routine may finish (and the worker be released
  // by another thread) before its launcher is done with the object.
  std::mutex launching_;
  bool joined_ = false;
};
