#pragma once
// Prints every new entry of the activity log as one line "LOG " + entry (escaped, UTF-8), in
// log order, in batches of one write each, from a thread of its own: a slow or blocked
// standard output holds up only this thread, never a thread that writes the log. When the
// printer falls so far behind that the log has dropped entries it had not printed, it prints
// "LOGSKIPPED " + their number once and goes on with what the log still holds. Before any
// other line of the face is printed, the entries logged so far are printed first, so a command's
// own output never overtakes the log lines it caused.

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ui/models/log_list.h"

namespace console {

class LogPrinter {
 public:
  // From the log's end on, or with the entries the log shows already (a face that comes after
  // them).
  explicit LogPrinter(ui::LogList& log, ui::LogReader::Start start = ui::LogReader::Start::AtEnd);
  // Prints what is still waiting, then stops.
  ~LogPrinter();
  LogPrinter(const LogPrinter&) = delete;
  LogPrinter& operator=(const LogPrinter&) = delete;

  // Prints every entry logged before the call, on the calling thread.
  void Drain();

 private:
  void Run();
  // Prints one batch; false when there was nothing to print.
  bool PrintBatch();

  std::mutex wakeLock_;
  std::condition_variable wakeUp_;
  std::atomic<bool> pending_{false};
  bool stopping_ = false;
  std::mutex printLock_;  // one batch at a time, so batches keep the log's order
  // Kept from batch to batch under printLock_, so a busy log costs no allocations here.
  std::vector<std::string> entries_;
  std::string lines_;
  ui::LogReader reader_;
  std::thread thread_;
};

}  // namespace console
