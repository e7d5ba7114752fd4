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
constexpr std::size_t kKeepBytes = 256 * 1024;
}  // namespace

LogPrinter::LogPrinter(ui::LogList& log, ui::LogReader::Start start)
    : pending_(start == ui::LogReader::Start::WithShown),
      reader_(
          log,
          [this] {
            // Runs with the log locked: only a flag and, when the printer sleeps, a signal.
            if (pending_.exchange(true)) return;
            std::lock_guard<std::mutex> g(wakeLock_);
            wakeUp_.notify_one();
          },
          start),
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
  std::uint64_t skipped = 0;
  const std::size_t count = reader_.NextInto(kBatch, entries_, skipped);
  if (count == 0 && skipped == 0) return false;
  lines_.clear();
  if (skipped > 0) lines_ = "LOGSKIPPED " + std::to_string(skipped) + "\n";
  for (std::size_t i = 0; i < count; ++i) {
    lines_ += "LOG ";
    text::AppendEscapedLine(lines_, entries_[i]);
    lines_ += '\n';
  }
  PrintLines(lines_);
  if (lines_.capacity() > kKeepBytes) {
    // A burst of long lines (whole requests): not worth keeping the memory for.
    lines_ = std::string();
    entries_ = std::vector<std::string>();
  }
  return true;
}

}  // namespace console
