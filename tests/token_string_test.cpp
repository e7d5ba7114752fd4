#include <gtest/gtest.h>

#include <vector>

#include "protocol/objekt_liste.h"
#include "protocol/token_string.h"

namespace {

std::vector<std::string> Tokens(const std::string& request) {
  TokenString t;
  t.Reset();
  t.Parse(request);
  std::vector<std::string> out;
  for (int i = 1; i <= t.Count(); ++i) out.push_back(t.GetToken(i));
  return out;
}

TEST(TokenString, SplitsCommandAndParameters) {
  struct Case {
    std::string request;
    std::vector<std::string> tokens;
  } cases[] = {
      {"GET /PLAY?a=1&b=2 HTTP/1.0", {"PLAY", "a=1", "b=2 "}},
      {"GET /GETVOLUME HTTP/1.0", {"", "GETVOLUME "}},
      {"GET /GETVOLUME? HTTP/1.0", {"GETVOLUME", " "}},
      {"", {"", ""}},
      {"GET", {"", ""}},
      {"GET /CMD?a=1&&b=2 HTTP/1.0", {"CMD", "a=1", "", "b=2 "}},
      {"GET /CMD?a=1\r\n", {"CMD", "a=1\r\n"}},
      {"XXXXXCMD?v=%41+b HTTP/1.1\r\nHost: x\r\n\r\n", {"CMD", "v=%41+b "}},
      {"GET /A?b=1 HTTP/1.0 and HTTP/1.1", {"A", "b=1 "}},
  };
  for (const auto& c : cases) EXPECT_EQ(Tokens(c.request), c.tokens) << c.request;
}

TEST(TokenString, ResetEmptiesAndParseAppends) {
  TokenString t;
  t.Parse("GET /A?x=1");
  t.Parse("GET /B?y=2");
  EXPECT_EQ(t.Count(), 4);
  t.Reset();
  EXPECT_EQ(t.Count(), 0);
  EXPECT_EQ(t.GetToken(1), "");
}

struct RecordedLog : LogSink {
  void WriteLog(const std::string& line) override { lines.push_back(line); }
  std::vector<std::string> lines;
};

class TokenLookup : public ::testing::Test {
 protected:
  RecordedLog log_;
};

TEST_F(TokenLookup, FindsFirstTokenContainingTheKey) {
  struct Case {
    std::string request;
    std::string name;
    std::string value;
  } cases[] = {
      {"GET /CMD?myindex=4", "index", "4"},
      {"GET /CMD?a=b=c", "a", "b=c"},
      {"GET /CMD?a=1&a=2", "a", "1"},
      {"GET /CMD?xp=1&p=2", "p", "1"},
      {"GET /CMD?p=secret HTTP/1.0", "p", "secret "},
      {"GET /CMD?a=", "a", ""},
      {"GET /CMD?v=%41", "v", "%41"},
      {"GET /p=1?a=2", "p", "1"},  // the command token is searched too
  };
  for (const auto& c : cases) {
    TokenString t(&log_);
    t.Parse(c.request);
    EXPECT_EQ(t.GetParameter(c.name, true), c.value) << c.request;
  }
  EXPECT_TRUE(log_.lines.empty());
}

TEST_F(TokenLookup, MissingParameterIsEmptyAndLoggedOnlyWhenAsked) {
  TokenString t(&log_);
  EXPECT_EQ(t.GetParameter("p", true), "");  // nothing parsed: no line
  t.Parse("GET /CMD?a&b=1");
  EXPECT_EQ(t.GetParameter("a", false), "");
  EXPECT_EQ(t.GetParameter("A", true), "");  // names are case-sensitive
  EXPECT_EQ(log_.lines, std::vector<std::string>{"Parameter (A) nicht gefunden"});
}

TEST(ObjektListe, FindsByIdAndStartsAgainAfterClear) {
  ObjektListe<std::string> list;
  EXPECT_EQ(list.Find(1), nullptr);
  EXPECT_EQ(list.Add("a"), "a");
  list.Add("b");
  EXPECT_EQ(list.Count(), 2);
  ASSERT_NE(list.Find(2), nullptr);
  EXPECT_EQ(*list.Find(2), "b");
  EXPECT_EQ(list.Find(3), nullptr);
  EXPECT_EQ(list.Find(0), nullptr);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Find(1), nullptr);
  list.Add("c");
  ASSERT_NE(list.Find(1), nullptr);
  EXPECT_EQ(*list.Find(1), "c");  // ids start again at 1 after Clear
}

}  // namespace
