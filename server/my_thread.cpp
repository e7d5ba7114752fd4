#include "server/my_thread.h"

#include <memory>

#include "server/connection.h"
#include "server/server_host.h"
#include "server/server_socket.h"

std::atomic<MyThread*> CurrentThread{nullptr};

MyThread::MyThread(ServerSocket& server) : server_(server) {}

MyThread::~MyThread() {
  if (thread_ == nullptr) return;
  // The thread has finished or is about to; the bound only guards against a hung worker.
  if (joined_ || thr::Join(thread_, 10000)) thr::Release(thread_);
}

bool MyThread::Launch() {
  std::lock_guard<std::mutex> guard(launching_);
  thread_ = thr::Start(&MyThread::Routine, this, Workers::kStackBytes);
  if (thread_ == nullptr) server_.Host().WriteLog("Thread konnte nicht gestartet werden");
  return thread_ != nullptr;
}

bool MyThread::Join(int timeoutMs) {
  thr::Thread* thread = nullptr;
  {
    // A worker registered for quit may still be in Launch.
    std::lock_guard<std::mutex> guard(launching_);
    thread = thread_;
  }
  if (thread == nullptr || joined_) return true;
  joined_ = thr::Join(thread, timeoutMs);
  return joined_;
}

void MyThread::Routine(void* self) {
  auto* t = static_cast<MyThread*>(self);
  try {
    t->Execute();
    t->DoTerminate();
  } catch (...) {
  }
  // Once finished, another thread may release this worker, which needs the handle that Launch
  // stores; by now Launch has long returned, so the lock is free and costs no wait. Nothing may
  // leave the thread's entry: a worker that cannot be listed as finished (no memory) stays
  // until quit releases every worker.
  try {
    { std::lock_guard<std::mutex> launched(t->launching_); }
    t->server_.GetWorkers().Finished(t);
  } catch (...) {
  }
}

void MyThread::Execute() {
  try {
    std::unique_ptr<Connection> connection = std::make_unique<Connection>(server_);
    connection_ = connection.get();
    connection->HandleClient();
    connection_ = nullptr;
  } catch (...) {
    connection_ = nullptr;
    server_.Host().WriteLog("Unbekannter Fehler im Thread aufgetreten");
  }
}

void MyThread::DoTerminate() {
  server_.Host().WriteLog("Client connect beendet.");
}
