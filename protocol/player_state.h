#pragma once
// The player's state as a client follows it, in one reply (GETSTATE, WAITCHANGE): read with the
// same host messages as the single queries, and without a log line.

#include <cstdint>
#include <string>

#include "platform/clock.h"

class RequestHost;

struct PlayerState {
  std::int32_t playing = 0;  // as ISPLAYING: 0 stopped, 1 playing, 3 paused
  std::int32_t pos = 0;
  std::int32_t length = 0;
  std::string title;  // as GETCURRENTTITLE, line breaks made blanks
  std::int32_t ms = 0;
  std::int32_t seconds = 0;
  std::int32_t volume = 0;
  std::int32_t shuffle = 0;
  std::int32_t repeat = 0;

  bool operator==(const PlayerState&) const = default;
};

// Asks the player now; exceptions of the host pass.
PlayerState ReadPlayerState(RequestHost& player);

// The reply text: "key=value" lines in a fixed order, separated by LF (no closing LF: the
// framing adds it).
std::string StateText(std::int64_t counter, const PlayerState& s);

// Whether a client following the player must hear of now, the state elapsedMs after before.
// The output time counts only when it jumps: more than 2 s away from where steady playing from
// before would have put it (a seek); its steady advance is no change.
bool StateChanged(const PlayerState& before, const PlayerState& now, std::int64_t elapsedMs);

// The first change counter of a server start: a number that no earlier start has handed out,
// whatever ran before (from the time of day, thousand numbers per second), and above last.
std::int64_t FirstCounter(const clk::UtcTime& now, std::int64_t last);
