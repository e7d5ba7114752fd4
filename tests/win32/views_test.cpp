// The plug-in's native windows under Wine, driven through real window messages: gen_Velotam.dll
// is loaded beside this program the way the player loads it, over the stand-in player's
// windows, and every check reads the real windows. The tests run in order and share one
// plug-in instance; the last one quits it.
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

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
#define PH(x)                 \
  std::fprintf(               \
      stderr, "%s %lld\n", x, \
      (long long)std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - T0).count())
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
Plugin* g = nullptr;

// Runs this thread's messages until done() holds or the time is up; false on time-out.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 3s) {
  const auto deadline = Clock::now() + limit;
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      if (done()) return true;
      if (Clock::now() >= deadline) return false;
    }
    if (done()) return true;
    if (Clock::now() >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

// Runs what is queued now, and what that queues in turn (the character of a key-down).
void Pump() {
  MSG msg;
  for (int i = 0; i < 10000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

HWND Form(const char* cls) {
  return sim::FindForm(cls);
}
HWND Config() {
  return Form(viewproto::kConfigClass);
}
HWND Ctl(HWND form, const char* name) {
  return sim::FindControl(form, name);
}
HWND ConfigCtl(const char* name) {
  return Ctl(Config(), name);
}

// What the button sends its parent when it is clicked.
void Click(HWND button) {
  SendMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

// A key as the keyboard delivers it: posted to the focused window, through the message loop,
// whose TranslateMessage makes the character of a key-down.
void PostKey(UINT vk) {
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16;
  PostMessageA(GetFocus(), WM_KEYDOWN, vk, 1 | scan);
  Pump();
  PostMessageA(GetFocus(), WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u) | scan);
  Pump();
}

void Type(const std::string& digits) {
  for (char ch : digits) PostKey(static_cast<UINT>(ch));
}

// A key pressed while modifier keys are held down (Ctrl, Shift).
void PostKeyWith(std::initializer_list<int> held, UINT vk) {
  BYTE keys[256];
  GetKeyboardState(keys);
  for (int m : held) keys[m] |= 0x80;
  SetKeyboardState(keys);
  PostKey(vk);
  for (int m : held) keys[m] &= 0x7F;
  SetKeyboardState(keys);
}

void PostAlt(char letter) {
  PostMessageA(GetFocus(), WM_SYSCHAR, static_cast<WPARAM>(letter), 0);
  Pump();
}

std::string FocusName() {
  const char* name = static_cast<const char*>(GetPropA(GetFocus(), viewproto::kNameProp));
  return name != nullptr ? name : "";
}

// The size of a window's text in its own font.
SIZE TextExtent(HWND hwnd) {
  const std::string text = WindowText(hwnd);
  SIZE size{};
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(hwnd, WM_GETFONT, 0, 0)));
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  return size;
}

// A body to run once the IP address dialog is open; posted until it is (bounded).
struct InDialog {
  std::function<void()> body;
  int tries = 0;
  bool done = false;
};

LRESULT CALLBACK HelperProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == kRunClosure) {
    auto* pending = reinterpret_cast<InDialog*>(lparam);
    if (sim::FindForm(viewproto::kIpAddressClass) == nullptr && ++pending->tries < 1000) {
      PostMessageA(hwnd, kRunClosure, 0, lparam);
      return 0;
    }
    pending->done = true;
    if (pending->tries < 1000) pending->body();
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

// Opens the IP address dialog by its button (or by `open`) and runs body inside its modal loop;
// body must end the dialog. The dialog is gone when this returns.
void InIpDialog(std::function<void()> body, std::function<void()> open = nullptr) {
  InDialog pending{std::move(body)};
  PostMessageA(g->helper, kRunClosure, 0, reinterpret_cast<LPARAM>(&pending));
  if (open) {
    open();
  } else {
    Click(ConfigCtl("hinzfuegenBtn"));
  }
  EXPECT_TRUE(PumpUntil([&] { return pending.done; }));
  EXPECT_LT(pending.tries, 1000) << "the IP address dialog did not open";
  EXPECT_EQ(Form(viewproto::kIpAddressClass), nullptr);
}

RECT RectIn(HWND hwnd, HWND parent) {
  RECT rc;
  GetWindowRect(hwnd, &rc);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

ui::Bounds BoundsOf(const RECT& rc) {
  return {rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
}

std::string Text(const ui::Bounds& b) {
  return std::to_string(b.left) + "," + std::to_string(b.top) + " " + std::to_string(b.width) +
         "x" + std::to_string(b.height);
}

LOGFONTA FontOf(HWND hwnd) {
  LOGFONTA font{};
  auto handle = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
  GetObjectA(handle, sizeof font, &font);
  return font;
}

// One HTTP request over loopback; the whole reply ("" when the connection failed).
std::string Request(const std::string& request) {
  net::Socket s = net::OpenStream();
  std::string reply;
  // Bounded, so that a client never outlives the test.
  if (net::SetReceiveTimeout(s, 3000) == 0 &&
      net::Connect(s, net::InetAddr("127.0.0.1"), kPort) == 0 &&
      net::Send(s, request.data(), static_cast<int>(request.size())) >= 0) {
    char buf[4096];
    for (int n; (n = net::Receive(s, buf, sizeof buf)) > 0;) reply.append(buf, n);
  }
  net::Close(s);
  return reply;
}

// The server on 127.0.0.1, control allowed, by the dialog's controls.
void ServerSettings() {
  HWND address = ConfigCtl("IPCombo");
  SendMessageA(address, CB_SETCURSEL,
               SendMessageA(address, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>("127.0.0.1")),
               0);
  SendMessageA(ConfigCtl("StrgAllowCombo"), CB_SETCURSEL, 1, 0);  // "steuerbar"
  SendMessageA(ConfigCtl("DienstAutoStartChkBox"), BM_SETCHECK, BST_UNCHECKED, 0);
}

// Starts the server on 127.0.0.1:kPort.
void StartServer() {
  if (!IsWindowEnabled(ConfigCtl("StartBtn"))) return;
  ServerSettings();
  SetWindowTextA(ConfigCtl("PortEdit"), std::to_string(kPort).c_str());
  Click(ConfigCtl("StartBtn"));
}

// Requests from another thread while this one runs the player's windows, then the log view
// takes every line logged.
void RequestsWhilePumping(int count) {
  std::atomic<bool> done{false};
  std::thread client([&] {
    for (int i = 0; i < count; ++i) Request("GET /GETVERSION?p=0 HTTP/1.1\r\n\r\n");
    done = true;
  });
  EXPECT_TRUE(PumpUntil([&] { return done.load(); }, 10s));
  client.join();
  SendMessageA(Config(), RegisterWindowMessageA(viewproto::kCatchUpMessage), 0, 0);
}

class Views : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_EQ(net::Startup(), 0);
    g = new Plugin;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string dir =
        std::string(temp) + "velotam-views-" + std::to_string(GetCurrentProcessId());
    sim::Setup setup;
    std::string error;
    ASSERT_TRUE(sim::PrepareSetup({"--dir", dir}, setup, error)) << error;
    // Captions from a language file, umlauts in the ANSI code page.
    std::ofstream(setup.dir + "Plugins\\Velotam_Language.dat", std::ios::binary)
        << "[General]\r\nStartButton=&Los\r\n[Server]\r\nAutostart=Dienst sofort f\xFChren\r\n";

    char self[MAX_PATH];
    std::string path(self, GetModuleFileNameA(nullptr, self, MAX_PATH));
    g->dll =
        LoadLibraryA((path.substr(0, path.find_last_of("\\/") + 1) + "gen_Velotam.dll").c_str());
    ASSERT_NE(g->dll, nullptr);
    using GetPlugin = GeneralPurposePlugin* (*)();
    auto get = reinterpret_cast<GetPlugin>(
        reinterpret_cast<void*>(GetProcAddress(g->dll, "winampGetGeneralPurposePlugin")));
    ASSERT_NE(get, nullptr);
    g->record = get();

    WNDCLASSA wc{};
    wc.lpfnWndProc = &HelperProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ViewsTestHelper";
    RegisterClassA(&wc);
    g->helper = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                wc.hInstance, nullptr);

    g->player = std::make_unique<sim::Player>(std::move(setup.playlist), setup.dir + "Winamp.ini");
    g->host = std::make_unique<sim::WindowHost>(sim::WindowHost::Threading::CallingThread);
    g->windows =
        std::make_unique<sim::PlayerWindows>(*g->host, *g->player, sim::PlayerWindows::Options{});
    DeleteFileA((setup.dir + "Plugins\\gen_Velotam.ini").c_str());
    g->record->hwndParent = g->windows->Main();
    g->record->hDllInstance = g->dll;
    g->record->init();
    g->record->config();
    Pump();
  }

  static void TearDownTestSuite() {
    if (g == nullptr) return;
    if (!g->quit && g->record != nullptr) g->record->quit();
    g->windows.reset();
    if (g->dll != nullptr) FreeLibrary(g->dll);
    delete g;
    g = nullptr;
    (void)net::Cleanup();
  }
};

