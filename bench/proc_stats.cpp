#include "bench/proc_stats.h"

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

namespace bench {

int64_t CpuMicroseconds(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(in, line)) return -1;
  // The command name may hold spaces and parentheses; the fields after it do not.
  size_t close = line.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(line.substr(close + 1));
  std::string skip;
  for (int field = 3; field <= 13; ++field) fields >> skip;  // state .. cmajflt
  int64_t utime = 0, stime = 0;
  if (!(fields >> utime >> stime)) return -1;
  long ticks = sysconf(_SC_CLK_TCK);
  if (ticks <= 0) return -1;
  return (utime + stime) * 1000000 / ticks;
}

int64_t RssKilobytes(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stoll(line.substr(6));
  }
  return -1;
}

}  // namespace bench
