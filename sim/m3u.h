#pragma once
// Reads a playlist in M3U or extended M3U form. The text is taken as bytes: entries are kept
// exactly as written (not resolved against any folder, not converted).

#include <string>
#include <vector>

#include "sim/player.h"

namespace sim {

// One entry per line that is neither blank nor a comment. "#EXTINF:length,title" gives the
// next entry its length (seconds) and title; without it the length is unknown (-1) and the title
// is the file name without folders and extension. A leading UTF-8 byte order mark is skipped.
std::vector<Entry> ReadM3u(const std::string& bytes);

}  // namespace sim