// Each form's client area and position, and every control at its table bounds relative to its
// parent window (a tab page lies over the tab control's display area).
void ExpectLayout(HWND form, const ui::Dialog& model) {
  ASSERT_NE(form, nullptr) << model.Name();
  RECT client;
  GetClientRect(form, &client);
  EXPECT_EQ(client.right, model.GetBounds().width) << model.Name();
  EXPECT_EQ(client.bottom, model.GetBounds().height) << model.Name();
  EXPECT_NE(GetWindowLongPtrA(form, GWL_EXSTYLE) & WS_EX_TOPMOST, 0) << model.Name();
  // The IP address dialog is the configuration dialog's modal dialog; the others are owned by
  // no window, not even the player's.
  EXPECT_EQ(GetWindow(form, GW_OWNER), model.Name() == "OKBottomDlg" ? Config() : nullptr)
      << model.Name();
  EXPECT_EQ(WindowText(form), model.Caption());
  const std::vector<ui::Control*>& controls = model.Controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const ui::Control* c = controls[i];
    HWND hwnd = Ctl(form, c->Name().c_str());
    ASSERT_NE(hwnd, nullptr) << c->Name();
    EXPECT_EQ(GetDlgCtrlID(hwnd), viewproto::kFirstControlId + static_cast<int>(i)) << c->Name();
    ui::Bounds want = c->GetBounds();
    if (c->GetKind() == ui::Kind::TabPage) {
      HWND tabs = GetParent(hwnd) == form ? Ctl(form, c->Parent().c_str()) : nullptr;
      ASSERT_NE(tabs, nullptr) << c->Name();
      RECT area;
      GetClientRect(tabs, &area);
      SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
      MapWindowPoints(tabs, form, reinterpret_cast<POINT*>(&area), 2);
      want = BoundsOf(area);
    } else {
      HWND parent = c->Parent().empty() ? form : Ctl(form, c->Parent().c_str());
      EXPECT_EQ(GetParent(hwnd), parent) << c->Name();
    }
    if (c->Has(ui::kAutoSize)) {
      // The label's size follows its text: the whole run-time caption is seen.
      const SIZE extent = TextExtent(hwnd);
      want.width = extent.cx;
      want.height = extent.cy;
    }
    EXPECT_EQ(Text(BoundsOf(RectIn(hwnd, GetParent(hwnd)))), Text(want)) << c->Name();
  }
}

