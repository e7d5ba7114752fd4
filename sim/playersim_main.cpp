// playersim: a stand-in for the media player. It loads the plug-in through its record the way
// the player does, answers the player's window messages from its player model and takes
// commands on standard input (docs/playersim.md).
#include <memory>
#include <string>
#include <vector>

#include "base/text.h"
#include "platform/posix/host_table.h"
#include "plugin/record.h"
#include "sim/command_loop.h"
#include "sim/player.h"
#include "sim/player_windows.h"
#include "sim/playersim_commands.h"
#include "sim/playersim_options.h"
#include "sim/stdin_lines.h"
#include "sim/window_host.h"
#include "ui/config_dlg.h"
#include "ui/console/console_output.h"
#include "ui/console/dialog_commands.h"
#include "ui/console/log_printer.h"
#include "ui/console/plugin_dialogs.h"

namespace {

int Fail(const std::string& reason) {
  console::PrintLine("ERROR " + text::EscapeLine(text::Utf8ToLatin1(reason)));
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  // First, so that every thread started later inherits the blocked signals.
  sim::StdinLines input;

  sim::Setup setup;
  std::string error;
  if (!sim::PrepareSetup(std::vector<std::string>(argv + 1, argv + argc), setup, error)) {
    return Fail(error);
  }

  sim::Player player(std::move(setup.playlist), setup.dir + "Winamp.ini");
  sim::WindowHost host;
  sim::PlayerWindows windows(host, player, {setup.options.shoutcast, &sim::SteadyNowMs});
  host::table::SetMessageBoxHandler([](const std::string& t, const std::string& c) {
    console::PrintLine("MSGBOX " + text::EscapeLine(c) + ": " + text::EscapeLine(t));
  });

  GeneralPurposePlugin* record = winampGetGeneralPurposePlugin();
  sim::CommandLoop loop([&input](std::string& line) { return input.Next(line); },
                        &console::PrintLine);
  sim::AddPlayerCommands(loop, *record, player, windows);
  sim::AddLogCommand(loop);
  console::DialogCommands dialogs(&console::DialogsInDumpOrder, &console::DialogsInLookupOrder);
  loop.AddHandler([&dialogs](const std::string& line) { return dialogs.Handle(line); });

  std::unique_ptr<console::LogPrinter> printer;
  ui::SetFaceHooks(
      {[&loop](ui::Dialog& d) {
         // A modal dialog runs the command loop nested; when the program ends
         // meanwhile, the dialog is cancelled so that its caller can return.
         if (!loop.RunUntil([&d] { return d.GetModalResult() != ui::ModalResult::None; })) {
           d.SetModalResult(ui::ModalResult::Cancel);
         }
       },
       [&printer](ui::Dialog& d) {
         if (&d == ConfigDlg) printer = std::make_unique<console::LogPrinter>(ConfigDlg->Out);
       },
       [&printer](ui::Dialog& d) {
         if (&d == ConfigDlg) printer.reset();
       },
       nullptr});

  record->hwndParent = windows.Main();
  record->init();

  loop.Run();
  record->quit();
  ui::SetFaceHooks({});
  return 0;
}
