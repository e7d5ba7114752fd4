#include "sim/stdin_lines.h"

#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>

#include "base/text.h"

namespace sim {

struct StdinLines::Impl {
  int signals = -1;
  bool ended = false;
  std::string pending;

  // Takes one line out of what was read; false when no whole line waits.
  bool TakeLine(std::string& line) {
    std::size_t end = pending.find('\n');
    if (end == std::string::npos) {
      if (!ended || pending.empty()) return false;
      end = pending.size();
    }
    line = pending.substr(0, end);
    pending.erase(0, end < pending.size() ? end + 1 : end);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
  }

  void Wait() {
    pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {signals, POLLIN, 0}};
    int ready = poll(fds, signals >= 0 ? 2 : 1, -1);
    if (ready < 0) {
      if (errno == EINTR) return;
      ended = true;
      pending.clear();
      return;
    }
    if (signals >= 0 && (fds[1].revents & POLLIN) != 0) {
      // A signal ends the input at once; a half line is dropped.
      ended = true;
      pending.clear();
      return;
    }
    if ((fds[0].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) != 0) {
      char buf[4096];
      ssize_t n = read(STDIN_FILENO, buf, sizeof buf);
      if (n < 0 && errno == EINTR) return;
      if (n <= 0) {
        ended = true;
      } else {
        pending.append(buf, static_cast<std::size_t>(n));
      }
    }
  }
};

StdinLines::StdinLines() : impl_(std::make_unique<Impl>()) {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  sigdelset(&set, SIGPIPE);
  impl_->signals = signalfd(-1, &set, SFD_CLOEXEC);
}

StdinLines::~StdinLines() {
  if (impl_->signals >= 0) close(impl_->signals);
}

bool StdinLines::Next(std::string& line) {
  for (;;) {
    if (impl_->TakeLine(line)) return true;
    if (impl_->ended) return false;
    impl_->Wait();
  }
}

void StdinLines::NestInto(CommandLoop*) {}

std::string ArgumentText(const std::string& argument) {
  return text::Utf8ToLatin1(argument);
}

}  // namespace sim
