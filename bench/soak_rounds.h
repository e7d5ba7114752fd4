#pragma once
// The soak's clients: one round trip of each kind against the server on 127.0.0.1, with every
// answer that can be checked checked. The server runs with the password "velotam", the HTTP
// header on, a receive time-out of 1000 ms and a long playlist (scripts/soak.sh writes it).

#include <atomic>
#include <cstdint>
#include <mutex>
#include <random>
#include <string>
#include <vector>

namespace soak {

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
  kResetBeforeAccept,
  kStopReading,
  kWait,
  kResetWhileWaiting,
  kKinds
};
extern const char* const kNames[kKinds];

struct Counts {
  std::atomic<long> done[kKinds] = {};
  std::atomic<long> wrong{0};
  std::mutex lock;
  std::vector<std::string> firstWrong;

  void Wrong(const std::string& what);
};

// The port every client connects to.
void SetPort(std::uint16_t port);
// A connected client socket (receives bounded to 5 s), -1 when the connection fails.
int Open();
// Sends a request for the long playlist reply and reads only the start of it; -1 on failure.
int OpenStoppedReader(Counts& counts);

// One round trip of kind k; stop ends a client that waits of its own accord.
void Round(Kind k, std::mt19937& rng, Counts& counts, const std::atomic<bool>& stop);
// A kind drawn from the mix (mostly valid requests).
Kind Pick(std::mt19937& rng);
// While held, no client asks for a long reply (the rounds ask a query instead). Hold waits
// (bounded) until no long reply is under way, so that the server's memory can be measured
// without one; false when one still was after 20 s.
bool HoldLongReplies();
void ReleaseLongReplies();
// Whether the server answers GETVOLUME right.
bool AnswersVolume();

}  // namespace soak
