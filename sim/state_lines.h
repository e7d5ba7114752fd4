#pragma once
// The lines of playersim's "state" and "log" commands.

#include <string>
#include <vector>

#include "sim/player.h"

namespace sim {

// "STATE key=value" lines in their fixed order, values escaped, then "STATE end". The SHOUTcast
// lines appear only when the window exists.
std::vector<std::string> StateLines(const PlayerState& state, bool withShoutcast);
// "LOGDUMP " + entry for each entry, oldest first, then "LOGDUMP end".
std::vector<std::string> LogDumpLines(const std::vector<std::string>& entries);

}  // namespace sim
