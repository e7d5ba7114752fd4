#pragma once
// Standard output of the native face: every line is written whole and flushed at once, and
// lines of different threads never mix.

#include <functional>
#include <string>

namespace console {

// Writes the line (UTF-8, without its line end) and a line feed.
void PrintLine(const std::string& line);

// Sends the lines to sink instead of standard output (for tests); nullptr restores stdout.
void SetLineSink(std::function<void(const std::string& line)> sink);

}  // namespace console
