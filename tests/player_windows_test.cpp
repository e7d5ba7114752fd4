// The player's windows answering each message through the host-windows seam, as the plug-in
// reaches them.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "plugin/interface.h"
#include "plugin/record.h"
#include "protocol/host_messages.h"
#include "sim/player.h"
#include "sim/player_windows.h"
#include "sim/window_host.h"
#include "tests/support.h"

namespace {

using namespace hostmsg;

std::vector<sim::Entry> Three() {
  return {
      {"C:\\a\\one.mp3", "One", 100}, {"C:\\a\\two.mp3", "Two", 200}, {"x/three", "Three", 300}};
}

std::uintptr_t Data(std::int32_t v) {
  return static_cast<std::uintptr_t>(static_cast<std::intptr_t>(v));
}

std::string TextAt(std::intptr_t address) {
  return address == 0 ? std::string("<none>") : std::string(reinterpret_cast<const char*>(address));
}

class PlayerWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    windows_ = std::make_unique<sim::PlayerWindows>(
        host_, player_, sim::PlayerWindows::Options{true, [this] { return now_.load(); }});
  }

  std::intptr_t Ipc(std::int32_t request, std::int32_t data = 0) {
    return host::Send(windows_->Main(), WM_HOST_USER, Data(data), request);
  }
  void Press(std::int32_t id) { host::Send(windows_->Main(), WM_COMMAND, Data(id), 0); }
  std::string Title() { return host::GetText(windows_->Main(), kTitleBuffer); }

  std::atomic<std::int64_t> now_{0};
  sim::Player player_{Three(), "D:\\Player\\Winamp.ini"};
  sim::WindowHost host_;
  std::unique_ptr<sim::PlayerWindows> windows_;
};

TEST_F(PlayerWindowsTest, MainWindowAnswersUserMessages) {
  struct Case {
    std::int32_t request;
    std::int32_t data;
    std::intptr_t expected;
  } cases[] = {
      {IPC_GETVERSION, 0, 0x5666},
      {IPC_SETVOLUME, kVolumeQuery, sim::Player::kInitialVolume},  // a negative data word
      {IPC_SETVOLUME, 17, 17},
      {IPC_SETVOLUME, kVolumeQuery, 17},
      {IPC_GETLISTLENGTH, 0, 3},
      {IPC_SETPLAYLISTPOS, 2, 2},
      {IPC_GETLISTPOS, 0, 2},
      {IPC_ISPLAYING, 0, 0},
      {IPC_JUMPTOTIME, 10, -1},
      {IPC_GETOUTPUTTIME, 1, 300},
      {IPC_GETEQDATA, 0, sim::Player::kEqMiddle},
      {IPC_SETEQDATA, 50, 50},
      {IPC_GETEQDATA, 0, 50},
      {IPC_INETAVAILABLE, 0, 1},
      {IPC_SET_SHUFFLE, 1, 1},
      {IPC_GET_SHUFFLE, 0, 1},
      {IPC_GET_REPEAT, 0, 0},
      {IPC_RESTARTWINAMP, 0, 1},
      {IPC_GETINFO, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Ipc(c.request, c.data), c.expected) << "request " << c.request;
  }
  EXPECT_EQ(TextAt(Ipc(IPC_GETPLAYLISTFILE, 1)), "C:\\a\\two.mp3");
  EXPECT_EQ(TextAt(Ipc(IPC_GETPLAYLISTTITLE, 2)), "Three");
  EXPECT_EQ(TextAt(Ipc(IPC_GETPLAYLISTTITLE, 3)), "<none>");
  EXPECT_EQ(TextAt(Ipc(IPC_GETINIFILE)), "D:\\Player\\Winamp.ini");
  EXPECT_EQ(player_.State(0).restarts, 1);
}

