#pragma once
// Clock seam: the current time in UTC, broken down for the HTTP Date header.

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

}  // namespace clk
