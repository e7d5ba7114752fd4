#pragma once
// An INI text held in memory: read whole, changed key by key, written whole.
//
// Reading: lines end in CR LF, LF or CR; every line is trimmed; empty lines, lines beginning
// with ";" and lines before the first section header are skipped (and so not written back);
// a key line is split at its first "=", key and value trimmed. A leading UTF-8 byte-order mark
// is skipped, so a file saved by an editor in that form still reads.
//
// Names: section and key names match without regard to letter case, as a user of Windows INI
// files expects ("[Allgemein]" is the section "allgemein"). A write gives the name the spelling
// of the writer, so saved files always carry the documented names; names that are only read
// keep the file's spelling. A section that occurs twice is one section; of a key that occurs
// twice in a section the first one counts, and removing the key removes every copy.
//
// Writing: each section as its header, its key lines ("key=value", no blanks around "=") and
// one empty line, every line ending in CR LF. Sections keep their order in the file; a new
// section is appended when its first key is written, a new key at the end of its section.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class IniFile {
 public:
  IniFile() = default;
  explicit IniFile(const std::string& content) { Parse(content); }

  // Reads the file at path (a missing or unreadable file reads as empty).
  static IniFile Load(const std::string& path);
  // Writes the whole text to path through a temporary file beside it; false on failure.
  bool Save(const std::string& path) const;

  void Parse(const std::string& content);
  std::string Serialize() const;

  bool HasKey(const std::string& section, const std::string& key) const;
  // A present key with an empty value reads as the empty text, not as the default.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& def) const;
  // Decimal with an optional sign, or hexadecimal after "0x"/"0X" (up to 32 bits); any other
  // value, the empty one included, reads as the default.
  std::int32_t ReadInteger(const std::string& section, const std::string& key,
                           std::int32_t def) const;
  // An integer; any value other than 0 is true.
  bool ReadBool(const std::string& section, const std::string& key, bool def) const;

  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, std::int32_t value);
  void WriteBool(const std::string& section, const std::string& key, bool value);

  void DeleteKey(const std::string& section, const std::string& key);
  // Removes every key of the section whose name satisfies pred.
  void DeleteKeysIf(const std::string& section,
                    const std::function<bool(const std::string& key)>& pred);

  struct Entry {
    std::string key;
    std::string value;
  };
  // The section's keys in file order (duplicates included); empty for a missing section.
  std::vector<Entry> Entries(const std::string& section) const;
  std::vector<std::string> Sections() const;

  // The strict number rule of ReadInteger, for callers that hold a text.
  static bool ParseNumber(const std::string& text, std::int32_t& out);
  // Name comparison of sections and keys.
  static bool SameName(const std::string& a, const std::string& b);

 private:
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };
  const Section* FindSection(const std::string& name) const;
  Section& SectionFor(const std::string& name);

  std::vector<Section> sections_;
};
