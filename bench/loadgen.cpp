// Closed-loop load on 127.0.0.1: N connections, each one request (GETVOLUME) from connect to
// EOF, then the next on a new connection. Prints one line
//   result ok=.. errors=.. seconds=.. rps=.. p50_ms=.. p99_ms=.. cpu_us_per_req=..
//          rss_before_kb=.. rss_after_kb=..
// (the last three from /proc of --server-pid, -1 without it) and the errors by kind on stderr.
// The CPU time adds that of every --cpu-pid, for a server whose work is shared with another
// process (the wineserver under Wine).
//
//   bench_loadgen --port P [--conns N] [--seconds S] [--requests R] [--server-pid PID]
//                 [--cpu-pid PID]... [--password W] [--timeout-ms T]
//   bench_loadgen --port P --wait-ready S [--save-reply FILE]   a first complete answer
//   bench_loadgen --port P --check-free                         nothing accepts on P

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/answer.h"
#include "bench/proc_stats.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr size_t kMaxReply = 64 * 1024;

struct Options {
  int port = 0;
  int conns = 8;
  double seconds = 10;
  long requests = 0;  // 0: as many as fit in the time
  pid_t serverPid = 0;
  std::vector<pid_t> cpuPids;
  std::string password = "velotam";
  int timeoutMs = 5000;
  double waitReady = 0;
  std::string saveReply;
  bool checkFree = false;
};

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    std::string name = argv[i];
    if (name == "--check-free") {
      o.checkFree = true;
      continue;
    }
    if (i + 1 >= argc) return false;
    const char* value = argv[++i];
    if (name == "--port")
      o.port = std::atoi(value);
    else if (name == "--conns")
      o.conns = std::atoi(value);
    else if (name == "--seconds")
      o.seconds = std::atof(value);
    else if (name == "--requests")
      o.requests = std::atol(value);
    else if (name == "--server-pid")
      o.serverPid = std::atoi(value);
    else if (name == "--cpu-pid")
      o.cpuPids.push_back(std::atoi(value));
    else if (name == "--password")
      o.password = value;
    else if (name == "--timeout-ms")
      o.timeoutMs = std::atoi(value);
    else if (name == "--wait-ready")
      o.waitReady = std::atof(value);
    else if (name == "--save-reply")
      o.saveReply = value;
    else
      return false;
  }
  return o.port > 0 && o.port <= 65535 && o.conns > 0 && o.conns <= 1000 && o.seconds > 0 &&
         o.seconds <= 600 && o.timeoutMs > 0 && o.waitReady <= 60;
}

sockaddr_in Loopback(int port) {
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return addr;
}

std::string Request(const Options& o) {
  return "GET /GETVOLUME?p=" + o.password +
         " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(o.port) + "\r\n\r\n";
}

// One blocking request; the reply when the server answered completely, else empty.
std::string FetchOnce(const Options& o) {
  int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (s < 0) return {};
  timeval tv{o.timeoutMs / 1000, (o.timeoutMs % 1000) * 1000};
  setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
  sockaddr_in addr = Loopback(o.port);
  std::string reply;
  if (connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
    std::string request = Request(o);
    if (send(s, request.data(), request.size(), MSG_NOSIGNAL) == ssize_t(request.size())) {
      char buf[4096];
      ssize_t n;
      while ((n = recv(s, buf, sizeof buf, 0)) > 0 && reply.size() < kMaxReply)
        reply.append(buf, n);
      if (n != 0) reply.clear();
    }
  }
  close(s);
  return bench::IsCompleteAnswer(reply) ? reply : std::string();
}

