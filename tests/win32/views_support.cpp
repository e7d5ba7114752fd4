#include "tests/win32/views_support.h"

namespace views {

Plugin* g = nullptr;

// Runs this thread's messages until done() holds or the time is up; false on time-out.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
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

namespace {

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

}  // namespace

// Opens the IP address dialog by its button (or by `open`) and runs body inside its modal loop;
// body must end the dialog. The dialog is gone when this returns.
void InIpDialog(std::function<void()> body, std::function<void()> open) {
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

void Views::SetUpTestSuite() {
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
  g->dll = LoadLibraryA((path.substr(0, path.find_last_of("\\/") + 1) + "gen_Velotam.dll").c_str());
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

void Views::TearDownTestSuite() {
  if (g == nullptr) return;
  if (!g->quit && g->record != nullptr) g->record->quit();
  g->windows.reset();
  if (g->dll != nullptr) FreeLibrary(g->dll);
  delete g;
  g = nullptr;
  (void)net::Cleanup();
}

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
}  // namespace views