TEST_F(Views, FormsAndControlsLieAtTheirTableBounds) {
  // The models built here only lend their layout tables; the plug-in has its own.
  NoPlugin none;
  DialogSet dialogs(none);
  TConfigDlg& config = dialogs.Config();
  TServerRestartDlg& restart = dialogs.Restart();
  ExpectLayout(Config(), config);
  RECT frame;
  GetWindowRect(Config(), &frame);
  EXPECT_EQ(frame.left, 309);
  EXPECT_EQ(frame.top, 299);
  const LONG_PTR style = GetWindowLongPtrA(Config(), GWL_STYLE);
  EXPECT_EQ(style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), WS_SYSMENU);
  ExpectLayout(Form(viewproto::kRestartClass), restart);
  InIpDialog([&none] {
    TOKBottomDlg ip(static_cast<DialogHost&>(none));
    ExpectLayout(Form(viewproto::kIpAddressClass), ip);
    Click(Ctl(Form(viewproto::kIpAddressClass), "CancelBtn"));
  });

  // Control styles and fonts as designed.
  EXPECT_EQ(SendMessageA(ConfigCtl("PasswdEdit"), EM_GETPASSWORDCHAR, 0, 0), '*');
  for (const char* combo : {"IPCombo", "StrgAllowCombo"}) {
    EXPECT_EQ(GetWindowLongPtrA(ConfigCtl(combo), GWL_STYLE) & 3, CBS_DROPDOWNLIST) << combo;
  }
  EXPECT_FALSE(IsWindowEnabled(ConfigCtl("StopBtn")));
  EXPECT_EQ(GetWindowLongPtrA(ConfigCtl("CreateLangBtn"), GWL_STYLE) & WS_VISIBLE, 0);
  EXPECT_EQ(WindowText(ConfigCtl("NameVersion")), "Velotam v1.0.2");
  struct {
    HWND hwnd;
    const char* face;
    int height;
    bool bold;
  } fonts[] = {
      {ConfigCtl("PortEdit"), "MS Sans Serif", -11, false},
      {ConfigCtl("LoggingChkBox"), "MS Sans Serif", -7, false},
      {ConfigCtl("Label2"), "Arial", -19, false},
      {Ctl(Form(viewproto::kRestartClass), "RestartLabel"), "MS Sans Serif", -13, true},
  };
  for (const auto& f : fonts) {
    LOGFONTA font = FontOf(f.hwnd);
    EXPECT_STREQ(font.lfFaceName, f.face);
    EXPECT_EQ(font.lfHeight, f.height) << f.face;
    EXPECT_EQ(font.lfWeight >= FW_BOLD, f.bold) << f.face;
  }
}

