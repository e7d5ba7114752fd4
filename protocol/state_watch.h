#pragma once
// The change counter and the waits for a change (WAITCHANGE). The player is asked only when a
// client wants the state (GETSTATE, a WAITCHANGE as it arrives) and, while at least one client
// waits, every 200 ms by one of the waiting workers: no thread of its own, and nothing asked
// while nobody waits. A stop answers every wait at once; until the next start a wait answers
// at once.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>

#include "protocol/player_state.h"

class RequestHost;

class StateWatch {
 public:
  static constexpr int kMostWaiting = 8;
  static constexpr int kPollMs = 200;

  struct Snapshot {
    std::int64_t counter = 0;
    PlayerState state;
  };

  explicit StateWatch(RequestHost& player) : player_(player) {}
  StateWatch(const StateWatch&) = delete;
  StateWatch& operator=(const StateWatch&) = delete;

  // A server start: waits are taken from now on, and the counter goes on from first (or past
  // every number handed out so far, if that is more).
  void Begin(std::int64_t first);
  // A stop: every wait answers now with the state it has, and new ones answer at once.
  void End();
  std::int64_t LastCounter() const;

  // Asks the player now and counts a change.
  Snapshot Current();
  // Answers at once when since is missing or not the counter, when kMostWaiting wait already,
  // or when the server is stopped; otherwise waits until the state changes, timeoutMs pass, a
  // stop comes, or gone() says that the client is gone. Exceptions of the host pass.
  Snapshot WaitChange(std::optional<std::int64_t> since, int timeoutMs,
                      const std::function<bool()>& gone);

  // For tests: the clients waiting now, and how often the player was asked.
  int Waiting() const;
  std::int64_t Polls() const;

 private:
  // Asks the player, one asker at a time; lock is held on entry and on return.
  void Poll(std::unique_lock<std::mutex>& lock);
  Snapshot Take() const { return Snapshot{counter_, state_}; }

  RequestHost& player_;
  mutable std::mutex lock_;
  std::condition_variable changed_;
  bool open_ = false;
  bool polling_ = false;
  bool known_ = false;       // state_ holds an answer of the player
  std::uint64_t start_ = 0;  // counts Begin and End, so a wait notices either
  std::int64_t counter_ = 0;
  PlayerState state_;
  Snapshot stopped_;  // what the last stop answered
  std::int64_t polledAt_ = 0;
  int waiting_ = 0;
  std::int64_t polls_ = 0;
};
