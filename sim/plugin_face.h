#pragma once
// How playersim has the plug-in and what its dialog commands and "LOG " lines act on. The native
// program links the plug-in, drives its dialog models and prints the log from the model;
// playersim.exe loads the DLL as the player does, drives the plug-in's real windows and prints
// what appears in the real Out list box. The rest of the program is the same on both.

#include <memory>
#include <string>

#include "platform/hostwin.h"
#include "plugin/record.h"
#include "sim/command_loop.h"

namespace sim {

class PluginFace {
 public:
  PluginFace();
  ~PluginFace();
  PluginFace(const PluginFace&) = delete;
  PluginFace& operator=(const PluginFace&) = delete;

  // The plug-in's record, taken from the player's folder (with its closing separator) as the
  // player takes it; nullptr and the reason when there is none.
  GeneralPurposePlugin* Load(const std::string& dir, std::string& error);
  // The dialog commands and "log".
  void AddCommands(CommandLoop& loop);
  // The record's init with the player's main window as its parent; the "LOG " lines start
  // with what init logs.
  void Init(GeneralPurposePlugin& record, host::Window main, CommandLoop& loop);
  // The record's quit; the "LOG " lines end with what quit logs.
  void Quit(GeneralPurposePlugin& record);

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace sim
