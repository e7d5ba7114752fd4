#include <pthread.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/thread.h"

namespace thr {

class Thread {
 public:
  pthread_t handle{};
  Routine routine = nullptr;
  void* arg = nullptr;
  std::mutex lock;
  std::condition_variable done;
  bool finished = false;
  bool joined = false;
};

namespace {
void* Trampoline(void* p) {
  auto* t = static_cast<Thread*>(p);
  t->routine(t->arg);
  std::lock_guard<std::mutex> guard(t->lock);
  t->finished = true;
  t->done.notify_all();
  return nullptr;
}
}  // namespace

Thread* Start(Routine routine, void* arg, std::size_t stackBytes) {
  auto* t = new Thread;
  t->routine = routine;
  t->arg = arg;
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  if (stackBytes < static_cast<std::size_t>(PTHREAD_STACK_MIN)) {
    stackBytes = static_cast<std::size_t>(PTHREAD_STACK_MIN);
  }
  pthread_attr_setstacksize(&attr, stackBytes);
  int r = pthread_create(&t->handle, &attr, &Trampoline, t);
  pthread_attr_destroy(&attr);
  if (r != 0) {
    delete t;
    return nullptr;
  }
  return t;
}

bool Join(Thread* t, int timeoutMs) {
  {
    std::unique_lock<std::mutex> guard(t->lock);
    if (!t->done.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                          [t] { return t->finished; })) {
      return false;
    }
  }
  if (!t->joined) {
    pthread_join(t->handle, nullptr);
    t->joined = true;
  }
  return true;
}

void Release(Thread* t) {
  delete t;
}

}  // namespace thr
