// playersim: a stand-in for the media player. It loads the plug-in through its record the way
// the player does, answers the player's window messages from its player model and takes
// commands on standard input (docs/playersim.md). The program is the same on every platform;
// what differs lives behind sim/stdin_lines.h, sim/plugin_face.h and sim/window_host.h.
#include <string>
#include <vector>

#include "base/text.h"
#include "sim/command_loop.h"
#include "sim/player.h"
#include "sim/player_windows.h"
#include "sim/playersim_commands.h"
#include "sim/playersim_options.h"
#include "sim/plugin_face.h"
#include "sim/stdin_lines.h"
#include "sim/window_host.h"
#include "ui/console/console_output.h"

namespace {

int Fail(const std::string& reason) {
  console::PrintLine("ERROR " + text::EscapeLine(reason));
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  // First, so that every thread started later inherits the blocked signals.
  sim::StdinLines input;
  // Before the windows, so that the plug-in's module outlives them.
  sim::PluginFace face;

  sim::Setup setup;
  std::string error;
  if (!sim::PrepareSetup(std::vector<std::string>(argv + 1, argv + argc), setup, error)) {
    return Fail(sim::ArgumentText(error));
  }
  GeneralPurposePlugin* record = face.Load(setup.dir, error);
  if (record == nullptr) return Fail(error);

  sim::Player player(std::move(setup.playlist), setup.dir + "Winamp.ini");
  // The main thread owns the windows: it waits for the next line in a message loop.
  sim::WindowHost host(sim::WindowHost::Threading::CallingThread);
  sim::PlayerWindows windows(host, player, {setup.options.shoutcast, &sim::SteadyNowMs});

  sim::CommandLoop loop([&input](std::string& line) { return input.Next(line); },
                        &console::PrintLine);
  sim::AddPlayerCommands(loop, *record, player, windows);
  face.AddCommands(loop);

  face.Init(*record, windows.Main(), loop);
  input.NestInto(&loop);
  loop.Run();
  input.NestInto(nullptr);
  face.Quit(*record);
  return 0;
}