TEST_F(PlayerWindowsTest, CopyDataAppendsFilesAndChangesFolder) {
  EXPECT_EQ(host::SendCopyData(windows_->Main(), IPC_PLAYFILE, "E:\\new/Track 9.mp3 "), 1);
  EXPECT_EQ(Ipc(IPC_GETLISTLENGTH), 4);
  EXPECT_EQ(TextAt(Ipc(IPC_GETPLAYLISTFILE, 3)), "E:\\new/Track 9.mp3 ");
  EXPECT_EQ(TextAt(Ipc(IPC_GETPLAYLISTTITLE, 3)), "Track 9");
  EXPECT_EQ(host::SendCopyData(windows_->Main(), IPC_PLAYFILE, ""), 0);
  EXPECT_EQ(host::SendCopyData(windows_->Main(), IPC_CHDIR, "F:\\Other Music"), 1);
  EXPECT_EQ(player_.State(0).folder, "F:\\Other Music");
  EXPECT_EQ(host::SendCopyData(windows_->Main(), 102, "x"), 0);

  // A record without a closing zero byte is read up to its byte count only.
  const char bytes[] = {'a', 'b', 'c', 'd'};
  host::CopyData cds{static_cast<std::uintptr_t>(IPC_CHDIR), 3, bytes};
  EXPECT_EQ(host::Send(windows_->Main(), WM_COPYDATA, 0, reinterpret_cast<std::intptr_t>(&cds)), 1);
  EXPECT_EQ(player_.State(0).folder, "abc");
  EXPECT_EQ(host::Send(windows_->Main(), WM_COPYDATA, 0, 0), 0);
  EXPECT_EQ(Ipc(IPC_GETLISTLENGTH), 4);
}

TEST_F(PlayerWindowsTest, ButtonsAndTheWindowTitle) {
  EXPECT_EQ(Title(), "1. One - Winamp [Stopped]");
  Press(ID_PLAY);
  EXPECT_EQ(Title(), "1. One - Winamp");
  now_ = 2500;
  EXPECT_EQ(Ipc(IPC_GETOUTPUTTIME, 0), 2500);
  // The identifier is the low word; a notification code in the high word does not matter.
  host::Send(windows_->Main(), WM_COMMAND, (1u << 16) | ID_NEXT, 0);
  EXPECT_EQ(Title(), "2. Two - Winamp");
  Press(ID_PAUSE);
  EXPECT_EQ(Title(), "2. Two - Winamp [Paused]");
  Press(ID_VOLUMEUP);
  EXPECT_EQ(Ipc(IPC_SETVOLUME, kVolumeQuery), sim::Player::kInitialVolume + 10);
  Press(ID_STOP);
  EXPECT_EQ(Title(), "2. Two - Winamp [Stopped]");
  EXPECT_EQ(host::GetText(windows_->Main(), 6), "2. Tw");
  // The track ends by itself: the next one plays.
  Press(ID_PLAY);
  now_ = 2500 + 200000;
  EXPECT_EQ(Title(), "3. Three - Winamp");
}

TEST_F(PlayerWindowsTest, PlaylistWindowDeletesByIndex) {
  host::Window playlist = host::FindByClass(kPlaylistClass);
  ASSERT_NE(playlist, host::kNoWindow);
  EXPECT_EQ(playlist, windows_->Playlist());
  EXPECT_EQ(host::Send(playlist, WM_HOST_USER, PLAYLIST_DELETE_ENTRY, 3), 0);
  EXPECT_EQ(host::Send(playlist, WM_HOST_USER, PLAYLIST_DELETE_ENTRY, 1), 1);
  EXPECT_EQ(host::Send(playlist, WM_HOST_USER, 105, 0), 0);  // no other request deletes
  EXPECT_EQ(Ipc(IPC_GETLISTLENGTH), 2);
  EXPECT_EQ(TextAt(Ipc(IPC_GETPLAYLISTTITLE, 1)), "Three");
  EXPECT_EQ(Ipc(IPC_DELETE), 1);
  EXPECT_EQ(Ipc(IPC_GETLISTLENGTH), 0);
  EXPECT_EQ(Title(), "Winamp [Stopped]");
}

