#include "control/password_backoff.h"

#include <algorithm>

bool PasswordBackoff::IsLoopback(const std::string& address) {
  return address.rfind("127.", 0) == 0;
}

PasswordBackoff::Order::iterator PasswordBackoff::Find(const std::string& address,
                                                       std::int64_t nowMs) {
  auto it = index_.find(address);
  if (it == index_.end()) return order_.end();
  Order::iterator entry = it->second;
  if (nowMs - entry->lastRefusalMs < kForgetMs) return entry;
  order_.erase(entry);
  index_.erase(it);
  return order_.end();
}

bool PasswordBackoff::Locked(const std::string& address, std::int64_t nowMs) {
  if (IsLoopback(address)) return false;
  std::lock_guard<std::mutex> g(lock_);
  Order::iterator entry = Find(address, nowMs);
  return entry != order_.end() && nowMs < entry->lockedUntilMs;
}

void PasswordBackoff::Refused(const std::string& address, std::int64_t nowMs) {
  if (IsLoopback(address)) return;
  std::lock_guard<std::mutex> g(lock_);
  Order::iterator entry = Find(address, nowMs);
  if (entry == order_.end()) {
    if (order_.size() >= kMaxAddresses) {
      index_.erase(order_.back().address);
      order_.pop_back();
    }
    order_.emplace_front();
    order_.front().address = address;
    index_[address] = order_.begin();
  } else {
    order_.splice(order_.begin(), order_, entry);
  }
  Entry& e = order_.front();
  e.recent[static_cast<std::size_t>(e.refusals % kRefusalsBeforeLock)] = nowMs;
  ++e.refusals;
  // With this refusal in the ring, the next slot holds the oldest of the latest five.
  const std::int64_t fifthLast =
      e.recent[static_cast<std::size_t>(e.refusals % kRefusalsBeforeLock)];
  e.lastRefusalMs = nowMs;
  if (e.lockMs > 0) {
    e.lockMs = std::min(e.lockMs * 2, kMaxLockMs);
  } else if (e.refusals >= kRefusalsBeforeLock && nowMs - fifthLast <= kWindowMs) {
    e.lockMs = kFirstLockMs;
  } else {
    return;
  }
  e.lockedUntilMs = nowMs + e.lockMs;
}

void PasswordBackoff::Accepted(const std::string& address) {
  std::lock_guard<std::mutex> g(lock_);
  auto it = index_.find(address);
  if (it == index_.end()) return;
  order_.erase(it->second);
  index_.erase(it);
}

std::size_t PasswordBackoff::Size() const {
  std::lock_guard<std::mutex> g(lock_);
  return order_.size();
}

int PasswordBackoff::Refusals(const std::string& address) const {
  std::lock_guard<std::mutex> g(lock_);
  auto it = index_.find(address);
  return it == index_.end() ? 0 : it->second->refusals;
}
