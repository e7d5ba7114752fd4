// The language file: any bytes give every caption the file's text or the built-in one, as the
// INI reader reads it; writing the template keeps the file's other keys, and a second write
// changes nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "lang/language_translation.h"
#include "platform/files.h"
#include "tests/no_plugin.h"
#include "ui/dialog_set.h"
#include "ui/ini_file.h"
#include "ui/models/dialog.h"

namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static NoPlugin plugin;
  static DialogSet* dialogs = new DialogSet(plugin);
  static const std::string folder = "/tmp/velotam_lang_fuzz";
  static const std::string path = folder + "/Velotam_Language.dat";
  static const bool made = files::MakeFolder(folder);
  (void)made;
  const std::string content(reinterpret_cast<const char*>(data), size);
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out) std::abort();
  }
  LanguageTranslation lang(path, folder, *dialogs, static_cast<DialogHost&>(plugin));
  lang.ReadLanguageFile();
  const IniFile read(content);
  for (const LanguageTranslation::Row& row : LanguageTranslation::Vocabulary()) {
    ui::Control* control = dialogs->Named(row.dialog)->Find(row.control);
    if (control == nullptr) std::abort();
    if (control->Caption() != read.ReadString(row.section, row.key, row.defaultText)) std::abort();
  }
  lang.WriteLanguageFile();
  const std::string first = Slurp(path);
  const IniFile written(first);
  for (const std::string& section : read.Sections()) {
    for (const IniFile::Entry& e : read.Entries(section)) {
      if (!written.HasKey(section, e.key)) std::abort();
    }
  }
  lang.WriteLanguageFile();
  if (Slurp(path) != first) std::abort();
  return 0;
}
