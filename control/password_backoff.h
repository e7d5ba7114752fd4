#pragma once
// Failed-password back-off per client address. After 5 refused passwords from one address
// within 60 s the address is locked for 2 s; every further refusal doubles the lock, up to
// 5 minutes; 10 minutes without a refusal forget the address; a right password forgets it at
// once. Loopback addresses (127.0.0.0/8) are never locked. At most kMaxAddresses are
// remembered, the least recently refused one dropped first. Times are milliseconds of a steady
// clock, given by the caller. Safe for concurrent workers; every call costs O(1).

#include <array>
#include <cstddef>
#include <cstdint>
#include <list>
#include <mutex>
#include <string>
#include <unordered_map>

class PasswordBackoff {
 public:
  static constexpr std::size_t kMaxAddresses = 1024;
  static constexpr int kRefusalsBeforeLock = 5;
  static constexpr std::int64_t kWindowMs = 60 * 1000;
  static constexpr std::int64_t kFirstLockMs = 2 * 1000;
  static constexpr std::int64_t kMaxLockMs = 5 * 60 * 1000;
  static constexpr std::int64_t kForgetMs = 10 * 60 * 1000;

  // True while the address is locked at nowMs.
  bool Locked(const std::string& address, std::int64_t nowMs);
  void Refused(const std::string& address, std::int64_t nowMs);
  void Accepted(const std::string& address);

  std::size_t Size() const;
  // The refusals remembered for the address (for tests).
  int Refusals(const std::string& address) const;

 private:
  struct Entry {
    std::string address;
    std::array<std::int64_t, kRefusalsBeforeLock> recent{};  // ring of the latest refusals
    int refusals = 0;
    std::int64_t lastRefusalMs = 0;
    std::int64_t lockMs = 0;  // 0: not locked yet
    std::int64_t lockedUntilMs = 0;
  };
  using Order = std::list<Entry>;  // most recently refused first

  static bool IsLoopback(const std::string& address);
  // The address's entry, after forgetting it when its last refusal is too old; end() if none.
  Order::iterator Find(const std::string& address, std::int64_t nowMs);

  mutable std::mutex lock_;
  Order order_;
  std::unordered_map<std::string, Order::iterator> index_;
};
