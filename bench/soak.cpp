// The load and fault test (scripts/soak.sh): starts playersim with the plug-in, drives it with
// 64 concurrent clients sending a random mix of valid queries and controls (every answer
// checked), malformed and overlong requests, empty and silent connections, half-sent requests,
// wrong passwords and resets; samples the server's RSS and threads every 10 s; then quits it
// with 16 silent clients connected. Fails on a wrong or missing answer, on RSS growing by more
// than 5 MB after the first 10 s, or on a quit of more than 2 s.
//   soak PLAYERSIM DIR PORT SECONDS
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench/answer.h"
#include "bench/proc_stats.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

std::uint16_t g_port = 0;

int Open() {
  int s = socket(AF_INET, SOCK_STREAM, 0);
  if (s < 0) return -1;
  timeval tv{5, 0};  // bounds every receive: nothing waits for ever
  setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(g_port);
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    close(s);
    return -1;
  }
  return s;
}

// Everything until the server closes; false on a reset or a time-out.
bool ReadAll(int s, std::string& out) {
  char buf[4096];
  for (;;) {
    ssize_t n = recv(s, buf, sizeof buf, 0);
    if (n == 0) return true;
    if (n < 0) return false;
    out.append(buf, static_cast<std::size_t>(n));
  }
}

