#include <process.h>
#include <windows.h>

#include <cstdint>

#include "platform/thread.h"

namespace thr {

class Thread {
 public:
  HANDLE handle = nullptr;
  Routine routine = nullptr;
  void* arg = nullptr;
};

namespace {
unsigned __stdcall Trampoline(void* p) {
  auto* t = static_cast<Thread*>(p);
  t->routine(t->arg);
  return 0;
}
}  // namespace

Thread* Start(Routine routine, void* arg, std::size_t stackBytes) {
  auto* t = new Thread;
  t->routine = routine;
  t->arg = arg;
  std::uintptr_t h = _beginthreadex(nullptr, static_cast<unsigned>(stackBytes), &Trampoline, t,
                                    STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (h == 0) {
    delete t;
    return nullptr;
  }
  t->handle = reinterpret_cast<HANDLE>(h);
  return t;
}

bool Join(Thread* t, int timeoutMs) {
  DWORD deadline = GetTickCount() + static_cast<DWORD>(timeoutMs);
  for (;;) {
    DWORD now = GetTickCount();
    DWORD left = static_cast<int>(deadline - now) > 0 ? deadline - now : 0;
    // QS_SENDMESSAGE: a worker blocked in a send-message to this thread must get its answer.
    DWORD r = MsgWaitForMultipleObjects(1, &t->handle, FALSE, left, QS_SENDMESSAGE);
    if (r == WAIT_OBJECT_0) return true;
    if (r != WAIT_OBJECT_0 + 1) return false;
    MSG msg;
    // Handles the pending sent messages; posted messages stay queued for the message loop.
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

void Release(Thread* t) {
  if (t->handle != nullptr) CloseHandle(t->handle);
  delete t;
}

}  // namespace thr