TEST_F(PlayerWindowsTest, ShoutcastWindowConnectButtonTogglesItsCaption) {
  host::Window source = host::FindByTitle(kShoutcastTitle);
  ASSERT_NE(source, host::kNoWindow);
  EXPECT_EQ(source, windows_->Shoutcast());
  EXPECT_EQ(host::GetItemText(source, ID_SHOUTCAST_CONNECT, kShoutcastBuffer), "Connect");
  EXPECT_EQ(host::GetItemText(source, ID_SHOUTCAST_STATUS, kShoutcastBuffer), "Not connected");
  host::Send(source, WM_COMMAND, ID_SHOUTCAST_CONNECT, 0);
  EXPECT_EQ(host::GetItemText(source, ID_SHOUTCAST_CONNECT, kShoutcastBuffer), "Kill");
  EXPECT_EQ(host::GetItemText(source, ID_SHOUTCAST_STATUS, kShoutcastBuffer), "Connected");
  host::Send(source, WM_COMMAND, ID_SHOUTCAST_CONNECT, 0);
  EXPECT_EQ(host::GetItemText(source, ID_SHOUTCAST_CONNECT, kShoutcastBuffer), "Connect");
  EXPECT_EQ(host::GetItemText(source, 1009, kShoutcastBuffer), "");
  // The button belongs to the source window, not to the main window.
  host::Send(windows_->Main(), WM_COMMAND, ID_SHOUTCAST_CONNECT, 0);
  EXPECT_EQ(player_.State(0).shoutcastCaption, "Connect");
}

TEST_F(PlayerWindowsTest, ConcurrentSendersSeeOneConsistentPlayer) {
  constexpr int kThreads = 4;
  constexpr int kPresses = 200;
  std::vector<std::thread> threads;
  std::atomic<int> badTexts{0};
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kPresses; ++i) {
        Press(ID_NEXT);
        if (t == 0) host::SendCopyData(windows_->Main(), IPC_PLAYFILE, "f" + std::to_string(i));
        std::intptr_t title = Ipc(IPC_GETPLAYLISTTITLE, 0);
        if (TextAt(title) != "One") ++badTexts;
      }
    });
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(badTexts.load(), 0);
  const std::intptr_t length = Ipc(IPC_GETLISTLENGTH);
  EXPECT_EQ(length, 3 + kPresses);
  EXPECT_GE(Ipc(IPC_GETLISTPOS), 0);
  EXPECT_LT(Ipc(IPC_GETLISTPOS), length);
}

TEST(PlayerWindows, WithoutShoutcastThereIsNoSourceWindow) {
  sim::Player player(Three(), "");
  sim::WindowHost host;
  sim::PlayerWindows windows(host, player, {false, [] { return std::int64_t{0}; }});
  EXPECT_EQ(windows.Shoutcast(), host::kNoWindow);
  EXPECT_EQ(host::FindByTitle(kShoutcastTitle), host::kNoWindow);
  EXPECT_NE(host::FindByClass(kPlaylistClass), host::kNoWindow);
}

TEST(PlayerWindows, WindowsOfTheCallingThreadAnswerItsSends) {
  sim::Player player(Three(), "");
  sim::WindowHost host(sim::WindowHost::Threading::CallingThread);
  sim::PlayerWindows windows(host, player, {true, [] { return std::int64_t{0}; }});
  EXPECT_EQ(host::Send(windows.Main(), WM_HOST_USER, 0, IPC_GETVERSION), 0x5666);
  EXPECT_EQ(host::GetText(windows.Main(), kTitleBuffer), "1. One - Winamp [Stopped]");
  EXPECT_EQ(host::FindByClass(kPlaylistClass), windows.Playlist());
  host::Send(host::FindByTitle(kShoutcastTitle), WM_COMMAND, ID_SHOUTCAST_CONNECT, 0);
  EXPECT_EQ(host::GetItemText(windows.Shoutcast(), ID_SHOUTCAST_CONNECT, kShoutcastBuffer), "Kill");
}

TEST(PlayerWindows, PluginFindsItsFilesThroughTheIniPath) {
  testing_support::TempFolder folder;
  sim::Player player(Three(), folder.Path() + "Winamp.ini");
  sim::WindowHost host;
  sim::PlayerWindows windows(host, player, {true, &sim::SteadyNowMs});
  GeneralPurposePlugin* record = winampGetGeneralPurposePlugin();
  record->hwndParent = windows.Main();
  ASSERT_EQ(record->init(), 0);
  ASSERT_NE(PluginInterface, nullptr);
  EXPECT_EQ(PluginInterface->GetPluginPath(), folder.Path());
  EXPECT_EQ(PluginInterface->GetIniPath(), folder.Path() + "Plugins\\gen_Velotam.ini");
  EXPECT_EQ(PluginInterface->SendPlayerMessage(WM_HOST_USER, 0, IPC_GETLISTLENGTH), 3);
  record->quit();
  record->hwndParent = host::kNoWindow;
}

}  // namespace
