#pragma once
// The host's general purpose plug-in record (header version 0x10) and its export.

#include <cstddef>
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

#if defined(_WIN32) && !defined(_WIN64)
// The 32-bit player reads the record at these offsets: the layout is part of the interface.
static_assert(offsetof(GeneralPurposePlugin, version) == 0);
static_assert(offsetof(GeneralPurposePlugin, description) == 4);
static_assert(offsetof(GeneralPurposePlugin, init) == 8);
static_assert(offsetof(GeneralPurposePlugin, config) == 12);
static_assert(offsetof(GeneralPurposePlugin, quit) == 16);
static_assert(offsetof(GeneralPurposePlugin, hwndParent) == 20);
static_assert(offsetof(GeneralPurposePlugin, hDllInstance) == 24);
static_assert(sizeof(GeneralPurposePlugin) == 28);
#endif

extern "C" GeneralPurposePlugin* winampGetGeneralPurposePlugin();
