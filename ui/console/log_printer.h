#pragma once
// Prints every new entry of the activity log as one line "LOG " + entry (escaped, UTF-8).

#include "ui/models/control.h"

namespace console {

class LogPrinter {
 public:
  explicit LogPrinter(ui::ListModel& log);
  ~LogPrinter();
  LogPrinter(const LogPrinter&) = delete;
  LogPrinter& operator=(const LogPrinter&) = delete;

 private:
  ui::ListModel& log_;
  int subscription_;
};

}  // namespace console
