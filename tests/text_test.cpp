#include <gtest/gtest.h>

#include "base/text.h"

namespace {

TEST(Text, TrimRemovesBlanksAndControlCharactersAtBothEnds) {
  EXPECT_EQ(text::Trim(" \t\r\n a b \x01\x1f"), "a b");
  EXPECT_EQ(text::Trim("   "), "");
  EXPECT_EQ(text::Trim("\xE4 "), "\xE4");  // Latin-1 letters are not blanks
}

TEST(Text, StrictNumbers) {
  struct Case {
    const char* in;
    bool ok;
    int value;
  } cases[] = {
      {"4800", true, 4800},
      {"-1", true, -1},
      {"+7", true, 7},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, -2147483647 - 1},
      {"2147483648", false, 0},
      {"", false, 0},
      {"-", false, 0},
      {"12a", false, 0},
      {" 5", false, 0},
      {"0x10", false, 0},
  };
  for (const auto& c : cases) {
    auto v = text::ParseInt(c.in);
    EXPECT_EQ(v.has_value(), c.ok) << c.in;
    if (c.ok && v) {
      EXPECT_EQ(*v, c.value) << c.in;
    }
  }
  EXPECT_THROW(text::StrToInt("x"), text::ConvertError);
}

TEST(Text, LenientNumbers) {
  struct Case {
    const char* in;
    int value;
  } cases[] = {{"3abc", 3}, {"  -12x", -12}, {"", 0},
               {"abc", 0},  {"+", 0},        {"99999999999", 2147483647}};
  for (const auto& c : cases) EXPECT_EQ(text::LenientInt(c.in), c.value) << c.in;
}

TEST(Text, UpperCaseCoversLatin1Letters) {
  EXPECT_EQ(text::UpperCase("play\xE4\xF7\xFF"), "PLAY\xC4\xF7\xFF");
}

TEST(Text, ConsoleLinesAreEscapedAndUtf8) {
  EXPECT_EQ(text::EscapeLine("a\\b\r\nc\xFC"), "a\\\\b\\r\\nc\xC3\xBC");
  EXPECT_EQ(text::Utf8ToLatin1("\xC3\xBC\xE2\x82\xAC"
                               "a\xFF"),
            "\xFC?a\xFF");
}

}  // namespace