TEST_F(Views, LanguageFileCaptionsShowOnTheControls) {
  EXPECT_EQ(WindowText(ConfigCtl("StartBtn")), "&Los");
  EXPECT_EQ(WindowText(ConfigCtl("DienstAutoStartChkBox")), "Dienst sofort f\xFChren");
  EXPECT_EQ(WindowText(ConfigCtl("ProtLoeschenBtn")), "Protokoll l\xF6schen");  // the default
}

TEST_F(Views, TheRestartOfferTakesTheFocusAndEnterRestarts) {
  ServerSettings();
  PostAlt('s');
  HWND restart = Form(viewproto::kRestartClass);
  SetFocus(ConfigCtl("PortEdit"));
  SetWindowTextA(ConfigCtl("PortEdit"), std::to_string(kPort).c_str());
  PostKey(VK_TAB);
  EXPECT_TRUE(IsWindowVisible(restart));
  EXPECT_EQ(GetActiveWindow(), restart);
  EXPECT_EQ(FocusName(), "RestartBtn");
  PostKey(VK_RETURN);
  EXPECT_FALSE(IsWindowVisible(restart));
  EXPECT_FALSE(IsWindowEnabled(ConfigCtl("StartBtn")));  // restarted: the server runs
  EXPECT_EQ(FocusName(), "httpheadChkBox");  // the configuration dialog's own, where Tab put it
}

