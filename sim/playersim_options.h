#pragma once
// playersim's command line: playersim [--dir DIR] [--playlist FILE] [--no-shoutcast].

#include <string>
#include <vector>

#include "sim/player.h"

namespace sim {

struct Options {
  std::string dir = ".";  // the player's folder
  std::string playlist;   // an M3U file; empty: the demo playlist
  bool shoutcast = true;
};

// The arguments after the program name; false with a reason on an unknown or incomplete option.
bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error);

// What a run starts from: its options, its playlist and the player's folder (with its closing
// separator), with the folder's Plugins folder created.
struct Setup {
  Options options;
  std::vector<Entry> playlist;
  std::string dir;
};

// Parses the command line, reads the playlist and creates the folders; false with a reason.
bool PrepareSetup(const std::vector<std::string>& args, Setup& setup, std::string& error);

// The folder with a closing separator ("\" unless it already ends in "\" or "/").
std::string FolderPath(const std::string& dir);

}  // namespace sim
