#pragma once
// The plug-in loaded through its record in front of the stand-in player's windows, serving on an
// ephemeral loopback port: header off, control allowed, password "pw". The player's clock is
// the test's (now_).

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>

#include "plugin/interface.h"
#include "server/server_socket.h"
#include "sim/player.h"
#include "sim/player_windows.h"
#include "tests/support.h"
#include "ui/config_dlg.h"

namespace testing_support {

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    windows_ = std::make_unique<sim::PlayerWindows>(
        host_, player_, sim::PlayerWindows::Options{true, [this] { return now_.load(); }});
    record_ = winampGetGeneralPurposePlugin();
    record_->hwndParent = windows_->Main();
    ASSERT_EQ(record_->init(), 0);
    Config().IPCombo.SetItems({"127.0.0.1"});
    Config().IPCombo.SetSelected(0);
    Config().PortEdit.SetText("0");
    Config().TimeOutEdit.SetText("2000");
    Config().PasswdEdit.SetText("pw");
    Config().StrgAllowCombo.SetSelected(1);
    Config().AdrListBox.Clear();
    Config().ErlaubeAdrRadioBtn.SetChecked(true);
    Config().httpheadChkBox.SetChecked(false);
    Config().DienstAutoStartChkBox.SetChecked(false);
    Config().StartBtnClick();
    port_ = Config().SrvSocket->BoundPort();
    ASSERT_NE(port_, 0);
  }
  void TearDown() override {
    record_->quit();
    record_->hwndParent = host::kNoWindow;
  }
  std::string Ask(const std::string& query) {
    return Request(port_, "GET /" + query + " HTTP/1.0\r\n\r\n");
  }
  sim::PlayerState State() { return player_.State(now_.load()); }

  TempFolder folder_;
  std::atomic<std::int64_t> now_{1000};
  sim::Player player_{{{"C:\\a\\one.mp3", "One", 100},
                       {"C:\\a\\two.mp3", "Two", 200},
                       {"x/three.ogg", "Three", 300}},
                      folder_.Path() + "Winamp.ini"};
  sim::WindowHost host_;
  std::unique_ptr<sim::PlayerWindows> windows_;
  GeneralPurposePlugin* record_ = nullptr;
  std::uint16_t port_ = 0;
};

}  // namespace testing_support
