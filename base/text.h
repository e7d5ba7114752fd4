#pragma once
// Text helpers shared by every layer. Texts are 8-bit strings in the Windows ANSI code page
// (Latin-1 for the German texts).

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace text {

// Raised by the strict conversion on a text that is not a whole number.
class ConvertError : public std::runtime_error {
 public:
  explicit ConvertError(const std::string& what) : std::runtime_error(what) {}
};

// Removes blanks and control characters (bytes up to 0x20) at both ends.
std::string Trim(const std::string& s);
// a == b, in a time that does not depend on where the texts first differ (only on their
// lengths): for comparing passwords.
bool EqualInConstantTime(const std::string& a, const std::string& b);

// Strict conversion: an optional sign and decimal digits, nothing else, within 32 bits.
std::optional<std::int32_t> ParseInt(const std::string& s);
// As ParseInt, but raises ConvertError.
std::int32_t StrToInt(const std::string& s);

// True when the text is not empty and holds decimal digits only.
bool IsDigits(const std::string& s);

// Lenient conversion: skips leading white space, takes an optional sign, then decimal digits
// up to the first other character; no digits give 0. Saturates at the 32-bit limits.
std::int32_t LenientInt(const std::string& s);

std::string IntToStr(long long v);

// Upper-cases ASCII letters and the Latin-1 letters 0xE0-0xFE (except the division sign).
std::string UpperCase(const std::string& s);

// UTF-8 to Latin-1; characters outside Latin-1 become '?'. Invalid bytes are kept as they are.
std::string Utf8ToLatin1(const std::string& s);

// One value for a line of console output: backslash, CR and LF escaped as \\, \r, \n,
// then converted to UTF-8.
std::string EscapeLine(const std::string& s);
// EscapeLine(s) appended to out.
void AppendEscapedLine(std::string& out, const std::string& s);

}  // namespace text
