#include "sim/command_loop.h"

#include <exception>
#include <utility>
#include <vector>

#include "base/text.h"

namespace sim {

CommandLoop::CommandLoop(LineSource source, Printer print)
    : source_(std::move(source)), print_(std::move(print)) {}

int CommandLoop::AddHandler(Handler handler) {
  handlers_.emplace_back(nextHandler_, std::move(handler));
  return nextHandler_++;
}

void CommandLoop::RemoveHandler(int id) {
  std::erase_if(handlers_, [id](const auto& h) { return h.first == id; });
}

void CommandLoop::Run() {
  RunUntil([] { return false; });
}

bool CommandLoop::RunUntil(const std::function<bool()>& done) {
  ++depth_;
  bool finished = false;
  while (!ending_) {
    if (done()) {
      finished = true;
      break;
    }
    std::string line;
    if (!source_(line)) {
      ending_ = true;
      break;
    }
    Dispatch(line);
  }
  --depth_;
  return finished;
}

void CommandLoop::Print(const std::string& line) const {
  if (print_) print_(line);
}

void CommandLoop::Dispatch(const std::string& raw) {
  const std::string line = text::Utf8ToLatin1(raw);
  if (line == "quit") {
    Quit();
    return;
  }
  // A handler may add or remove handlers (a dialog that opens or closes); the copy keeps this
  // round unchanged.
  const auto handlers = handlers_;
  try {
    for (const auto& [id, handler] : handlers) {
      if (handler(line)) return;
    }
  } catch (const std::exception& e) {
    Print("ERROR command failed: " + text::EscapeLine(e.what()));
    return;
  } catch (...) {
    Print("ERROR command failed");
    return;
  }
  Print(line.empty() ? std::string("ERROR empty command")
                     : "ERROR unknown command " + text::EscapeLine(line));
}

}  // namespace sim
