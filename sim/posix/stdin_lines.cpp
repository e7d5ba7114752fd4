#include "sim/stdin_lines.h"

#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>

namespace sim {

StdinLines::StdinLines() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  sigdelset(&set, SIGPIPE);
  signals_ = signalfd(-1, &set, SFD_CLOEXEC);
}

StdinLines::~StdinLines() {
  if (signals_ >= 0) close(signals_);
}

bool StdinLines::Next(std::string& line) {
  for (;;) {
    std::size_t end = pending_.find('\n');
    if (end != std::string::npos) {
      line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return true;
    }
    if (ended_) {
      if (pending_.empty()) return false;
      line.swap(pending_);
      pending_.clear();
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return true;
    }
    pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {signals_, POLLIN, 0}};
    int ready = poll(fds, signals_ >= 0 ? 2 : 1, -1);
    if (ready < 0) {
      if (errno == EINTR) continue;
      ended_ = true;
      pending_.clear();
      continue;
    }
    if (signals_ >= 0 && (fds[1].revents & POLLIN) != 0) {
      // A signal ends the input at once; a half line is dropped.
      ended_ = true;
      pending_.clear();
      continue;
    }
    if ((fds[0].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) != 0) {
      char buf[4096];
      ssize_t n = read(STDIN_FILENO, buf, sizeof buf);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        ended_ = true;
      } else {
        pending_.append(buf, static_cast<std::size_t>(n));
      }
    }
  }
}

}  // namespace sim
