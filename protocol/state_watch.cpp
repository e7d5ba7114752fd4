#include "protocol/state_watch.h"

#include <chrono>

#include "platform/clock.h"

void StateWatch::Begin(std::int64_t first) {
  std::lock_guard<std::mutex> hold(lock_);
  counter_ = first > counter_ ? first : counter_ + 1;
  open_ = true;
  ++start_;
  changed_.notify_all();
}

void StateWatch::End() {
  std::lock_guard<std::mutex> hold(lock_);
  open_ = false;
  ++start_;
  stopped_ = Take();
  changed_.notify_all();
}

std::int64_t StateWatch::LastCounter() const {
  std::lock_guard<std::mutex> hold(lock_);
  return counter_;
}

int StateWatch::Waiting() const {
  std::lock_guard<std::mutex> hold(lock_);
  return waiting_;
}

std::int64_t StateWatch::Polls() const {
  std::lock_guard<std::mutex> hold(lock_);
  return polls_;
}

void StateWatch::Poll(std::unique_lock<std::mutex>& lock) {
  // Answers applied out of order would count a change back and forth: one asker at a time.
  changed_.wait(lock, [&] { return !polling_; });
  polling_ = true;
  lock.unlock();
  PlayerState now;
  bool read = false;
  try {
    now = ReadPlayerState(player_);
    read = true;
  } catch (...) {
  }
  const std::int64_t at = clk::SteadyMs();
  lock.lock();
  polling_ = false;
  ++polls_;
  if (read) {
    if (known_ && StateChanged(state_, now, at - polledAt_)) ++counter_;
    state_ = now;
    polledAt_ = at;
    known_ = true;
  }
  changed_.notify_all();
}

StateWatch::Snapshot StateWatch::Current() {
  std::unique_lock<std::mutex> lock(lock_);
  Poll(lock);
  return Take();
}

StateWatch::Snapshot StateWatch::WaitChange(std::optional<std::int64_t> since, int timeoutMs,
                                            const std::function<bool()>& gone) {
  std::unique_lock<std::mutex> lock(lock_);
  // A client that comes after a stop gets what is known (the player is not asked during a quit).
  if (!open_) return Take();
  Poll(lock);
  if (!open_ || !since || *since != counter_ || waiting_ >= kMostWaiting) return Take();
  ++waiting_;
  const std::uint64_t start = start_;
  const std::int64_t deadline = clk::SteadyMs() + timeoutMs;
  for (;;) {
    if (start_ != start || counter_ != *since) break;
    const std::int64_t now = clk::SteadyMs();
    if (now >= deadline) break;
    lock.unlock();
    const bool left = gone();
    lock.lock();
    if (left || start_ != start) break;
    if (!polling_ && now - polledAt_ >= kPollMs) {
      Poll(lock);
      continue;
    }
    // Until the next poll is due (one of the waiters asks then) or the deadline.
    std::int64_t until = polledAt_ + kPollMs;
    if (until <= now) until = now + kPollMs;  // someone else asks right now
    if (until > deadline) until = deadline;
    changed_.wait_for(lock, std::chrono::milliseconds(until - now));
  }
  --waiting_;
  // Answered by a stop: the state at the stop, even when the next start has begun since.
  return start_ != start ? stopped_ : Take();
}
