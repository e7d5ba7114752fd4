#include <gtest/gtest.h>

#include <string>

#include "bench/answer.h"

namespace {

const std::string kHead =
    "HTTP/1.0 200 OK\nDate: Wed, 09 Dec 2026 06:11:48 GMT\nServer: x\nContent-Type: text/plain\n";

struct Case {
  const char* what;
  std::string reply;
  bool complete;
};

TEST(BenchAnswer, CountsOnlyWhatTheServerAnnouncedInFull) {
  const Case cases[] = {
      {"header and body", kHead + "Content-Length: 3\n\n200\n", true},
      {"length header first", "HTTP/1.0 200 OK\nContent-Length: 4\nServer: x\n\nNULL\n", true},
      {"empty text", kHead + "Content-Length: 0\n\n\n", true},
      {"no header", "200\n", true},
      {"body cut short", kHead + "Content-Length: 3\n\n20\n", false},
      {"body without its line feed", kHead + "Content-Length: 3\n\n200", false},
      {"body longer than announced", kHead + "Content-Length: 3\n\n2000\n", false},
      {"header cut off", kHead + "Content-Length: 3\n", false},
      {"no length", kHead + "\n200\n", false},
      {"length not a number", kHead + "Content-Length: x\n\n200\n", false},
      {"length with trailing text", kHead + "Content-Length: 3x\n\n200\n", false},
      {"empty", "", false},
      {"no header, no line feed", "200", false},
  };
  for (const Case& c : cases) EXPECT_EQ(bench::IsCompleteAnswer(c.reply), c.complete) << c.what;
}

}  // namespace
