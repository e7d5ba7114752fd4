// The M3U reader: plain and extended lists, both folder separators, bytes kept as written.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/m3u.h"

namespace {

struct Expected {
  std::string file;
  std::string title;
  int length;
};

void ExpectEntries(const std::string& bytes, const std::vector<Expected>& expected) {
  std::vector<sim::Entry> got = sim::ReadM3u(bytes);
  ASSERT_EQ(got.size(), expected.size()) << bytes;
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].file, expected[i].file) << i;
    EXPECT_EQ(got[i].title, expected[i].title) << i;
    EXPECT_EQ(got[i].length, expected[i].length) << i;
  }
}

TEST(M3u, PlainListTakesTitlesFromFileNames) {
  ExpectEntries(
      "C:\\Music\\One.mp3\n"
      "../relative/two.ogg\r\n"
      "\n"
      "   \r\n"
      "# a comment\n"
      "mixed\\folders/Three Song.flac\n"
      "http://radio.example/stream\n"
      "no-extension\n"
      "  spaced name.mp3  \n"
      "last-without-line-end.wav",
      {
          {"C:\\Music\\One.mp3", "One", -1},
          {"../relative/two.ogg", "two", -1},
          {"mixed\\folders/Three Song.flac", "Three Song", -1},
          {"http://radio.example/stream", "stream", -1},
          {"no-extension", "no-extension", -1},
          {"  spaced name.mp3  ", "spaced name", -1},
          {"last-without-line-end.wav", "last-without-line-end", -1},
      });
}

TEST(M3u, ExtendedListGivesLengthsAndTitles) {
  ExpectEntries(
      "#EXTM3U\r\n"
      "#EXTINF:215,Demo Artist - First, with comma\r\n"
      "C:\\Music\\01.mp3\r\n"
      "#EXTINF:-1,Live Stream\n"
      "# a comment between keeps the information\n"
      "http://radio.example/live\n"
      "D:\\plain\\after.mp3\n"  // the information belongs to one entry only
      "#EXTINF:42\n"            // no title: the file name
      "x/y/z.mp3\n"
      "#EXTINF:180 tvg-id=\"a\",Attributed\n"
      "attr.mp3\n"
      "#EXTINF:,Only Title\n"
      "t.mp3\n"
      "#EXTINF:99,Dangling\n",  // no entry follows
      {
          {"C:\\Music\\01.mp3", "Demo Artist - First, with comma", 215},
          {"http://radio.example/live", "Live Stream", -1},
          {"D:\\plain\\after.mp3", "after", -1},
          {"x/y/z.mp3", "z", 42},
          {"attr.mp3", "Attributed", 180},
          {"t.mp3", "Only Title", -1},
      });
}

TEST(M3u, BytesAreKeptAsWritten) {
  // Latin-1 and UTF-8 bytes alike pass unchanged; only a leading byte order mark is dropped.
  ExpectEntries(
      "\xEF\xBB\xBF#EXTM3U\n#EXTINF:10,M\xFC"
      "ller\nC:\\M\xFC"
      "sik\\\xC3\xA9t\xE9.mp3\n",
      {{"C:\\M\xFC"
        "sik\\\xC3\xA9t\xE9.mp3",
        "M\xFC"
        "ller",
        10}});
  ExpectEntries("", {});
  ExpectEntries("#EXTM3U\n", {});
}

}  // namespace
