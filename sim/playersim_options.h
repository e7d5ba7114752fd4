#pragma once
// playersim's command line: playersim [--dir DIR] [--playlist FILE] [--no-shoutcast].

#include <string>
#include <vector>

namespace sim {

struct Options {
  std::string dir = ".";  // the player's folder
  std::string playlist;   // an M3U file; empty: the demo playlist
  bool shoutcast = true;
};

// The arguments after the program name; false with a reason on an unknown or incomplete option.
bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error);

// The folder with a closing separator ("\" unless it already ends in "\" or "/").
std::string FolderPath(const std::string& dir);

}  // namespace sim
