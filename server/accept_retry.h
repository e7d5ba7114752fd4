#pragma once
// What the waiting worker does after a failed accept while the server still listens. A failure
// never ends the chain (a client that resets while it waits in the backlog is reported as one on
// Windows): the worker accepts again. A shortage of resources waits first, with a pause that
// grows from a few milliseconds to about a second; other failures retry at once until a burst
// gets long, then pause as well, so the worker never spins. One log line per burst.

class AcceptRetry {
 public:
  static constexpr int kFirstPauseMs = 4;
  static constexpr int kLongestPauseMs = 1024;
  // Failures in a row that retry without a pause when resources are not short.
  static constexpr int kFreeRetries = 16;

  struct Step {
    int pauseMs;  // before the next accept; 0: at once
    bool log;     // the first failure of a burst
  };
  // A failed accept; shortage: the error says the system ran out of handles, buffers or memory.
  Step Failed(bool shortage);
  // An accepted client ends the burst.
  void Succeeded();

 private:
  int failures_ = 0;
  int pauseMs_ = 0;
};
