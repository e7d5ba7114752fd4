#pragma once
// A plug-in side for dialog models that are built on their own (for their layout tables, or in
// the language-file fuzzer): no settings file, no language file, no server, no log.

#include <cstdint>
#include <string>

#include "server/server_host.h"
#include "ui/dialog_host.h"

struct NoPlugin : DialogHost, ServerHost {
  std::string IniPath() override { return std::string(); }
  ServerHost& ServerSide() override { return *this; }
  void ReadLanguageFile() override {}
  void WriteLanguageFile() override {}
  void WriteLog(const std::string&) override {}
  std::uint32_t BindAddress() override { return 0; }
  std::string PortText() override { return std::string(); }
  std::string TimeoutText() override { return std::string(); }
  void Serve(const std::string&, const std::string&, ReplySink&) override {}
};
