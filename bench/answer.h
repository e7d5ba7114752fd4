#pragma once
// What the load generator counts as a complete answer: the server closed the connection after
// everything it announced. With a header: the blank line, a Content-Length, and a body of that
// many bytes plus the closing line feed. Without one: a non-empty text ending in a line feed.

#include <charconv>
#include <string_view>

namespace bench {

inline bool ParseContentLength(std::string_view header, size_t& length) {
  constexpr std::string_view kName = "\nContent-Length:";
  size_t at = header.find(kName);
  if (at == std::string_view::npos) return false;
  std::string_view rest = header.substr(at + kName.size());
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), length);
  return ec == std::errc() && end != rest.data() &&
         (end == rest.data() + rest.size() || *end == '\n' || *end == '\r');
}

inline bool IsCompleteAnswer(std::string_view reply) {
  if (reply.empty() || reply.back() != '\n') return false;
  if (!reply.starts_with("HTTP/")) return true;
  size_t end = reply.find("\n\n");
  if (end == std::string_view::npos) return false;
  size_t length = 0;
  if (!ParseContentLength(reply.substr(0, end + 1), length)) return false;
  return reply.size() - (end + 2) == length + 1;
}

}  // namespace bench
