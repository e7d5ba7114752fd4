#include "server/accept_retry.h"

#include <algorithm>

AcceptRetry::Step AcceptRetry::Failed(bool shortage) {
  const bool first = failures_ == 0;
  if (failures_ <= kFreeRetries) ++failures_;  // counts no further than it needs to
  if (!shortage && failures_ <= kFreeRetries) return {0, first};
  pauseMs_ = pauseMs_ == 0 ? kFirstPauseMs : std::min(pauseMs_ * 2, kLongestPauseMs);
  return {pauseMs_, first};
}

void AcceptRetry::Succeeded() {
  failures_ = 0;
  pauseMs_ = 0;
}
