#include "sim/playersim_commands.h"

namespace sim {

void AddPlayerCommands(CommandLoop& loop, GeneralPurposePlugin& record, Player& player,
                       const PlayerWindows& windows) {
  loop.AddHandler([&record](const std::string& line) {
    if (line != "config") return false;
    record.config();
    return true;
  });
  loop.AddHandler([&loop, &player, &windows](const std::string& line) {
    if (line != "state") return false;
    const bool withShoutcast = windows.Shoutcast() != host::kNoWindow;
    for (const std::string& l : StateLines(player.State(windows.Now()), withShoutcast)) {
      loop.Print(l);
    }
    return true;
  });
}

}  // namespace sim
