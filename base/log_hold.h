#pragma once
// A served client's log lines, held on its worker's thread and written to the log as one
// append: one lock of the log and at most one wake of its readers per request instead of one
// per line. While a hold lives on a thread, the log keeps the entries that this thread writes
// in it, in their order (whether logging is on is still decided at each call); the sink's Flush
// writes them out, and so does the end of the hold. A hold on a thread that has one already
// adds nothing: the outer one holds.

#include <string>
#include <vector>

class LogSink;

class LogHold {
 public:
  explicit LogHold(LogSink& sink) noexcept;
  // Writes out what is still held.
  ~LogHold();
  LogHold(const LogHold&) = delete;
  LogHold& operator=(const LogHold&) = delete;

  // The hold of the calling thread, or null.
  static LogHold* Current() noexcept;

  // The entries held, oldest first; the log empties it when it takes them.
  std::vector<std::string> entries;

 private:
  LogSink& sink_;
  bool outer_;
};
