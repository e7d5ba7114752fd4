#pragma once
// Lines of standard input for the command loop. The input ends at end of file, and at SIGINT or
// SIGTERM (on Windows Ctrl+C or Ctrl+Break), which are taken as input instead of ending the
// process, so that the program quits the same way as on the line "quit".

#include <memory>
#include <string>

#include "sim/command_loop.h"

namespace sim {

class StdinLines {
 public:
  // Create it first thing in main. Natively it blocks SIGINT, SIGTERM and SIGPIPE for the
  // calling thread and every thread it starts later; on Windows it turns standard output to
  // binary, so that lines end in LF there too, and the first Next starts the thread that reads
  // standard input.
  StdinLines();
  ~StdinLines();
  StdinLines(const StdinLines&) = delete;
  StdinLines& operator=(const StdinLines&) = delete;

  // The next line without its line end ("\n" or "\r\n"); false once the input has ended. A last
  // line without a line end still counts. On Windows it runs the thread's messages meanwhile.
  bool Next(std::string& line);

  // While set, a line that comes while a command runs a message loop of its own (the plug-in's
  // modal IP address dialog on Windows) is carried out in that loop there and then; quit or the
  // end of input end that message loop. The native program runs its command loop nested instead.
  void NestInto(CommandLoop* loop);

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

// A command-line argument in the plug-in's 8-bit code page: the native command line is UTF-8,
// Windows hands the program its ANSI code page.
std::string ArgumentText(const std::string& argument);

}  // namespace sim
