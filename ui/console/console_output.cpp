#include "ui/console/console_output.h"

#include <cstdio>
#include <mutex>

namespace console {

namespace {
std::mutex g_outLock;
}

void PrintLine(const std::string& line) {
  std::lock_guard<std::mutex> guard(g_outLock);
  std::string whole = line + "\n";
  std::fwrite(whole.data(), 1, whole.size(), stdout);
  std::fflush(stdout);
}

}  // namespace console
