#pragma once
// The host's general purpose plug-in record (header version 0x10) and its export.

#include <cstdint>

#include "platform/hostwin.h"

struct GeneralPurposePlugin {
  int version;              // 0x10
  const char* description;  // shown in the host's plug-in list
  int (*init)();
  void (*config)();
  void (*quit)();
  host::Window hwndParent;  // filled by the host before init: the player's main window
  void* hDllInstance;       // filled by the host; not read
};

inline constexpr int kPluginRecordVersion = 0x10;

extern "C" GeneralPurposePlugin* winampGetGeneralPurposePlugin();
