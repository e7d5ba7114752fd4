#pragma once
// Clock seam: the current time in UTC, broken down for the HTTP Date header.

#include <cstdint>

namespace clk {

struct UtcTime {
  int year;
  int month;    // 1-12
  int day;      // 1-31
  int weekday;  // 1 = Monday ... 7 = Sunday
  int hour;
  int minute;
  int second;
};

UtcTime NowUtc();
// Milliseconds on a clock that only moves forward (not the time of day), for measuring spans.
std::int64_t SteadyMs();

}  // namespace clk
