#pragma once
// Lines of standard input for the command loop. The input ends at end of file, and at SIGINT or
// SIGTERM, which are taken from the descriptor instead of ending the process, so that the
// program quits the same way as on the line "quit".

#include <string>

namespace sim {

class StdinLines {
 public:
  // Blocks SIGINT, SIGTERM and SIGPIPE for the calling thread and every thread it starts
  // later: create it first thing in main.
  StdinLines();
  ~StdinLines();
  StdinLines(const StdinLines&) = delete;
  StdinLines& operator=(const StdinLines&) = delete;

  // The next line without its line end ("\n" or "\r\n"); false once the input has ended. A last
  // line without a line end still counts.
  bool Next(std::string& line);

 private:
  int signals_ = -1;
  bool ended_ = false;
  std::string pending_;
};

}  // namespace sim
