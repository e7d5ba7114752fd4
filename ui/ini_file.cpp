#include "ui/ini_file.h"

#include <algorithm>

#include "base/text.h"
#include "platform/files.h"

namespace {

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return c - 'A' + 10;
}

}  // namespace

IniFile IniFile::Load(const std::string& path) {
  std::string content;
  if (!files::ReadAll(path, content)) content.clear();
  return IniFile(content);
}

bool IniFile::Save(const std::string& path) const {
  return files::WriteReplacing(path, Serialize());
}

bool IniFile::SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && text::UpperCase(a) == text::UpperCase(b);
}

void IniFile::Parse(const std::string& content) {
  sections_.clear();
  std::size_t pos = 0;
  if (content.compare(0, 3, "\xEF\xBB\xBF") == 0) pos = 3;
  Section* current = nullptr;
  while (pos <= content.size()) {
    std::size_t end = content.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = content.size();
    std::string line = text::Trim(content.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      std::size_t close = line.find(']');
      if (close == std::string::npos) continue;
      current = &SectionFor(text::Trim(line.substr(1, close - 1)));
      continue;
    }
    if (current == nullptr) continue;
    std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string key = text::Trim(line.substr(0, eq));
    if (key.empty()) continue;
    current->entries.push_back({key, text::Trim(line.substr(eq + 1))});
  }
}

std::string IniFile::Serialize() const {
  std::string out;
  for (const Section& s : sections_) {
    out += "[" + s.name + "]\r\n";
    for (const Entry& e : s.entries) out += e.key + "=" + e.value + "\r\n";
    out += "\r\n";
  }
  return out;
}

const IniFile::Section* IniFile::FindSection(const std::string& name) const {
  for (const Section& s : sections_) {
    if (SameName(s.name, name)) return &s;
  }
  return nullptr;
}

IniFile::Section& IniFile::SectionFor(const std::string& name) {
  for (Section& s : sections_) {
    if (SameName(s.name, name)) return s;
  }
  sections_.push_back({name, {}});
  return sections_.back();
}

bool IniFile::HasKey(const std::string& section, const std::string& key) const {
  const Section* s = FindSection(section);
  if (s == nullptr) return false;
  return std::any_of(s->entries.begin(), s->entries.end(),
                     [&](const Entry& e) { return SameName(e.key, key); });
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& def) const {
  const Section* s = FindSection(section);
  if (s == nullptr) return def;
  for (const Entry& e : s->entries) {
    if (SameName(e.key, key)) return e.value;
  }
  return def;
}

bool IniFile::ParseNumber(const std::string& t, std::int32_t& out) {
  if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
    if (t.size() > 10) return false;
    std::uint32_t v = 0;
    for (std::size_t i = 2; i < t.size(); ++i) {
      if (!IsHexDigit(t[i])) return false;
      v = v * 16 + static_cast<std::uint32_t>(HexValue(t[i]));
    }
    out = static_cast<std::int32_t>(v);
    return true;
  }
  auto v = text::ParseInt(t);
  if (!v) return false;
  out = *v;
  return true;
}

std::int32_t IniFile::ReadInteger(const std::string& section, const std::string& key,
                                  std::int32_t def) const {
  if (!HasKey(section, key)) return def;
  std::int32_t v = 0;
  return ParseNumber(ReadString(section, key, ""), v) ? v : def;
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) {
  Section& s = SectionFor(section);
  s.name = section;
  for (Entry& e : s.entries) {
    if (SameName(e.key, key)) {
      e.key = key;
      e.value = value;
      return;
    }
  }
  s.entries.push_back({key, value});
}

void IniFile::WriteInteger(const std::string& section, const std::string& key, std::int32_t value) {
  WriteString(section, key, text::IntToStr(value));
}

void IniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void IniFile::DeleteKey(const std::string& section, const std::string& key) {
  DeleteKeysIf(section, [&](const std::string& k) { return SameName(k, key); });
}

void IniFile::DeleteKeysIf(const std::string& section,
                           const std::function<bool(const std::string& key)>& pred) {
  for (Section& s : sections_) {
    if (!SameName(s.name, section)) continue;
    s.entries.erase(std::remove_if(s.entries.begin(), s.entries.end(),
                                   [&](const Entry& e) { return pred(e.key); }),
                    s.entries.end());
  }
}

std::vector<IniFile::Entry> IniFile::Entries(const std::string& section) const {
  const Section* s = FindSection(section);
  return s != nullptr ? s->entries : std::vector<Entry>{};
}

std::vector<std::string> IniFile::Sections() const {
  std::vector<std::string> names;
  for (const Section& s : sections_) names.push_back(s.name);
  return names;
}
