#include "bench/soak_rounds.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "bench/answer.h"

namespace soak {

const char* const kNames[kKinds] = {
    "queries",         "controls",  "malformed",          "overlong", "empty",
    "silent",          "half-sent", "wrong password",     "reset",    "reset before accept",
    "stopped reading", "waiting",   "reset while waiting"};

void Counts::Wrong(const std::string& what) {
  ++wrong;
  std::lock_guard<std::mutex> g(lock);
  if (firstWrong.size() < 10) firstWrong.push_back(what);
}

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

std::uint16_t g_port = 0;
// The long reply: every title of the playlist, joined by this delimiter.
const std::string kLongReply = "GETPLAYLISTTITLE?delim=" + std::string(1500, 'x') + "&p=velotam";

// Clients that hold a long reply unread at this moment: each holds a worker and megabytes.
std::atomic<int> g_stoppedReaders{0};
std::atomic<bool> g_held{false};
constexpr int kMostStoppedReaders = 4;

// Waits up to ms, or less once stop is set.
void Wait(int ms, const std::atomic<bool>& stop) {
  const auto until = Clock::now() + std::chrono::milliseconds(ms);
  while (!stop && Clock::now() < until) std::this_thread::sleep_for(20ms);
}

int Connect(int receiveBufferBytes) {
  int s = socket(AF_INET, SOCK_STREAM, 0);
  if (s < 0) return -1;
  timeval tv{5, 0};  // bounds every receive: nothing waits for ever
  setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  if (receiveBufferBytes > 0) {
    setsockopt(s, SOL_SOCKET, SO_RCVBUF, &receiveBufferBytes, sizeof receiveBufferBytes);
  }
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

void ResetOnClose(int s) {
  linger l{1, 0};
  setsockopt(s, SOL_SOCKET, SO_LINGER, &l, sizeof l);
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

void Query(int s, std::mt19937& rng, Counts& counts) {
  static const char* const queries[] = {"GETVERSION",         "GETLISTLENGTH",
                                        "GETVOLUME",          "VALIDATE_PASSWORD?pass=velotam&",
                                        "GETEQDATA?band=13&", "GETOUTPUTTIME?frmt=1&"};
  const std::string q = queries[rng() % 6];
  const std::string target = q.back() == '&' ? q + "p=velotam" : q + "?p=velotam";
  SendAll(s, Request(target));
  std::string reply, text;
  bool ok = ReadAll(s, reply) && AnswerText(reply, text);
  if (ok && q == "GETVERSION") ok = text == "22118";
  if (ok && q == "GETLISTLENGTH") ok = IsNumberIn(text, 0, 1000000);
  if (ok && q == "GETVOLUME") ok = IsNumberIn(text, 0, 255);
  if (ok && q.starts_with("VALIDATE")) ok = text == "1";
  if (ok && q.starts_with("GETEQDATA")) ok = text == "0";
  if (ok && q.starts_with("GETOUTPUTTIME")) ok = IsNumberIn(text, -1, 100000);
  if (!ok) counts.Wrong(target + " -> " + reply);
}

void Control(int s, std::mt19937& rng, Counts& counts) {
  const int level = static_cast<int>(rng() % 256);
  const int which = static_cast<int>(rng() % 3);
  const std::string target = which == 0 ? "SETVOLUME?level=" + std::to_string(level) + "&p=velotam"
                             : which == 1
                                 ? "NEXT?p=velotam"
                                 : "SHUFFLE?enable=" + std::to_string(level % 2) + "&p=velotam";
  const std::string want = which == 0   ? std::to_string(level)
                           : which == 1 ? "NULL"
                                        : std::to_string(level % 2);
  SendAll(s, Request(target));
  std::string reply, text;
  if (!ReadAll(s, reply) || !AnswerText(reply, text) || text != want) {
    counts.Wrong(target + " -> " + reply);
  }
}

// The counter of the latest state answer, so that a waiting client mostly waits.
std::atomic<long long> g_counter{0};

// A WAITCHANGE with the latest known counter: the whole state comes at a change, after its
// time-out of 1 s, or at once (the counter moved on, or every place is taken); a client that
// resets while it waits must free its place and worker.
void Waiting(int s, bool reset, std::mt19937& rng, Counts& counts) {
  const std::string target =
      "WAITCHANGE?since=" + std::to_string(g_counter.load()) + "&timeout=1&p=velotam";
  SendAll(s, Request(target));
  if (reset) {
    std::this_thread::sleep_for(std::chrono::milliseconds(rng() % 400));
    return ResetOnClose(s);
  }
  const auto started = Clock::now();
  std::string reply, text;
  bool ok = ReadAll(s, reply) && AnswerText(reply, text) && text.starts_with("counter=");
  static const char* const kKeys[] = {"\nplaying=", "\npos=",    "\nlength=",  "\ntitle=", "\nms=",
                                      "\nseconds=", "\nvolume=", "\nshuffle=", "\nrepeat="};
  std::size_t at = 0;
  for (const char* key : kKeys) {
    at = ok ? text.find(key, at) : std::string::npos;
    ok = at != std::string::npos;
  }
  if (ok) g_counter = std::atoll(text.c_str() + 8);
  // Its time-out, and the time a busy server needs to send the answer.
  if (Clock::now() - started > 4s) ok = false;
  if (!ok) counts.Wrong(target + " -> " + reply);
}

// The kinds that get no answer: what they send, and whether the server may reset them.
void Unanswered(Kind k, int s, std::mt19937& rng, Counts& counts) {
  switch (k) {
    case kMalformed: {
      // Random bytes without a "?": no command is found, so nothing comes back.
      std::string junk(1 + rng() % 300, '\0');
      for (char& c : junk) {
        c = static_cast<char>(rng() % 256);
        if (c == '?') c = '!';
      }
      SendAll(s, junk);
      break;
    }
    case kOverlong:
      // Only the first 2047 bytes are read; they end inside the password's value. A reset is
      // fine: the rest was never read.
      SendAll(s, "GET /GETVERSION?p=velotam" + std::string(3000 + rng() % 3000, 'x'));
      break;
    case kEmpty:
      shutdown(s, SHUT_WR);
      break;
    case kSilent:
      break;  // the server's receive time-out (1000 ms) ends it
    case kHalf:
      SendAll(s, "GET /GETVER");
      shutdown(s, SHUT_WR);
      break;
    case kWrongPassword:
      SendAll(s, Request("GETVERSION?p=wrong"));
      break;
    case kReset:
      SendAll(s, Request("GETVERSION?p=velotam"));
      return ResetOnClose(s);
    default:  // reset before accept: closed at once, perhaps before the server accepted it
      return ResetOnClose(s);
  }
  std::string reply;
  const bool closed = ReadAll(s, reply);
  if (k == kSilent && !closed) counts.Wrong("a silent client was not let go");
  if (closed && !reply.empty()) counts.Wrong(std::string(kNames[k]) + " got an answer: " + reply);
}

}  // namespace

void Round(Kind k, std::mt19937& rng, Counts& counts, const std::atomic<bool>& stop) {
  if (k == kStopReading && (++g_stoppedReaders > kMostStoppedReaders || g_held)) {
    --g_stoppedReaders;
    k = kQuery;
  }
  if (k == kStopReading) {
    // Holds the server's send for a while, then goes away without reading the rest.
    int s = OpenStoppedReader(counts);
    Wait(2000, stop);
    if (s >= 0) close(s);
    --g_stoppedReaders;
  } else if (int s = Open(); s < 0) {
    counts.Wrong("connect failed");
    return;
  } else {
    if (k == kQuery) {
      Query(s, rng, counts);
    } else if (k == kControl) {
      Control(s, rng, counts);
    } else if (k == kWait || k == kResetWhileWaiting) {
      Waiting(s, k == kResetWhileWaiting, rng, counts);
    } else {
      Unanswered(k, s, rng, counts);
    }
    close(s);
  }
  ++counts.done[k];
}

Kind Pick(std::mt19937& rng) {
  const unsigned r = rng() % 100;
  if (r < 2) return kResetBeforeAccept;
  if (r < 3) return kStopReading;
  if (r < 40) return kQuery;  // 3 to 39: the first three went to the kinds above
  if (r < 43) return kWait;
  if (r < 45) return kResetWhileWaiting;
  if (r < 70) return kControl;
  if (r < 76) return kMalformed;
  if (r < 80) return kOverlong;
  if (r < 85) return kEmpty;
  if (r < 87) return kSilent;
  if (r < 91) return kHalf;
  if (r < 96) return kWrongPassword;
  return kReset;
}

void SetPort(std::uint16_t port) {
  g_port = port;
}

int Open() {
  return Connect(0);
}

int OpenStoppedReader(Counts& counts) {
  // A small receive buffer: the server's send soon finds no room.
  int s = Connect(4096);
  if (s < 0) {
    counts.Wrong("connect failed");
    return -1;
  }
  // The reply starts once it is whole: under Wine on a busy machine that takes seconds.
  timeval tv{20, 0};
  setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  SendAll(s, Request(kLongReply));
  std::string start;
  char buf[64];
  while (start.size() < 16) {
    ssize_t n = recv(s, buf, sizeof buf, 0);
    if (n <= 0) break;
    start.append(buf, static_cast<std::size_t>(n));
  }
  if (!start.starts_with("HTTP/1.0 200 OK\n")) counts.Wrong("long reply -> " + start);
  return s;
}

bool HoldLongReplies() {
  g_held = true;
  for (int i = 0; i < 1000; ++i) {
    if (g_stoppedReaders == 0) return true;
    std::this_thread::sleep_for(20ms);
  }
  return false;
}

void ReleaseLongReplies() {
  g_held = false;
}

bool AnswersVolume() {
  int s = Open();
  if (s < 0) return false;
  SendAll(s, Request("GETVOLUME?p=velotam"));
  std::string reply, text;
  bool ok = ReadAll(s, reply) && AnswerText(reply, text) && IsNumberIn(text, 0, 255);
  close(s);
  return ok;
}

}  // namespace soak
