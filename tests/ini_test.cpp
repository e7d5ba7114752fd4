// The INI text in memory: what a read keeps, drops and returns, and the exact bytes written.
#include <gtest/gtest.h>

#include "ui/ini_file.h"

namespace {

TEST(IniFile, ReadKeepsKeysAndSectionsAndDropsEverythingElse) {
  // LF, CR LF and lone CR line ends; a byte-order mark; blanks and tabs around everything.
  const std::string text =
      "\xEF\xBB\xBF"
      "before=the first section\r\n"
      "; a comment\n"
      "  [ allgemein ]  \r\n"
      "\tport = 4801 \t\r"
      "no equals sign\n"
      "=no key\n"
      "  ; indented comment\n"
      "passwd=\n"
      "url=http://x/?a=b\n"
      "[eigenes]\n"
      "Wert=1\n"
      "[unclosed\n"
      "[leer]\n";
  IniFile ini(text);
  EXPECT_EQ(ini.Serialize(),
            "[allgemein]\r\nport=4801\r\npasswd=\r\nurl=http://x/?a=b\r\n\r\n"
            "[eigenes]\r\nWert=1\r\n\r\n"
            "[leer]\r\n\r\n");
  EXPECT_EQ(ini.ReadString("allgemein", "passwd", "default"), "");
  EXPECT_EQ(ini.ReadString("allgemein", "missing", "default"), "default");
  EXPECT_EQ(ini.ReadString("fehlt", "port", "default"), "default");
  // A byte-order mark before the first header does not hide it.
  EXPECT_EQ(IniFile("\xEF\xBB\xBF[a]\nk=1\n").ReadString("a", "k", ""), "1");
}

TEST(IniFile, NumbersAndBooleans) {
  struct Case {
    std::string value;
    std::int32_t integer;  // with default 7
    bool boolean;          // with default true
  } cases[] = {
      {"12", 12, true},         {"-5", -5, true},   {"0", 0, false},          {"2", 2, true},
      {"0x1", 1, true},         {"0X1f", 31, true}, {"0xFFFFFFFF", -1, true}, {"0x", 7, true},
      {"0x123456789", 7, true}, {"yes", 7, true},   {"12a", 7, true},         {"", 7, true},
      {"99999999999", 7, true}, {"+3", 3, true},    {"1.5", 7, true},
  };
  for (const auto& c : cases) {
    IniFile ini("[s]\r\nk=" + c.value + "\r\n");
    EXPECT_EQ(ini.ReadInteger("s", "k", 7), c.integer) << c.value;
    EXPECT_EQ(ini.ReadBool("s", "k", true), c.boolean) << c.value;
  }
  IniFile ini("[s]\r\nk=yes\r\n");
  EXPECT_FALSE(ini.ReadBool("s", "k", false));
  EXPECT_FALSE(ini.ReadBool("s", "missing", false));
}

TEST(IniFile, NamesMatchWithoutCaseAndWritesUseTheWritersSpelling) {
  IniFile ini(
      "[Allgemein]\nIP=10.0.0.1\nPort=1\nPORT=2\nEigener=x\n"
      "[andere]\nk=v\n"
      "[ALLGEMEIN]\npasswd=geheim\n");
  EXPECT_EQ(ini.ReadString("allgemein", "ip", ""), "10.0.0.1");
  EXPECT_EQ(ini.ReadString("allgemein", "port", ""), "1");  // the first copy counts
  EXPECT_EQ(ini.ReadString("allgemein", "passwd", ""), "geheim");
  ini.WriteString("allgemein", "ip", "127.0.0.1");
  EXPECT_EQ(ini.Serialize(),
            "[allgemein]\r\nip=127.0.0.1\r\nPort=1\r\nPORT=2\r\nEigener=x\r\npasswd=geheim\r\n\r\n"
            "[andere]\r\nk=v\r\n\r\n");
  ini.DeleteKey("allgemein", "port");
  EXPECT_FALSE(ini.HasKey("allgemein", "Port"));
  EXPECT_EQ(ini.ReadString("andere", "K", ""), "v");
}

TEST(IniFile, NewKeysGoToTheEndOfTheirSectionAndNewSectionsToTheEnd) {
  IniFile ini("[b]\r\nx=1\r\n");
  ini.WriteString("a", "k1", "v");
  ini.WriteInteger("b", "y", -1);
  ini.WriteBool("a", "k2", true);
  ini.WriteBool("c", "k", false);
  ini.WriteString("b", "x", "2");
  EXPECT_EQ(ini.Serialize(),
            "[b]\r\nx=2\r\ny=-1\r\n\r\n[a]\r\nk1=v\r\nk2=1\r\n\r\n[c]\r\nk=0\r\n\r\n");
  EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"b", "a", "c"}));
}

}  // namespace