TEST_F(Views, PagesFollowAltAndCtrlTabAndTheArrowsMoveInTheRadioGroup) {
  HWND tabs = ConfigCtl("TabPages");
  const std::function<void()> alt_r = [] { PostAlt('r'); }, alt_s = [] { PostAlt('s'); },
                              down = [] { PostKey(VK_DOWN); }, up = [] { PostKey(VK_UP); },
                              ctrl_tab = [] { PostKeyWith({VK_CONTROL}, VK_TAB); }, back = [] {
                                PostKeyWith({VK_CONTROL, VK_SHIFT}, VK_TAB);
                              };
  struct Step {
    const std::function<void()>& keys;
    int page;
    const char* focus;
  } steps[] = {
      {alt_r, 1, "ErlaubeAdrRadioBtn"},
      {down, 1, "VerbieteAdrRadioBtn"},
      {ctrl_tab, 2, "Out"},
      {back, 1, "VerbieteAdrRadioBtn"},  // the checked one
      {up, 1, "ErlaubeAdrRadioBtn"},
      {back, 0, "IPCombo"},
      {ctrl_tab, 1, "ErlaubeAdrRadioBtn"},
      {alt_s, 0, "IPCombo"},
  };
  HWND allow = ConfigCtl("ErlaubeAdrRadioBtn"), deny = ConfigCtl("VerbieteAdrRadioBtn");
  for (const auto& step : steps) {
    step.keys();
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), step.page) << step.focus;
    EXPECT_EQ(FocusName(), step.focus);
    // The arrows check the button they move to; only the checked one is a tab stop.
    const bool denying = SendMessageA(deny, BM_GETCHECK, 0, 0) == BST_CHECKED;
    EXPECT_EQ(SendMessageA(allow, BM_GETCHECK, 0, 0) == BST_CHECKED, !denying);
    EXPECT_EQ((GetWindowLongPtrA(deny, GWL_STYLE) & WS_TABSTOP) != 0, denying);
    EXPECT_EQ((GetWindowLongPtrA(allow, GWL_STYLE) & WS_TABSTOP) != 0, !denying);
  }
}

TEST_F(Views, TheIpDialogTakingTheFocusRunsNoExitHandlerOfTheConfigurationDialog) {
  HWND port = ConfigCtl("PortEdit"), restart = Form(viewproto::kRestartClass);
  SetFocus(port);
  const std::string old = WindowText(port);
  SetWindowTextA(port, "4990");
  InIpDialog([&] {
    EXPECT_FALSE(IsWindowVisible(restart));
    EXPECT_FALSE(IsWindowEnabled(restart));  // every other window of the plug-in waits
    PostKey(VK_ESCAPE);
  });
  EXPECT_FALSE(IsWindowVisible(restart));
  EXPECT_EQ(GetFocus(), port);  // back where it was, and the change still counts when it leaves
  PostKey(VK_TAB);
  EXPECT_TRUE(IsWindowVisible(restart));
  Click(Ctl(restart, "CancelBtn"));
  SetWindowTextA(port, old.c_str());
}

TEST_F(Views, EachFormOpensWithItsFirstControlFocusedAndAnAddressNeedsNoClick) {
  HWND list = ConfigCtl("AdrListBox");
  const LRESULT before = SendMessageA(list, LB_GETCOUNT, 0, 0);
  SendMessageA(Config(), WM_CLOSE, 0, 0);  // the close box hides it
  g->record->config();
  Pump();
  EXPECT_EQ(FocusName(), "CloseBttn");
  PostAlt('r');
  InIpDialog(
      [] {
        EXPECT_EQ(FocusName(), "IP_firstnum");
        const UINT dot = static_cast<UINT>(VkKeyScanA('.') & 0xFF);
        for (char ch : std::string("192.168.1.20")) PostKey(ch == '.' ? dot : ch);
        PostKey(VK_RETURN);
      },
      [] { PostAlt('h'); });
  ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), before + 1);
  EXPECT_EQ(win32ui::ListItems(list, false).back(), "192.168.1.20");
}

