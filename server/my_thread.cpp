#include "server/my_thread.h"

#include <utility>

MyThread::~MyThread() {
  if (thread_ != nullptr && joined_) thr::Release(thread_);
}

bool MyThread::Launch(std::function<void()> routine, std::size_t stackBytes) {
  std::lock_guard<std::mutex> guard(launching_);
  routine_ = std::move(routine);
  thread_ = thr::Start(&MyThread::Entry, this, stackBytes);
  return thread_ != nullptr;
}

bool MyThread::Join(int timeoutMs) {
  thr::Thread* thread = nullptr;
  {
    std::lock_guard<std::mutex> guard(launching_);
    thread = thread_;
  }
  if (thread == nullptr || joined_) return true;
  joined_ = thr::Join(thread, timeoutMs);
  return joined_;
}

void MyThread::Entry(void* self) {
  auto* t = static_cast<MyThread*>(self);
  // Launch has stored the handle once this lock is free.
  { std::lock_guard<std::mutex> launched(t->launching_); }
  try {
    t->routine_();
  } catch (...) {
  }
  t->done_ = true;
}
