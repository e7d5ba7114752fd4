#include <windows.h>

#include "platform/clock.h"

namespace clk {

UtcTime NowUtc() {
  SYSTEMTIME st;
  GetSystemTime(&st);
  return UtcTime{st.wYear, st.wMonth,  st.wDay,   st.wDayOfWeek == 0 ? 7 : st.wDayOfWeek,
                 st.wHour, st.wMinute, st.wSecond};
}

std::int64_t SteadyMs() {
  return static_cast<std::int64_t>(GetTickCount64());
}

}  // namespace clk
