#pragma once
// What the view tests share: the plug-in loaded over the stand-in player's windows (one
// instance for the whole suite), message pumping, keys and clicks as the user makes them, and
// reading the real windows.
#include <windows.h>
//
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/net.h"
#include "plugin/record.h"
#include "sim/player.h"
#include "sim/player_windows.h"
#include "sim/playersim_options.h"
#include "sim/win32/window_surface.h"
#include "sim/window_host.h"
#include "tests/no_plugin.h"
#include "ui/config_dlg.h"
#include "ui/dialog_set.h"
#include "ui/ip_address_dlg.h"
#include "ui/restart_dlg.h"
#include "ui/win32/view_protocol.h"
#include "ui/win32/window_text.h"

namespace views {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
using win32ui::WindowText;

constexpr std::uint16_t kPort = 4879;
constexpr UINT kRunClosure = WM_APP + 70;

struct Plugin {
  HMODULE dll = nullptr;
  GeneralPurposePlugin* record = nullptr;
  std::unique_ptr<sim::Player> player;
  std::unique_ptr<sim::WindowHost> host;
  std::unique_ptr<sim::PlayerWindows> windows;
  HWND helper = nullptr;
  bool quit = false;
};
extern Plugin* g;

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 3s);
void Pump();
HWND Form(const char* cls);
HWND Config();
HWND Ctl(HWND form, const char* name);
HWND ConfigCtl(const char* name);
void Click(HWND button);
void PostKey(UINT vk);
void Type(const std::string& digits);
void PostKeyWith(std::initializer_list<int> held, UINT vk);
void PostAlt(char letter);
std::string FocusName();
SIZE TextExtent(HWND hwnd);
void InIpDialog(std::function<void()> body, std::function<void()> open = nullptr);
RECT RectIn(HWND hwnd, HWND parent);
ui::Bounds BoundsOf(const RECT& rc);
std::string Text(const ui::Bounds& b);
LOGFONTA FontOf(HWND hwnd);
// Sends one request to the plug-in's server and returns the whole reply.
std::string Request(const std::string& request);
void ServerSettings();
void StartServer();
void RequestsWhilePumping(int count);
void ExpectLayout(HWND form, const ui::Dialog& model);

class Views : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
};

}  // namespace views