TEST_F(Views, TheIpDialogIsModalAndTakesDigitsEnterAndEsc) {
  HWND list = ConfigCtl("AdrListBox");
  const LRESULT before = SendMessageA(list, LB_GETCOUNT, 0, 0);
  InIpDialog([] {
    HWND ip = Form(viewproto::kIpAddressClass);
    EXPECT_FALSE(IsWindowEnabled(Config()));
    HWND first = Ctl(ip, "IP_firstnum");
    SetFocus(first);
    Type("999");
    EXPECT_EQ(WindowText(first), "255");
    EXPECT_EQ(GetFocus(), Ctl(ip, "IP_secondnum"));
    // A selected octet is typed over, a digit goes in at the caret, a full field takes none.
    SetFocus(first);
    SendMessageA(first, EM_SETSEL, 0, -1);
    Type("7");
    EXPECT_EQ(WindowText(first), "7");
    EXPECT_EQ(GetFocus(), first);
    SendMessageA(first, EM_SETSEL, 0, 0);
    Type("10");
    EXPECT_EQ(WindowText(first), "107");
    SetFocus(first);
    SendMessageA(first, EM_SETSEL, 3, 3);
    SendMessageA(first, WM_CHAR, '4', 1);
    EXPECT_EQ(WindowText(first), "107");
    SetFocus(Ctl(ip, "IP_secondnum"));
    Type("000000001");
    EXPECT_EQ(GetFocus(), Ctl(ip, "OKBtn"));
    PostKey(VK_RETURN);
  });
  EXPECT_TRUE(IsWindowEnabled(Config()));
  ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), before + 1);
  EXPECT_EQ(win32ui::ListItems(list, false).back(), "107.000.000.001");

  InIpDialog([] {
    SetFocus(Ctl(Form(viewproto::kIpAddressClass), "IP_firstnum"));
    Type("10");
    PostKey(VK_ESCAPE);
  });
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), before + 1);
}

TEST_F(Views, StartStopAndAutostartOverHttpReachTheButtons) {
  StartServer();
  EXPECT_FALSE(IsWindowEnabled(ConfigCtl("StartBtn")));
  EXPECT_TRUE(IsWindowEnabled(ConfigCtl("StopBtn")));

  // A worker changes the model; the real check box follows by a posted message.
  std::atomic<bool> answered{false};
  std::thread client([&] {
    Request("GET /SETAUTOSERVICE?enable=1&p=0 HTTP/1.1\r\n\r\n");
    answered = true;
  });
  EXPECT_TRUE(PumpUntil([&] {
    return answered &&
           SendMessageA(ConfigCtl("DienstAutoStartChkBox"), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }));
  client.join();
}

TEST_F(Views, TheLogListStaysWhereTheUserScrolledWhileLinesArrive) {
  StartServer();
  HWND out = ConfigCtl("Out");
  RequestsWhilePumping(8);
  RECT rc;
  GetClientRect(out, &rc);
  const int rows = rc.bottom / static_cast<int>(SendMessageA(out, LB_GETITEMHEIGHT, 0, 0));
  const int selected = static_cast<int>(SendMessageA(out, LB_GETCURSEL, 0, 0));
  ASSERT_GT(SendMessageA(out, LB_GETCOUNT, 0, 0), rows + 2);
  SendMessageA(out, WM_VSCROLL, SB_TOP, 0);
  SendMessageA(out, WM_VSCROLL, SB_LINEDOWN, 0);
  RequestsWhilePumping(2);
  EXPECT_EQ(SendMessageA(out, LB_GETTOPINDEX, 0, 0), 1);
  EXPECT_EQ(SendMessageA(out, LB_GETCURSEL, 0, 0), selected);  // nothing selected by appending
  // Whoever looks at the end follows the new lines.
  SendMessageA(out, WM_VSCROLL, SB_BOTTOM, 0);
  RequestsWhilePumping(2);
  const int count = static_cast<int>(SendMessageA(out, LB_GETCOUNT, 0, 0));
  EXPECT_EQ(SendMessageA(out, LB_GETTOPINDEX, 0, 0), count - rows);
}

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, UINT_PTR,
                           DWORD_PTR data) {
  auto* handled = reinterpret_cast<std::vector<Clock::time_point>*>(data);
  static const UINT probe = RegisterWindowMessageA("ViewsTest.Probe");
  if (msg == probe) {
    if (wparam < handled->size()) (*handled)[wparam] = Clock::now();
    return 0;
  }
  return DefSubclassProc(hwnd, msg, wparam, lparam);
}

