#include "server/accept_retry.h"

#include <algorithm>

AcceptRetry::Step AcceptRetry::Failed(net::AcceptError kind) {
  const bool first = !inBurst_;
  inBurst_ = true;
  if (kind == net::AcceptError::kClientGone) return {0, first};
  if (kind == net::AcceptError::kOther && othersInRow_ < kFreeRetries) {
    ++othersInRow_;
    return {0, first};
  }
  pauseMs_ = pauseMs_ == 0 ? kFirstPauseMs : std::min(pauseMs_ * 2, kLongestPauseMs);
  return {pauseMs_, first};
}

void AcceptRetry::Succeeded() {
  inBurst_ = false;
  othersInRow_ = 0;
  pauseMs_ = 0;
}
