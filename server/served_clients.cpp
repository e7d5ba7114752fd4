#include "server/served_clients.h"

bool ServedClients::Begin() {
  std::lock_guard<std::mutex> g(lock_);
  return ++count_ < kMaxServed;
}

void ServedClients::End() {
  std::lock_guard<std::mutex> g(lock_);
  --count_;
}

int ServedClients::Count() const {
  std::lock_guard<std::mutex> g(lock_);
  return count_;
}

bool ServedClients::Full() const {
  std::lock_guard<std::mutex> g(lock_);
  return count_ >= kMaxServed;
}
