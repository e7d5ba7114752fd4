#include "base/log_hold.h"

#include "base/log_sink.h"

namespace {
// A plain pointer: nothing to destroy when a thread ends.
thread_local LogHold* t_hold = nullptr;
}  // namespace

LogHold::LogHold(LogSink& sink) noexcept : sink_(sink), outer_(t_hold == nullptr) {
  if (outer_) t_hold = this;
}

LogHold::~LogHold() {
  if (!outer_) return;
  try {
    sink_.Flush();
  } catch (...) {
    // Out of memory for the append: the lines are lost, the thread goes on.
  }
  t_hold = nullptr;
}

LogHold* LogHold::Current() noexcept {
  return t_hold;
}
