#pragma once
// playersim's own commands on standard input: "config" and "state" ("log" and the dialog
// commands belong to the plug-in's face, sim/plugin_face.h; "quit" to the command loop itself).

#include <string>
#include <vector>

#include "plugin/record.h"
#include "sim/command_loop.h"
#include "sim/player.h"
#include "sim/player_windows.h"
#include "sim/state_lines.h"

namespace sim {

// Adds the handlers of "config" (the record's config entry) and "state" to the loop.
void AddPlayerCommands(CommandLoop& loop, GeneralPurposePlugin& record, Player& player,
                       const PlayerWindows& windows);

}  // namespace sim
