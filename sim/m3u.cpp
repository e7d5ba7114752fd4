#include "sim/m3u.h"

#include <optional>

#include "base/text.h"

namespace sim {

namespace {

struct ExtInf {
  int length = -1;
  std::string title;
};

ExtInf ParseExtInf(const std::string& rest) {
  ExtInf info;
  std::size_t comma = rest.find(',');
  std::string length = rest.substr(0, comma);
  // Lengths may be followed by attributes ("-1 tvg-id=..."); only the leading number counts.
  std::size_t digit = length.find_first_of("0123456789");
  if (digit != std::string::npos) info.length = text::LenientInt(length);
  if (comma != std::string::npos) info.title = rest.substr(comma + 1);
  return info;
}

}  // namespace

std::vector<Entry> ReadM3u(const std::string& bytes) {
  static const std::string kBom = "\xEF\xBB\xBF";
  static const std::string kExtInf = "#EXTINF:";
  std::vector<Entry> entries;
  std::optional<ExtInf> pending;
  std::size_t at = bytes.compare(0, kBom.size(), kBom) == 0 ? kBom.size() : 0;
  while (at < bytes.size()) {
    std::size_t end = bytes.find('\n', at);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (text::Trim(line).empty()) continue;
    if (line.compare(0, kExtInf.size(), kExtInf) == 0) {
      pending = ParseExtInf(line.substr(kExtInf.size()));
      continue;
    }
    if (line[0] == '#') continue;
    Entry e{line, TitleFromFile(line), -1};
    if (pending) {
      e.length = pending->length;
      if (!pending->title.empty()) e.title = pending->title;
      pending.reset();
    }
    entries.push_back(std::move(e));
  }
  return entries;
}

}  // namespace sim