TEST_F(Views, TheDialogAnswersWithin100msWhile20ClientsHammerTheServer) {
  constexpr int kClients = 20;
  constexpr auto kLoad = 10s;
  constexpr std::size_t kProbes = 10s / 50ms;
  const UINT probe = RegisterWindowMessageA("ViewsTest.Probe");
  std::vector<Clock::time_point> posted(kProbes), handled(kProbes);
  StartServer();
  HWND form = Config();
  SetWindowSubclass(form, &ProbeProc, 1, reinterpret_cast<DWORD_PTR>(&handled));

  std::atomic<bool> stop{false};
  std::atomic<int> answers{0};
  std::atomic<int> running{kClients};
  std::vector<std::thread> clients;
  for (int i = 0; i < kClients; ++i) {
    clients.emplace_back([&] {
      while (!stop) {
        if (!Request("GET /GETVERSION?p=0 HTTP/1.1\r\n\r\n").empty()) ++answers;
      }
      --running;
    });
  }
  std::atomic<bool> probing{true};
  std::thread prober([&] {
    for (std::size_t i = 0; i < kProbes; ++i) {
      posted[i] = Clock::now();
      PostMessageA(form, probe, i, 0);
      std::this_thread::sleep_for(50ms);
    }
    probing = false;
  });
  const auto end = Clock::now() + kLoad;
  PumpUntil([&] { return !probing && Clock::now() >= end; }, kLoad + 5s);
  stop = true;
  // The workers ask the player's windows, which this thread runs: it keeps them going until the
  // last client is done.
  EXPECT_TRUE(PumpUntil([&] { return running == 0; }, 10s));
  for (auto& t : clients) t.join();
  prober.join();
  PumpUntil([&] { return handled.back() != Clock::time_point{}; });
  RemoveWindowSubclass(form, &ProbeProc, 1);

  std::vector<long long> delays;
  for (std::size_t i = 0; i < kProbes; ++i) {
    ASSERT_NE(handled[i], Clock::time_point{}) << "probe " << i << " never handled";
    delays.push_back(
        std::chrono::duration_cast<std::chrono::milliseconds>(handled[i] - posted[i]).count());
  }
  std::sort(delays.begin(), delays.end());
  const long long p99 = delays[delays.size() * 99 / 100], worst = delays.back();
  std::printf("%d answers in 10 s; posted messages handled after %lld ms (99%%), %lld ms (all)\n",
              answers.load(), p99, worst);
  EXPECT_GT(answers, kClients);
  // Under Wine every socket call of the 40 client and server threads goes through the one
  // wineserver that the window functions need too; the slowest message takes 50-75 ms there.
  // One in a hundred may meet a hiccup of the machine, none may wait for a frozen dialog.
  EXPECT_LE(p99, 100);
  EXPECT_LE(worst, 500);
}

BOOL CALLBACK CountOurs(HWND hwnd, LPARAM param) {
  if (GetPropA(hwnd, viewproto::kNameProp) != nullptr) ++*reinterpret_cast<int*>(param);
  return TRUE;
}

TEST_F(Views, QuitWithBothDialogsOpenIsPromptAndLeavesNoWindow) {
  // The player ends as it does: its message loop ends (WM_QUIT), which ends the IP dialog's
  // loop on the way, and then it calls quit, with the server running and the dialog shown.
  ASSERT_FALSE(IsWindowEnabled(ConfigCtl("StartBtn")));
  ASSERT_TRUE(IsWindowVisible(Config()));
  InIpDialog([] { PostQuitMessage(0); });
  const auto start = Clock::now();
  g->record->quit();
  g->quit = true;
  const auto took = Clock::now() - start;
  EXPECT_LE(took, 2s);
  int ours = 0;
  EnumThreadWindows(GetCurrentThreadId(), &CountOurs, reinterpret_cast<LPARAM>(&ours));
  EXPECT_EQ(ours, 0);
  WNDCLASSA info;
  EXPECT_FALSE(GetClassInfoA(g->dll, viewproto::kConfigClass, &info));
  // Nothing posted before quit may reach the plug-in after it has gone.
  FreeLibrary(g->dll);
  g->dll = nullptr;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

}  // namespace
