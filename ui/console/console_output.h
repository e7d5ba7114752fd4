#pragma once
// Standard output of the native face: every line is written whole and flushed at once, and
// lines of different threads never mix.

#include <functional>
#include <string>

namespace console {

// Writes the line (UTF-8, without its line end) and a line feed. What the hook set with
// SetBeforePrint holds back (log lines not yet printed) goes out first.
void PrintLine(const std::string& line);

// Writes several lines, each with its line feed, in one write; no hook runs.
void PrintLines(const std::string& lines);

// Sends the lines to sink instead of standard output (for tests); nullptr restores stdout.
void SetLineSink(std::function<void(const std::string& line)> sink);

// Runs before every PrintLine, on the printing thread; nullptr removes it.
void SetBeforePrint(std::function<void()> hook);

}  // namespace console
