#pragma once
// playersim's own commands on standard input: "config", "state" and "log" ("quit" belongs to the
// command loop itself), and the lines they print.

#include <string>
#include <vector>

#include "plugin/record.h"
#include "sim/command_loop.h"
#include "sim/player.h"
#include "sim/player_windows.h"

namespace sim {

// "STATE key=value" lines in their fixed order, values escaped, then "STATE end". The SHOUTcast
// lines appear only when the window exists.
std::vector<std::string> StateLines(const PlayerState& state, bool withShoutcast);
// "LOGDUMP " + entry for each entry, oldest first, then "LOGDUMP end".
std::vector<std::string> LogDumpLines(const std::vector<std::string>& entries);

// Adds the handlers of "config", "state" and "log" to the loop.
void AddPlayerCommands(CommandLoop& loop, GeneralPurposePlugin& record, Player& player,
                       const PlayerWindows& windows);

}  // namespace sim
