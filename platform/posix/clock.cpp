#include <ctime>

#include "platform/clock.h"

namespace clk {

UtcTime NowUtc() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  gmtime_r(&now, &tm);
  return UtcTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_wday == 0 ? 7 : tm.tm_wday,
                 tm.tm_hour,        tm.tm_min,     tm.tm_sec};
}

std::int64_t SteadyMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

}  // namespace clk
