#include "sim/playersim_commands.h"
#include "ui/config_dlg.h"

namespace sim {

// Apart from the other commands: it reaches into the plug-in linked into the program, which the
// Windows playersim (loading the DLL) does not have.
void AddLogCommand(CommandLoop& loop) {
  loop.AddHandler([&loop](const std::string& line) {
    if (line != "log") return false;
    std::vector<std::string> entries;
    if (ConfigDlg != nullptr) entries = ConfigDlg->Out.Items();
    for (const std::string& l : LogDumpLines(entries)) loop.Print(l);
    return true;
  });
}

}  // namespace sim
