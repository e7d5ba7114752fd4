#include "ui/console/log_printer.h"

#include "base/text.h"
#include "ui/console/console_output.h"

namespace console {

namespace {
// Enough lines per write to keep up with any burst, few enough to keep each write short.
constexpr std::size_t kBatch = 1024;
// After a wake-up the printer waits this long for more lines, so that a busy server costs one
// write per batch rather than a write and a thread switch per line.
constexpr auto kGather = std::chrono::milliseconds(10);
}  // namespace

LogPrinter::LogPrinter(ui::LogList& log)
    : reader_(log,
              [this] {
                // Runs with the log locked: only a flag and, when the printer sleeps, a signal.
                if (pending_.exchange(true)) return;
                std::lock_guard<std::mutex> g(wakeLock_);
                wakeUp_.notify_one();
              }),
      thread_([this] { Run(); }) {
  SetBeforePrint([this] { Drain(); });
}

LogPrinter::~LogPrinter() {
  SetBeforePrint(nullptr);
  {
    std::lock_guard<std::mutex> g(wakeLock_);
    stopping_ = true;
    wakeUp_.notify_one();
  }
  thread_.join();
  try {
    Drain();
  } catch (...) {
    // Nothing is left to tell it to.
  }
}

void LogPrinter::Run() {
  for (;;) {
    {
      std::unique_lock<std::mutex> g(wakeLock_);
      wakeUp_.wait(g, [this] { return pending_ || stopping_; });
      if (wakeUp_.wait_for(g, kGather, [this] { return stopping_; })) return;
      // Lines logged from here on wake the printer again.
      pending_ = false;
    }
    try {
      while (PrintBatch()) {
      }
    } catch (...) {
      // Out of memory for a batch: the next wake-up tries again.
    }
  }
}

void LogPrinter::Drain() {
  while (PrintBatch()) {
  }
}

bool LogPrinter::PrintBatch() {
  std::lock_guard<std::mutex> g(printLock_);
  ui::LogBatch batch = reader_.Next(kBatch);
  if (batch.entries.empty() && batch.skipped == 0) return false;
  std::string lines;
  if (batch.skipped > 0) lines = "LOGSKIPPED " + std::to_string(batch.skipped) + "\n";
  for (const std::string& e : batch.entries) {
    lines += "LOG ";
    text::AppendEscapedLine(lines, e);
    lines += '\n';
  }
  PrintLines(lines);
  return true;
}

}  // namespace console
