#include <gtest/gtest.h>

#include <cstring>

#include "base/text.h"
#include "plugin/interface.h"
#include "protocol/host_messages.h"
#include "tests/support.h"
#include "ui/config_dlg.h"
#ifndef _WIN32
#include "platform/posix/host_table.h"
#endif

namespace {

using namespace testing_support;

TEST(PluginRecord, HandsTheHostVersionDescriptionAndEntryPoints) {
  GeneralPurposePlugin* r = winampGetGeneralPurposePlugin();
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->version, 0x10);
  EXPECT_EQ(std::strncmp(r->description, "Velotam v1.0.2 (", 16), 0);
  EXPECT_EQ(r->description[std::strlen(r->description) - 1], ')');
  EXPECT_NE(r->init, nullptr);
  EXPECT_NE(r->config, nullptr);
  EXPECT_NE(r->quit, nullptr);
  EXPECT_EQ(r, winampGetGeneralPurposePlugin());
}

#ifndef _WIN32
TEST(PluginRecord, ConfigWithoutCentralObjectShowsTheFailureBox) {
  std::string shown;
  host::table::SetMessageBoxHandler(
      [&shown](const std::string& t, const std::string& c) { shown = "[" + c + "]" + t; });
  winampGetGeneralPurposePlugin()->config();
  host::table::SetMessageBoxHandler(nullptr);
  EXPECT_EQ(shown, "[]Initialisierung ist fehlgeschlagen!");
}
#endif

class Paths : public PluginTest {};

TEST_F(Paths, FollowTheHostIniFile) {
  struct Case {
    std::string hostIni;
    std::string plugin;
    std::string ini;
  } cases[] = {
      {"D:\\Player\\Winamp.ini", "D:\\Player\\", "D:\\Player\\Plugins\\gen_Velotam.ini"},
      {"D:\\Player\\winamp.ini", "D:\\Player\\winamp.ini",
       "D:\\Player\\winamp.iniPlugins\\gen_Velotam.ini"},
      {"", "", "Plugins\\gen_Velotam.ini"},
  };
  const std::string saved = player_->iniPath;
  for (const auto& c : cases) {
    player_->iniPath = c.hostIni;
    EXPECT_EQ(PluginInterface->GetPluginPath(), c.plugin);
    EXPECT_EQ(PluginInterface->GetIniPath(), c.ini);
  }
  player_->iniPath = "D:\\Player\\Winamp.ini";
  Config().LanguageFileName = " Velotam_Language.dat\t";
  EXPECT_EQ(PluginInterface->GetLanguagePath(), "D:\\Player\\Plugins\\Velotam_Language.dat");
  EXPECT_EQ(Config().LanguageFileName, " Velotam_Language.dat\t");
  player_->iniPath = saved;
}

TEST_F(Paths, ParentWindowIsReadAtEverySend) {
  FakePlayer other("E:\\Other\\");
  record_->hwndParent = other.Window();
  EXPECT_EQ(PluginInterface->GetPluginPath(), "E:\\Other\\");
  record_->hwndParent = player_->Window();
  EXPECT_EQ(PluginInterface->GetPluginPath(), folder_.Path());
}

TEST_F(Paths, NoAnswerFromTheHostGivesRelativePaths) {
  record_->hwndParent = host::kNoWindow;
  EXPECT_EQ(PluginInterface->GetIniPath(), "Plugins\\gen_Velotam.ini");
  record_->hwndParent = player_->Window();
}

TEST_F(Paths, AccessorsReadTheControlsAtEachCall) {
  Config().PortEdit.SetText(" 4801 ");
  EXPECT_EQ(PluginInterface->GetPort(), 4801);
  Config().PortEdit.SetText("x");
  EXPECT_THROW(PluginInterface->GetPort(), text::ConvertError);
  PluginInterface->SetAutostart(1);
  EXPECT_EQ(PluginInterface->GetAutostart(), 1);
  PluginInterface->SetAutostart(2);
  EXPECT_EQ(PluginInterface->GetAutostart(), 0);
  Config().StrgAllowCombo.SetSelected(-1);
  EXPECT_FALSE(PluginInterface->IsControlAllowed());
  Config().StrgAllowCombo.SetSelected(0);
  EXPECT_FALSE(PluginInterface->IsControlAllowed());
  Config().StrgAllowCombo.SetSelected(1);
  EXPECT_TRUE(PluginInterface->IsControlAllowed());
  Config().IPCombo.SetItems({"10.1.2.3", "bad"});
  Config().IPCombo.SetSelected(1);
  EXPECT_EQ(PluginInterface->GetBindAddress(), 0xFFFFFFFFu);
}

}  // namespace
