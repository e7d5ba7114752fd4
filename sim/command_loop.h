#pragma once
// playersim's command loop: one command per line of input, tried against "quit" and then the
// handlers in the order they were added; a line that none takes gets one "ERROR " line. Dialog
// faces add their own handlers. A modal dialog runs the loop nested, and every command keeps
// working meanwhile; quit or the end of input unwinds every nested loop, so the outermost one
// returns and the program can quit cleanly.

#include <atomic>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace sim {

class CommandLoop {
 public:
  // Takes the line; true when it was this handler's command.
  using Handler = std::function<bool(const std::string& line)>;
  // Gives the next line without its line end; false when the input has ended (end of file or a
  // signal to end).
  using LineSource = std::function<bool(std::string& line)>;
  using Printer = std::function<void(const std::string& line)>;

  CommandLoop(LineSource source, Printer print);
  CommandLoop(const CommandLoop&) = delete;
  CommandLoop& operator=(const CommandLoop&) = delete;

  // Handlers are tried in the order added; the id removes one again (a dialog's commands when
  // it closes).
  int AddHandler(Handler handler);
  void RemoveHandler(int id);

  // Runs commands until quit or the end of input.
  void Run();
  // A nested loop: runs commands until done() holds (true), or until the program is ending
  // (false; the caller must then close what it waits for, e.g. cancel its dialog, and return).
  bool RunUntil(const std::function<bool()>& done);

  // Ends every running loop, the outermost one last.
  void Quit() { ending_ = true; }
  bool Ending() const { return ending_; }
  int Depth() const { return depth_; }

  // One line as read (UTF-8; Latin-1 bytes pass unchanged): handed to the handlers in Latin-1.
  void Dispatch(const std::string& line);
  void Print(const std::string& line) const;

 private:
  LineSource source_;
  Printer print_;
  std::vector<std::pair<int, Handler>> handlers_;
  int nextHandler_ = 1;
  std::atomic<bool> ending_{false};
  int depth_ = 0;
};

}  // namespace sim
