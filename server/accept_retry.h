#pragma once
// What the waiting worker does after a failed accept while the server still listens. A failure
// never ends the chain: the worker accepts again. A client that went away while it waited in
// the backlog (Windows reports a reset there as a failure) has used up its failure: the worker
// accepts again at once, however many follow. A shortage of resources waits first, with a
// pause that grows from a few milliseconds to about a second; other failures retry at once
// until a run of them gets long, then pause as well, so the worker never spins. One log line
// per burst: the failures between two accepted clients.

#include "platform/net.h"

class AcceptRetry {
 public:
  static constexpr int kFirstPauseMs = 4;
  static constexpr int kLongestPauseMs = 1024;
  // Other failures in a row that retry without a pause.
  static constexpr int kFreeRetries = 16;

  struct Step {
    int pauseMs;  // before the next accept; 0: at once
    bool log;     // the first failure of a burst
  };
  Step Failed(net::AcceptError kind);
  // An accepted client ends the burst.
  void Succeeded();

 private:
  bool inBurst_ = false;
  int othersInRow_ = 0;
  int pauseMs_ = 0;
};