void SendAll(int s, const std::string& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    ssize_t n = send(s, data.data() + done, data.size() - done, MSG_NOSIGNAL);
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

std::string Request(const std::string& target) {
  return "GET /" + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
}

// The answer text of a complete header-on reply; false when the reply is not one.
bool AnswerText(const std::string& reply, std::string& text) {
  if (!bench::IsCompleteAnswer(reply) || !reply.starts_with("HTTP/1.0 200 OK\n")) return false;
  text = reply.substr(reply.find("\n\n") + 2);
  text.pop_back();
  return true;
}

bool IsNumberIn(const std::string& s, long lo, long hi) {
  if (s.empty()) return false;
  char* end = nullptr;
  long v = std::strtol(s.c_str(), &end, 10);
  return *end == '\0' && v >= lo && v <= hi;
}

enum Kind {
  kQuery,
  kControl,
  kMalformed,
  kOverlong,
  kEmpty,
  kSilent,
  kHalf,
  kWrongPassword,
  kReset,
  kKinds
};
const char* const kNames[] = {"queries", "controls",  "malformed",      "overlong", "empty",
                              "silent",  "half-sent", "wrong password", "reset"};

struct Counts {
  std::atomic<long> done[kKinds] = {};
  std::atomic<long> wrong{0};
  std::mutex lock;
  std::vector<std::string> firstWrong;

  void Wrong(const std::string& what) {
    ++wrong;
    std::lock_guard<std::mutex> g(lock);
    if (firstWrong.size() < 10) firstWrong.push_back(what);
  }
};

// One round trip of kind k; checks what can be checked.
void Round(Kind k, std::mt19937& rng, Counts& counts) {
  int s = Open();
  if (s < 0) {
    counts.Wrong("connect failed");
    return;
  }
  std::string reply;
  bool closed = true;
  auto expectSilence = [&](const char* what) {
    if (closed && !reply.empty()) counts.Wrong(std::string(what) + " got an answer: " + reply);
  };
  switch (k) {
    case kQuery: {
      static const char* const queries[] = {"GETVERSION",         "GETLISTLENGTH",
                                            "GETVOLUME",          "VALIDATE_PASSWORD?pass=velotam&",
                                            "GETEQDATA?band=13&", "GETOUTPUTTIME?frmt=1&"};
      const std::string q = queries[rng() % 6];
      const std::string target = q.back() == '&' ? q + "p=velotam" : q + "?p=velotam";
      SendAll(s, Request(target));
      closed = ReadAll(s, reply);
      std::string text;
      bool ok = closed && AnswerText(reply, text);
      if (ok && q == "GETVERSION") ok = text == "22118";
      if (ok && q == "GETLISTLENGTH") ok = IsNumberIn(text, 0, 1000000);
      if (ok && q == "GETVOLUME") ok = IsNumberIn(text, 0, 255);
      if (ok && q.starts_with("VALIDATE")) ok = text == "1";
      if (ok && q.starts_with("GETEQDATA")) ok = text == "0";
      if (ok && q.starts_with("GETOUTPUTTIME")) ok = IsNumberIn(text, -1, 100000);
      if (!ok) counts.Wrong(target + " -> " + reply);
      break;
    }
    case kControl: {
      const int level = static_cast<int>(rng() % 256);
      const int which = static_cast<int>(rng() % 3);
      const std::string target =
          which == 0   ? "SETVOLUME?level=" + std::to_string(level) + "&p=velotam"
          : which == 1 ? "NEXT?p=velotam"
                       : "SHUFFLE?enable=" + std::to_string(level % 2) + "&p=velotam";
      const std::string want = which == 0   ? std::to_string(level)
                               : which == 1 ? "NULL"
                                            : std::to_string(level % 2);
      SendAll(s, Request(target));
      closed = ReadAll(s, reply);
      std::string text;
      if (!closed || !AnswerText(reply, text) || text != want)
        counts.Wrong(target + " -> " + reply);
      break;
    }
    case kMalformed: {
      // Random bytes without a "?": no command is found, so nothing comes back.
      std::string junk(1 + rng() % 300, '\0');
      for (char& c : junk) {
        c = static_cast<char>(rng() % 256);
        if (c == '?') c = '!';
      }
      SendAll(s, junk);
      closed = ReadAll(s, reply);
      expectSilence("malformed");
      break;
    }
    case kOverlong: {
      // Only the first 2047 bytes are read; they end inside the password's value.
      SendAll(s, "GET /GETVERSION?p=velotam" + std::string(3000 + rng() % 3000, 'x'));
      closed = ReadAll(s, reply);  // a reset is fine: the rest was never read
      expectSilence("overlong");
      break;
    }
    case kEmpty:
      shutdown(s, SHUT_WR);
      closed = ReadAll(s, reply);
      expectSilence("empty");
      break;
    case kSilent:
      // The server's receive time-out (1000 ms) ends it.
      closed = ReadAll(s, reply);
      if (!closed) counts.Wrong("a silent client was not let go");
      expectSilence("silent");
      break;
    case kHalf:
      SendAll(s, "GET /GETVER");
      shutdown(s, SHUT_WR);
      closed = ReadAll(s, reply);
      expectSilence("half-sent");
      break;
    case kWrongPassword:
      SendAll(s, Request("GETVERSION?p=wrong"));
      closed = ReadAll(s, reply);
      expectSilence("wrong password");
      break;
    case kReset: {
      SendAll(s, Request("GETVERSION?p=velotam"));
      linger l{1, 0};
      setsockopt(s, SOL_SOCKET, SO_LINGER, &l, sizeof l);
      break;
    }
    default:
      break;
  }
  close(s);
  ++counts.done[k];
}

Kind Pick(std::mt19937& rng) {
  const unsigned r = rng() % 100;
  if (r < 45) return kQuery;
  if (r < 70) return kControl;
  if (r < 76) return kMalformed;
  if (r < 80) return kOverlong;
  if (r < 85) return kEmpty;
  if (r < 87) return kSilent;
  if (r < 91) return kHalf;
  if (r < 96) return kWrongPassword;
  return kReset;
}

long Threads(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("Threads:", 0) == 0) return std::atol(line.c_str() + 8);
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: soak PLAYERSIM DIR PORT SECONDS\n");
    return 2;
  }
  g_port = static_cast<std::uint16_t>(std::atoi(argv[3]));
  const int seconds = std::max(1, std::atoi(argv[4]));
  signal(SIGPIPE, SIG_IGN);

  int in[2];
  if (pipe(in) != 0) return 2;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addclose(&actions, in[1]);
  char dirFlag[] = "--dir";
  char* args[] = {argv[1], dirFlag, argv[2], nullptr};
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[1], &actions, nullptr, args, environ) != 0) {
    std::fprintf(stderr, "cannot start %s\n", argv[1]);
    return 2;
  }
  close(in[0]);
  bool up = false;
  for (int i = 0; i < 250 && !up; ++i) {
    int s = Open();
    if (s >= 0) {
      close(s);
      up = true;
    } else {
      std::this_thread::sleep_for(20ms);
    }
  }
  if (!up) {
    std::fprintf(stderr, "the server did not start listening\n");
    kill(pid, SIGKILL);
    return 2;
  }

  Counts counts;
  std::atomic<bool> stop{false};
  std::vector<std::thread> clients;
  for (int i = 0; i < 64; ++i) {
    clients.emplace_back([&, i] {
      std::mt19937 rng(static_cast<unsigned>(i) * 7919u + 1u);
      while (!stop) Round(Pick(rng), rng, counts);
    });
  }
  const auto start = Clock::now();
  long rssAt10 = -1, rssMax = 0;
  for (int t = 10;; t += 10) {
    const auto until = start + std::chrono::seconds(std::min(t, seconds));
    while (Clock::now() < until) std::this_thread::sleep_for(50ms);
    const long rss = static_cast<long>(bench::RssKilobytes(pid));
    std::printf("at %3d s: RSS %ld KB, %ld threads\n", std::min(t, seconds), rss, Threads(pid));
    if (rssAt10 < 0) rssAt10 = rss;
    rssMax = std::max(rssMax, rss);
    if (t >= seconds) break;
  }
  stop = true;
  for (auto& c : clients) c.join();

  // Quit with 16 silent clients connected.
  std::vector<int> silent;
  for (int i = 0; i < 16; ++i) silent.push_back(Open());
  std::this_thread::sleep_for(100ms);
  const auto quitStart = Clock::now();
  const char quit[] = "quit\n";
  bool exited = write(in[1], quit, sizeof quit - 1) == static_cast<ssize_t>(sizeof quit - 1);
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
  for (int s : silent) {
    if (s >= 0) close(s);
  }
  close(in[1]);

  long total = 0;
  for (int k = 0; k < kKinds; ++k) {
    std::printf("%-15s %ld\n", kNames[k], counts.done[k].load());
    total += counts.done[k];
  }
  std::printf(
      "rounds %ld, wrong or missing answers %ld, RSS growth after 10 s %ld KB, quit %ld ms\n",
      total, counts.wrong.load(), rssMax - rssAt10, quitMs);
  for (const std::string& w : counts.firstWrong) std::printf("WRONG %s\n", w.c_str());
  bool ok = counts.wrong == 0 && total > 0;
  if (rssMax - rssAt10 > 5 * 1024) {
    std::printf("FAIL: RSS grew by more than 5 MB\n");
    ok = false;
  }
  if (!exited || quitMs > 2000 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::printf("FAIL: quit took %ld ms (exit status %d)\n", quitMs, status);
    ok = false;
  }
  std::printf("%s\n", ok ? "soak: all checks passed" : "soak: FAILED");
  return ok ? 0 : 1;
}
