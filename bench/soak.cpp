// The load and fault test (scripts/soak.sh): starts playersim with the plug-in, drives it with
// 64 concurrent clients sending a random mix of valid queries and controls (every answer
// checked), malformed and overlong requests, empty and silent connections, half-sent requests,
// wrong passwords, resets after a request and before the accept, and long replies that the
// client stops reading; samples the server's RSS and threads every 10 s; asks GETVOLUME after
// the load; then quits it with 16 silent clients and a stopped reader connected. RSS is
// sampled while no long reply is under way. Fails on a wrong or missing answer, on RSS growing
// by more than 5 MB (the later samples' floor over the earlier samples' peak), or on a quit of
// more than 2 s. With --resets-only every client connects and resets at once.
//   soak PORT SECONDS [--resets-only] -- PLAYERSIM-COMMAND...
// The command may be a wrapper that execs the program (Wine's loader): the PID stays the same.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/proc_stats.h"
#include "bench/soak_rounds.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

long Threads(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("Threads:", 0) == 0) return std::atol(line.c_str() + 8);
  }
  return -1;
}

// Starts the command with its standard input from a pipe (written to: *input) and its output
// discarded; -1 on failure.
pid_t Spawn(char** command, int* input) {
  int in[2];
  if (pipe(in) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addclose(&actions, in[1]);
  pid_t pid = -1;
  if (posix_spawnp(&pid, command[0], &actions, nullptr, command, environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  *input = in[1];
  return pid;
}

bool Listens() {
  for (int i = 0; i < 1500; ++i) {  // 30 s: Wine may start slowly on a busy machine
    int s = soak::Open();
    if (s >= 0) {
      close(s);
      return true;
    }
    std::this_thread::sleep_for(20ms);
  }
  return false;
}

struct Load {
  std::vector<long> rss;  // every 10 s

  // The floor of the later half of the samples over the peak of the earlier half: a leak
  // lifts the whole later half, while the requests in flight at a sample lift only that
  // sample, and a heap that warms up reaches its plateau in the earlier half.
  long Growth() const {
    if (rss.size() < 2) return 0;
    const auto half = rss.begin() + static_cast<long>(rss.size() / 2);
    return *std::min_element(half, rss.end()) - *std::max_element(rss.begin(), half);
  }
};

Load Drive(pid_t pid, int seconds, bool resetsOnly, soak::Counts& counts) {
  std::atomic<bool> stop{false};
  std::vector<std::thread> clients;
  for (int i = 0; i < 64; ++i) {
    clients.emplace_back([&, i] {
      std::mt19937 rng(static_cast<unsigned>(i) * 7919u + 1u);
      while (!stop) {
        soak::Round(resetsOnly ? soak::kResetBeforeAccept : soak::Pick(rng), rng, counts, stop);
      }
    });
  }
  const auto start = Clock::now();
  Load load;
  for (int t = 10;; t += 10) {
    const auto until = start + std::chrono::seconds(std::min(t, seconds));
    while (Clock::now() < until) std::this_thread::sleep_for(50ms);
    // Measured between long replies: each holds megabytes for as long as its client waits.
    if (!soak::HoldLongReplies()) std::printf("(a long reply is still under way)\n");
    const long rss = static_cast<long>(bench::RssKilobytes(pid));
    soak::ReleaseLongReplies();
    std::printf("at %3d s: RSS %ld KB, %ld threads\n", std::min(t, seconds), rss, Threads(pid));
    std::fflush(stdout);
    load.rss.push_back(rss);
    if (t >= seconds) break;
  }
  stop = true;
  for (auto& c : clients) c.join();
  return load;
}

// Quits with 16 silent clients and a stopped reader connected; the time until the process
// ended, -1 when it had to be killed or did not exit with 0.
long Quit(pid_t pid, int input, soak::Counts& counts) {
  std::vector<int> held;
  for (int i = 0; i < 16; ++i) held.push_back(soak::Open());
  held.push_back(soak::OpenStoppedReader(counts));
  std::this_thread::sleep_for(100ms);
  const auto quitStart = Clock::now();
  const char quit[] = "quit\n";
  bool exited = write(input, quit, sizeof quit - 1) == static_cast<ssize_t>(sizeof quit - 1);
  int status = 0;
  while (exited && waitpid(pid, &status, WNOHANG) == 0) {
    if (Clock::now() - quitStart > 10s) {
      exited = false;
      break;
    }
    std::this_thread::sleep_for(5ms);
  }
  const long quitMs =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - quitStart).count();
  if (!exited) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
  }
  for (int s : held) {
    if (s >= 0) close(s);
  }
  close(input);
  return exited && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? quitMs : -1;
}

}  // namespace

int main(int argc, char** argv) {
  int dashes = 3;
  const bool resetsOnly = argc > 3 && std::strcmp(argv[3], "--resets-only") == 0;
  if (resetsOnly) dashes = 4;
  if (argc < dashes + 2 || std::strcmp(argv[dashes], "--") != 0) {
    std::fprintf(stderr, "usage: soak PORT SECONDS [--resets-only] -- PLAYERSIM-COMMAND...\n");
    return 2;
  }
  soak::SetPort(static_cast<std::uint16_t>(std::atoi(argv[1])));
  const int seconds = std::max(1, std::atoi(argv[2]));
  signal(SIGPIPE, SIG_IGN);

  int input = -1;
  const pid_t pid = Spawn(argv + dashes + 1, &input);
  if (pid < 0) {
    std::fprintf(stderr, "cannot start %s\n", argv[dashes + 1]);
    return 2;
  }
  if (!Listens()) {
    std::fprintf(stderr, "the server did not start listening\n");
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return 2;
  }
  soak::Counts counts;
  const Load load = Drive(pid, seconds, resetsOnly, counts);
  const bool answers = soak::AnswersVolume();
  const long quitMs = Quit(pid, input, counts);

  long total = 0;
  for (int k = 0; k < soak::kKinds; ++k) {
    std::printf("%-19s %ld\n", soak::kNames[k], counts.done[k].load());
    total += counts.done[k];
  }
  std::printf(
      "rounds %ld, wrong or missing answers %ld, RSS growth %ld KB, quit %ld "
      "ms\n",
      total, counts.wrong.load(), load.Growth(), quitMs);
  for (const std::string& w : counts.firstWrong) std::printf("WRONG %s\n", w.c_str());
  bool ok = counts.wrong == 0 && total > 0;
  if (!answers) {
    std::printf("FAIL: GETVOLUME got no right answer after the load\n");
    ok = false;
  }
  if (load.Growth() > 5 * 1024) {
    std::printf("FAIL: RSS grew by more than 5 MB\n");
    ok = false;
  }
  if (quitMs < 0 || quitMs > 2000) {
    std::printf("FAIL: quit took %ld ms or did not end the program cleanly\n", quitMs);
    ok = false;
  }
  std::printf("%s\n", ok ? "soak: all checks passed" : "soak: FAILED");
  return ok ? 0 : 1;
}
