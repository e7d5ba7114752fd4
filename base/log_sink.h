#pragma once
// Where a lower layer writes its activity-log lines: the central object implements it and
// hands it down, so the server, the request path and the dialogs never reach up for the log.

#include <string>

class LogSink {
 public:
  // One line without the "Server: " prefix; the sink decides whether logging is on.
  virtual void WriteLog(const std::string& line) = 0;
  // Writes out the lines held for one append now; a request calls it before a long wait.
  virtual void Flush() {}

 protected:
  ~LogSink() = default;
};
