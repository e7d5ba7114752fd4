// The INI reader: any bytes parse, every key reads, and what is written reads back to the same
// text (a second write equals the first).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ui/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  IniFile file(std::string(reinterpret_cast<const char*>(data), size));
  for (const std::string& section : file.Sections()) {
    for (const IniFile::Entry& e : file.Entries(section)) {
      (void)file.ReadString(section, e.key, "");
      (void)file.ReadInteger(section, e.key, 0);
      (void)file.ReadBool(section, e.key, false);
    }
  }
  const std::string first = file.Serialize();
  if (IniFile(first).Serialize() != first) std::abort();
  return 0;
}
