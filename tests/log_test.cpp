#include <gtest/gtest.h>

#include <thread>

#include "plugin/interface.h"
#include "tests/support.h"
#include "ui/config_dlg.h"
#include "ui/console/console_output.h"
#include "ui/console/log_printer.h"

namespace {

using Strings = std::vector<std::string>;

class ActivityLog : public testing_support::PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    ConfigDlg->Out.Clear();
  }
};

TEST_F(ActivityLog, EachCallIsOneEntryWithThePrefix) {
  PluginInterface->WriteLog("");
  PluginInterface->WriteLog("Server: doppelt");
  PluginInterface->WriteLog("Shutdown: closesocket failed.\n");
  PluginInterface->WriteLog("a\r\nb");
  EXPECT_EQ(ConfigDlg->Out.Items(),
            (Strings{"Server: ", "Server: Server: doppelt",
                     "Server: Shutdown: closesocket failed.\n", "Server: a\r\nb"}));
}

TEST_F(ActivityLog, SwitchIsReadAtEachCall) {
  ConfigDlg->LoggingChkBox.SetChecked(false);
  PluginInterface->WriteLog("dropped");
  Interface::Log("FEHLER in (X::Y)");
  EXPECT_EQ(ConfigDlg->Out.Count(), 0);
  ConfigDlg->LoggingChkBox.SetChecked(true);
  PluginInterface->WriteLog("kept");
  EXPECT_EQ(ConfigDlg->Out.Items(), Strings{"Server: kept"});
}

TEST_F(ActivityLog, ClearingLosesOnlyWhatWasWritten) {
  PluginInterface->WriteLog("old");
  ConfigDlg->ProtLoeschenBtnClick();
  PluginInterface->WriteLog("new");
  EXPECT_EQ(ConfigDlg->Out.Items(), Strings{"Server: new"});
}

TEST_F(ActivityLog, KeepsTheNewestEntriesOnly) {
  const int extra = 5;
  for (int i = 0; i < static_cast<int>(TConfigDlg::kMaxLogEntries) + extra; ++i) {
    PluginInterface->WriteLog(std::to_string(i));
  }
  EXPECT_EQ(ConfigDlg->Out.Count(), static_cast<int>(TConfigDlg::kMaxLogEntries));
  EXPECT_EQ(ConfigDlg->Out.Item(0), "Server: " + std::to_string(extra));
}

TEST_F(ActivityLog, ConcurrentWritersNeverMixOrReorderTheirLines) {
  constexpr int kThreads = 4, kLines = 200;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < kLines; ++i) Interface::Log(std::to_string(t) + ":" + std::to_string(i));
    });
  }
  for (auto& th : threads) th.join();
  Strings lines = ConfigDlg->Out.Items();
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kThreads * kLines));
  std::vector<int> next(kThreads, 0);
  for (const auto& l : lines) {
    int t = l[8] - '0';
    EXPECT_EQ(l, "Server: " + std::to_string(t) + ":" + std::to_string(next[t]++));
  }
}

}  // namespace

namespace {

TEST_F(ActivityLog, NativeFacePrintsEachNewEntryAsOneEscapedLine) {
  std::vector<std::string> printed;
  console::SetLineSink([&printed](const std::string& l) { printed.push_back(l); });
  {
    console::LogPrinter printer(ConfigDlg->Out);
    PluginInterface->WriteLog("a\\b\r\nc\xFC");
    ConfigDlg->Out.Clear();  // clearing prints nothing
  }
  PluginInterface->WriteLog("after");  // no printer any more
  console::SetLineSink(nullptr);
  EXPECT_EQ(printed, Strings{"LOG Server: a\\\\b\\r\\nc\xC3\xBC"});
}

}  // namespace
