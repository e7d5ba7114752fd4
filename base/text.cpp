#include "base/text.h"

#include <algorithm>
#include <climits>

namespace text {

namespace {
bool IsTrimmed(unsigned char c) {
  return c <= 0x20;
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
}  // namespace

std::string Trim(const std::string& s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && IsTrimmed(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && IsTrimmed(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

std::optional<std::int32_t> ParseInt(const std::string& s) {
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  if (i == s.size()) return std::nullopt;
  long long v = 0;
  for (; i < s.size(); ++i) {
    if (!IsDigit(s[i])) return std::nullopt;
    v = v * 10 + (s[i] - '0');
    if (v > static_cast<long long>(INT32_MAX) + 1) return std::nullopt;
  }
  if (negative) v = -v;
  if (v > INT32_MAX || v < INT32_MIN) return std::nullopt;
  return static_cast<std::int32_t>(v);
}

bool IsDigits(const std::string& s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), IsDigit);
}

std::int32_t StrToInt(const std::string& s) {
  auto v = ParseInt(s);
  if (!v) throw ConvertError("'" + s + "' ist kein gueltiger Integerwert");
  return *v;
}

std::int32_t LenientInt(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  long long v = 0;
  for (; i < s.size() && IsDigit(s[i]); ++i) {
    if (v <= static_cast<long long>(INT32_MAX) + 1) v = v * 10 + (s[i] - '0');
  }
  if (negative) v = -v;
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(v);
}

std::string IntToStr(long long v) {
  return std::to_string(v);
}

std::string UpperCase(const std::string& s) {
  std::string r = s;
  for (char& ch : r) {
    auto c = static_cast<unsigned char>(ch);
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
      ch = static_cast<char>(c - 0x20);
    }
  }
  return r;
}

std::string Utf8ToLatin1(const std::string& s) {
  std::string r;
  r.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    auto c = static_cast<unsigned char>(s[i]);
    int extra = (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : 0;
    bool ok = extra > 0 && i + extra < s.size();
    unsigned long cp = c & (0x3Fu >> extra);
    for (int k = 1; ok && k <= extra; ++k) {
      auto cc = static_cast<unsigned char>(s[i + k]);
      ok = (cc & 0xC0) == 0x80;
      cp = (cp << 6) | (cc & 0x3F);
    }
    if (!ok) {  // ASCII, or a byte that starts no valid sequence: kept as it is
      r += s[i++];
      continue;
    }
    r += cp <= 0xFF ? static_cast<char>(cp) : '?';
    i += extra + 1;
  }
  return r;
}

void AppendEscapedLine(std::string& out, const std::string& s) {
  // Runs of printable ASCII, the bulk of every line, are copied in one go.
  std::size_t run = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80 && c != '\\' && c != '\r' && c != '\n') continue;
    out.append(s, run, i - run);
    run = i + 1;
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  out.append(s, run, s.size() - run);
}

std::string EscapeLine(const std::string& s) {
  std::string r;
  r.reserve(s.size() + 8);
  AppendEscapedLine(r, s);
  return r;
}

bool EqualInConstantTime(const std::string& a, const std::string& b) {
  const std::size_t n = a.size() > b.size() ? a.size() : b.size();
  unsigned diff = a.size() == b.size() ? 0u : 1u;
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char x = i < a.size() ? static_cast<unsigned char>(a[i]) : 0;
    const unsigned char y = i < b.size() ? static_cast<unsigned char>(b[i]) : 0;
    diff |= static_cast<unsigned>(x ^ y);
  }
  return diff == 0;
}

}  // namespace text