int WaitReady(const Options& o) {
  auto deadline = Clock::now() + std::chrono::duration<double>(o.waitReady);
  for (;;) {
    std::string reply = FetchOnce(o);
    if (!reply.empty()) {
      if (o.saveReply.empty()) return 0;
      std::ofstream out(o.saveReply, std::ios::binary);
      out << reply;
      return out.good() ? 0 : 1;
    }
    if (Clock::now() >= deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  std::fprintf(stderr, "bench_loadgen: no complete answer on 127.0.0.1:%d within %.1f s\n", o.port,
               o.waitReady);
  return 1;
}

int CheckFree(const Options& o) {
  int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in addr = Loopback(o.port);
  bool taken = s >= 0 && connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
  if (s >= 0) close(s);
  if (taken) std::fprintf(stderr, "bench_loadgen: port %d on 127.0.0.1 is in use\n", o.port);
  return taken ? 1 : 0;
}

enum Error { kConnect, kReset, kTimeout, kIncomplete, kErrorKinds };
const char* const kErrorNames[kErrorKinds] = {"connect", "reset", "timeout", "incomplete"};

struct Slot {
  int fd = -1;
  bool connected = false;
  size_t sent = 0;
  Clock::time_point start;
  std::string reply;
};

class Load {
 public:
  explicit Load(const Options& o)
      : o_(o), request_(Request(o)), slots_(o.conns), epoll_(epoll_create1(EPOLL_CLOEXEC)) {
    latenciesUs_.reserve(1 << 20);
  }
  ~Load() { close(epoll_); }

  // Runs until the time is up or the request count is reached, then lets every open request
  // finish or time out.
  void Run() {
    begin_ = Clock::now();
    deadline_ = begin_ + std::chrono::duration_cast<Clock::duration>(
                             std::chrono::duration<double>(o_.seconds));
    epoll_event events[256];
    for (;;) {
      bool open = Refill();
      if (!open) break;
      int n = epoll_wait(epoll_, events, 256, 50);
      for (int i = 0; i < n; ++i) OnEvent(slots_[events[i].data.u32], events[i].events);
      ExpireStale();
    }
    end_ = Clock::now();
  }

  void Report(int64_t cpuUs, int64_t rssBefore, int64_t rssAfter) {
    long ok = static_cast<long>(latenciesUs_.size());
    long errors = 0;
    for (long e : errors_) errors += e;
    double seconds = std::chrono::duration<double>(end_ - begin_).count();
    double cpuPerReq = (cpuUs >= 0 && ok > 0) ? double(cpuUs) / ok : -1;
    std::printf(
        "result ok=%ld errors=%ld seconds=%.3f rps=%.1f p50_ms=%.3f p99_ms=%.3f "
        "cpu_us_per_req=%.1f rss_before_kb=%lld rss_after_kb=%lld\n",
        ok, errors, seconds, ok / seconds, Percentile(50) / 1000.0, Percentile(99) / 1000.0,
        cpuPerReq, static_cast<long long>(rssBefore), static_cast<long long>(rssAfter));
    for (int k = 0; k < kErrorKinds; ++k) {
      if (errors_[k] > 0) std::fprintf(stderr, "errors %s: %ld\n", kErrorNames[k], errors_[k]);
    }
  }

 private:
  bool Stopping() const {
    return Clock::now() >= deadline_ || (o_.requests > 0 && started_ >= o_.requests);
  }

  // Opens a new request on every idle slot while the run lasts; false when nothing is open.
  bool Refill() {
    bool stopping = Stopping();
    bool open = false;
    for (uint32_t i = 0; i < slots_.size(); ++i) {
      if (slots_[i].fd < 0 && !stopping) Start(slots_[i], i);
      open = open || slots_[i].fd >= 0;
    }
    return open || !stopping;
  }

  void Start(Slot& slot, uint32_t index) {
    ++started_;
    slot = Slot{};
    slot.start = Clock::now();
    slot.fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (slot.fd < 0) return Fail(slot, kConnect);
    sockaddr_in addr = Loopback(o_.port);
    int rc = connect(slot.fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    if (rc != 0 && errno != EINPROGRESS) return Fail(slot, kConnect);
    epoll_event ev{};
    ev.events = EPOLLOUT;
    ev.data.u32 = index;
    if (epoll_ctl(epoll_, EPOLL_CTL_ADD, slot.fd, &ev) != 0) return Fail(slot, kConnect);
  }

  void OnEvent(Slot& slot, uint32_t events) {
    if (slot.fd < 0) return;
    if (!slot.connected) {
      int err = 0;
      socklen_t len = sizeof err;
      getsockopt(slot.fd, SOL_SOCKET, SO_ERROR, &err, &len);
      if (err != 0) return Fail(slot, kConnect);
      slot.connected = true;
    }
    if (slot.sent < request_.size()) return Send(slot);
    if (events & (EPOLLIN | EPOLLHUP | EPOLLERR)) Receive(slot);
  }

  void Send(Slot& slot) {
    ssize_t n =
        send(slot.fd, request_.data() + slot.sent, request_.size() - slot.sent, MSG_NOSIGNAL);
    if (n < 0) {
      if (errno != EAGAIN) Fail(slot, kReset);
      return;
    }
    slot.sent += static_cast<size_t>(n);
    if (slot.sent < request_.size()) return;
    epoll_event ev{};
    ev.events = EPOLLIN;
    ev.data.u32 = static_cast<uint32_t>(&slot - slots_.data());
    epoll_ctl(epoll_, EPOLL_CTL_MOD, slot.fd, &ev);
  }

  void Receive(Slot& slot) {
    char buf[4096];
    for (;;) {
      ssize_t n = recv(slot.fd, buf, sizeof buf, 0);
      if (n > 0) {
        slot.reply.append(buf, static_cast<size_t>(n));
        if (slot.reply.size() > kMaxReply) return Fail(slot, kIncomplete);
        continue;
      }
      if (n == 0) return Finish(slot);
      if (errno != EAGAIN) Fail(slot, kReset);
      return;
    }
  }

  void Finish(Slot& slot) {
    if (!bench::IsCompleteAnswer(slot.reply)) return Fail(slot, kIncomplete);
    auto us = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - slot.start);
    latenciesUs_.push_back(static_cast<uint32_t>(us.count()));
    Close(slot);
  }

  void Fail(Slot& slot, Error kind) {
    ++errors_[kind];
    Close(slot);
  }

  void Close(Slot& slot) {
    if (slot.fd >= 0) close(slot.fd);  // also leaves the epoll set
    slot.fd = -1;
  }

  void ExpireStale() {
    auto limit = Clock::now() - std::chrono::milliseconds(o_.timeoutMs);
    for (Slot& slot : slots_) {
      if (slot.fd >= 0 && slot.start < limit) Fail(slot, kTimeout);
    }
  }

  // Nearest rank, in microseconds.
  double Percentile(int p) {
    if (latenciesUs_.empty()) return 0;
    size_t rank = (latenciesUs_.size() * p + 99) / 100;
    auto at = latenciesUs_.begin() + static_cast<long>(rank - 1);
    std::nth_element(latenciesUs_.begin(), at, latenciesUs_.end());
    return *at;
  }

  const Options& o_;
  const std::string request_;
  std::vector<Slot> slots_;
  int epoll_;
  long started_ = 0;
  long errors_[kErrorKinds] = {};
  std::vector<uint32_t> latenciesUs_;
  Clock::time_point begin_, deadline_, end_;
};

// The server's CPU time and that of the processes that work for it; -1 when one is unreadable.
int64_t ServerCpu(const Options& o) {
  if (o.serverPid <= 0) return -1;
  int64_t sum = bench::CpuMicroseconds(o.serverPid);
  for (pid_t pid : o.cpuPids) {
    int64_t us = bench::CpuMicroseconds(pid);
    if (us < 0 || sum < 0) return -1;
    sum += us;
  }
  return sum;
}

int RunLoad(const Options& o) {
  int64_t cpuBefore = ServerCpu(o);
  int64_t rssBefore = o.serverPid > 0 ? bench::RssKilobytes(o.serverPid) : -1;
  Load load(o);
  load.Run();
  int64_t cpuAfter = ServerCpu(o);
  int64_t rssAfter = o.serverPid > 0 ? bench::RssKilobytes(o.serverPid) : -1;
  load.Report(cpuBefore >= 0 && cpuAfter >= 0 ? cpuAfter - cpuBefore : -1, rssBefore, rssAfter);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseOptions(argc, argv, o)) {
    std::fprintf(stderr,
                 "usage: bench_loadgen --port P [--conns N] [--seconds S] [--requests R]\n"
                 "         [--server-pid PID] [--cpu-pid PID]... [--password W]\n"
                 "         [--timeout-ms T]\n"
                 "       bench_loadgen --port P --wait-ready S [--save-reply FILE]\n"
                 "       bench_loadgen --port P --check-free\n");
    return 2;
  }
  if (o.checkFree) return CheckFree(o);
  if (o.waitReady > 0) return WaitReady(o);
  return RunLoad(o);
}
