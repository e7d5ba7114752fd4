#pragma once
// A worker: one operating-system thread that owns one Connection for its run. The run accepts
// a client, starts the successor and serves the client; the end-of-run notice follows in the
// same thread. A worker never looks at an end request: it ends by finishing its routine.

#include <atomic>
#include <mutex>

#include "platform/thread.h"

class Connection;
class ServerSocket;

class MyThread {
 public:
  explicit MyThread(ServerSocket& server);
  // Waits for a still running thread, then releases it.
  virtual ~MyThread();
  MyThread(const MyThread&) = delete;
  MyThread& operator=(const MyThread&) = delete;

  // Starts the thread; false when the system refuses (logged).
  bool Launch();
  // Waits up to timeoutMs for the thread's end (messages to the caller keep flowing).
  bool Join(int timeoutMs);

 protected:
  virtual void Execute();
  // The end-of-run notice, in the worker's own thread after Execute has returned.
  virtual void DoTerminate();

 private:
  static void Routine(void* self);

  ServerSocket& server_;
  Connection* connection_ = nullptr;
  thr::Thread* thread_ = nullptr;
  // Held by Launch until thread_ is stored: the run may not be reported finished (and be
  // released by another worker) before its launcher is done with the object.
  std::mutex launching_;
  bool joined_ = false;
};

// The worker recorded as current: set by the server start, emptied by the stop, and updated
// by workers when they finish a client.
extern std::atomic<MyThread*> CurrentThread;
