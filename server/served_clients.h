#pragma once
// The clients being served: how many there are, bounded by the server's limit, and the stop
// that interrupts their waits. Every receive and send of a client waits on its socket and on
// this stop together, so a quit wakes them all at once, and an idle client costs nothing.

#include <mutex>

#include "platform/net.h"

class ServedClients {
 public:
  // At most this many at once: a 32-bit player must not run out of address space for stacks.
  static constexpr int kMaxServed = 64;

  // A client was accepted; true when another one may be accepted at once.
  bool Begin();
  // A client is done.
  void End();
  int Count() const;
  bool Full() const;

  // Ends every wait of every client, now and from now on (quit).
  void Interrupt() { stop_.Raise(); }
  const net::WakeSocket& Stop() const { return stop_; }
  // Why a quit cannot interrupt the clients' waits (the system refused the wake socket); 0
  // when it can.
  int StopError() const { return stop_.Error(); }

 private:
  mutable std::mutex lock_;
  int count_ = 0;
  net::WakeSocket stop_;
};
