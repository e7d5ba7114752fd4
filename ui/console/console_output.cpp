#include "ui/console/console_output.h"

#include <cstdio>
#include <mutex>

namespace console {

namespace {
std::mutex g_outLock;
std::function<void(const std::string&)> g_sink;
}  // namespace

void PrintLine(const std::string& line) {
  std::lock_guard<std::mutex> guard(g_outLock);
  if (g_sink) {
    g_sink(line);
    return;
  }
  std::string whole = line + "\n";
  std::fwrite(whole.data(), 1, whole.size(), stdout);
  std::fflush(stdout);
}

void SetLineSink(std::function<void(const std::string& line)> sink) {
  std::lock_guard<std::mutex> guard(g_outLock);
  g_sink = std::move(sink);
}

}  // namespace console
