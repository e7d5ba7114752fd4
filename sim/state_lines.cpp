#include "sim/state_lines.h"

#include "base/text.h"

namespace sim {

namespace {

std::string StateLine(const std::string& key, const std::string& value) {
  return "STATE " + key + "=" + text::EscapeLine(value);
}

std::string StateLine(const std::string& key, long long value) {
  return StateLine(key, std::to_string(value));
}

}  // namespace

std::vector<std::string> StateLines(const PlayerState& s, bool withShoutcast) {
  std::vector<std::string> lines = {
      StateLine("status", s.status),
      StateLine("volume", s.volume),
      StateLine("position", s.position),
      StateLine("outputtime", s.outputTime),
      StateLine("length", static_cast<long long>(s.entries.size())),
  };
  for (std::size_t i = 0; i < s.entries.size(); ++i) {
    const std::string key = "entry." + std::to_string(i);
    lines.push_back(StateLine(key + ".file", s.entries[i].file));
    lines.push_back(StateLine(key + ".title", s.entries[i].title));
  }
  for (std::size_t band = 0; band < s.eq.size(); ++band) {
    lines.push_back(StateLine("eq." + std::to_string(band), s.eq[band]));
  }
  lines.push_back(StateLine("shuffle", s.shuffle));
  lines.push_back(StateLine("repeat", s.repeat));
  lines.push_back(StateLine("folder", s.folder));
  lines.push_back(StateLine("restarts", s.restarts));
  if (withShoutcast) {
    lines.push_back(StateLine("shoutcast.caption", s.shoutcastCaption));
    lines.push_back(StateLine("shoutcast.status", s.shoutcastStatus));
  }
  lines.push_back("STATE end");
  return lines;
}

std::vector<std::string> LogDumpLines(const std::vector<std::string>& entries) {
  std::vector<std::string> lines;
  lines.reserve(entries.size() + 1);
  for (const std::string& e : entries) lines.push_back("LOGDUMP " + text::EscapeLine(e));
  lines.push_back("LOGDUMP end");
  return lines;
}

}  // namespace sim
