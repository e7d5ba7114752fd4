#pragma once
// The built playersim as a child process with pipes for its standard input and output. Native
// only.
#ifndef _WIN32

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

extern char** environ;

namespace testing_support {

class Playersim {
 public:
  // Runs playersim with these arguments, in the folder `cwd` when it is not empty.
  explicit Playersim(const std::vector<std::string>& args, const std::string& cwd = "") {
    int in[2];
    int out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    if (!cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    std::vector<std::string> all = {VELOTAM_PLAYERSIM};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    in_ = in[1];
    out_ = out[0];
  }

  ~Playersim() {
    CloseInput();
    if (out_ >= 0) close(out_);
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }

  bool Started() const { return pid_ > 0; }
  pid_t Pid() const { return pid_; }

  void Write(const std::string& text) {
    std::size_t done = 0;
    while (in_ >= 0 && done < text.size()) {
      ssize_t n = write(in_, text.data() + done, text.size() - done);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
  }

  void CloseInput() {
    if (in_ >= 0) close(in_);
    in_ = -1;
  }

  // Reads output until the line `until` has come (or, when empty, until the end of output).
  bool ReadUntil(const std::string& until,
                 std::chrono::milliseconds limit = std::chrono::milliseconds(10000)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (until.empty() || !HasLine(until)) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return false;
      pollfd p{out_, POLLIN, 0};
      if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
      char buf[4096];
      ssize_t n = read(out_, buf, sizeof buf);
      if (n <= 0) return until.empty();
      output_.append(buf, static_cast<std::size_t>(n));
    }
    return true;
  }

  // Waits for the end of output, then for the exit; -1 when it did not end in time or was
  // ended by a signal.
  int ExitCode() {
    if (!ReadUntil("")) return -1;
    int status = 0;
    pid_t done = waitpid(pid_, &status, 0);
    pid_ = -1;
    if (done <= 0 || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
  }

  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::size_t at = 0;
    for (std::size_t end; (end = output_.find('\n', at)) != std::string::npos; at = end + 1) {
      lines.push_back(output_.substr(at, end - at));
    }
    return lines;
  }

  // Every line except the plug-in's log lines.
  std::vector<std::string> OwnLines() const {
    std::vector<std::string> own;
    for (const auto& l : Lines()) {
      if (l.rfind("LOG ", 0) != 0) own.push_back(l);
    }
    return own;
  }

 private:
  bool HasLine(const std::string& line) const {
    for (const auto& l : Lines()) {
      if (l == line) return true;
    }
    return false;
  }

  pid_t pid_ = -1;
  int in_ = -1;
  int out_ = -1;
  std::string output_;
};

}  // namespace testing_support

#endif
