#pragma once
// Thread seam: threads with a chosen stack size, and a join that keeps the calling thread's
// window messages flowing (on Windows a worker may wait in a send-message to that thread).

#include <cstddef>

namespace thr {

class Thread;  // opaque

using Routine = void (*)(void* arg);

// Starts a thread running routine(arg); nullptr when the system refuses.
Thread* Start(Routine routine, void* arg, std::size_t stackBytes);
// Waits for the thread's end; while waiting, messages sent to the calling thread are handled.
// Returns false when the time ran out (the thread is then still running and not released).
bool Join(Thread* t, int timeoutMs);
// Releases a thread whose routine has returned (Join returned true).
void Release(Thread* t);

}  // namespace thr
