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
  // The DLL this code lives in, held while the thread runs; nullptr in a program.
  HMODULE module = nullptr;
};

namespace {
unsigned __stdcall Trampoline(void* p) {
  auto* t = static_cast<Thread*>(p);
  HMODULE module = t->module;  // t may be released once the routine has returned
  t->routine(t->arg);
  // The last code of the DLL that this thread runs: if the player has unloaded it in the
  // meantime (a quit that gave up waiting), the reference kept it mapped until here.
  if (module != nullptr) FreeLibraryAndExitThread(module, 0);
  return 0;
}

// Takes a reference on the DLL that holds this code, so that it stays loaded while a thread
// runs it; nullptr when the code is part of the program itself.
HMODULE HoldOwnModule() {
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                          reinterpret_cast<LPCSTR>(&Trampoline), &module)) {
    return nullptr;
  }
  if (module != GetModuleHandleA(nullptr)) return module;
  FreeLibrary(module);
  return nullptr;
}
}  // namespace

Thread* Start(Routine routine, void* arg, std::size_t stackBytes) {
  auto* t = new Thread;
  t->routine = routine;
  t->arg = arg;
  t->module = HoldOwnModule();
  std::uintptr_t h = _beginthreadex(nullptr, static_cast<unsigned>(stackBytes), &Trampoline, t,
                                    STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (h == 0) {
    if (t->module != nullptr) FreeLibrary(t->module);
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
