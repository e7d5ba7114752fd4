#include "ui/console/console_output.h"

#include <cstdio>
#include <mutex>

namespace console {

namespace {
std::mutex g_outLock;
std::function<void(const std::string&)> g_sink;
std::mutex g_hookLock;
std::function<void()> g_beforePrint;

void Write(const std::string& lines) {
  std::lock_guard<std::mutex> guard(g_outLock);
  if (g_sink) {
    std::size_t start = 0;
    while (start < lines.size()) {
      std::size_t end = lines.find('\n', start);
      if (end == std::string::npos) end = lines.size();
      g_sink(lines.substr(start, end - start));
      start = end + 1;
    }
    return;
  }
  std::fwrite(lines.data(), 1, lines.size(), stdout);
  std::fflush(stdout);
}
}  // namespace

void PrintLine(const std::string& line) {
  {
    std::lock_guard<std::mutex> guard(g_hookLock);
    if (g_beforePrint) g_beforePrint();
  }
  Write(line + "\n");
}

void PrintLines(const std::string& lines) {
  Write(lines);
}

void SetLineSink(std::function<void(const std::string& line)> sink) {
  std::lock_guard<std::mutex> guard(g_outLock);
  g_sink = std::move(sink);
}

void SetBeforePrint(std::function<void()> hook) {
  std::lock_guard<std::mutex> guard(g_hookLock);
  g_beforePrint = std::move(hook);
}

}  // namespace console
