// playersim.exe: the stand-in player on Windows. It loads gen_Velotam.dll (from the player
// folder's Plugins folder, else from its own folder) through its export and record, as the
// player does, and owns the player's windows on its main thread, which also runs init, config
// and quit and every command. Standard input is read on a second thread; each line is posted to
// the main thread's input window. The dialog commands and the "LOG " lines work on the plug-in's
// real windows (sim/win32/window_surface.h).
#include <windows.h>
//
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <deque>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/text.h"
#include "plugin/record.h"
#include "sim/command_loop.h"
#include "sim/player.h"
#include "sim/player_windows.h"
#include "sim/playersim_commands.h"
#include "sim/playersim_options.h"
#include "sim/win32/log_watch.h"
#include "sim/win32/window_surface.h"
#include "sim/window_host.h"
#include "ui/console/console_output.h"
#include "ui/console/dialog_commands.h"

namespace {

constexpr UINT kLine = WM_APP + 10;  // lParam: a std::string the receiver deletes
constexpr UINT kEnd = WM_APP + 11;   // end of input or Ctrl+C
constexpr const char* kInputClass = "PlayerSimInput";

HWND g_input = nullptr;
std::deque<std::string> g_lines;
bool g_ended = false;
sim::CommandLoop* g_loop = nullptr;  // set while the command loop runs
bool g_waiting = false;              // the loop waits for its next line

// A line that comes while a command runs its own message loop (the modal IP address dialog)
// is carried out there and then, as the native playersim runs its loop nested; quit or the end
// of input ends that message loop, and with it the command, so the outer loop can end.
void RunNested() {
  while (!g_lines.empty() && !g_loop->Ending()) {
    std::string line = std::move(g_lines.front());
    g_lines.pop_front();
    g_loop->Dispatch(line);
  }
  if (g_ended) g_loop->Quit();
  if (g_loop->Ending()) PostQuitMessage(0);
}

LRESULT CALLBACK InputProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == kLine || msg == kEnd) {
    if (msg == kLine) {
      std::string* line = reinterpret_cast<std::string*>(lparam);
      g_lines.push_back(std::move(*line));
      delete line;
    } else {
      g_ended = true;
    }
    if (g_loop != nullptr && !g_waiting) RunNested();
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

void PostLine(std::string line) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
  auto* copy = new std::string(std::move(line));
  if (!PostMessageA(g_input, kLine, 0, reinterpret_cast<LPARAM>(copy))) delete copy;
}

// Reads standard input; blocked in a read when the program ends, so it is left running.
void ReadInput() {
  HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  std::string pending;
  char buf[4096];
  DWORD n = 0;
  while (ReadFile(in, buf, sizeof buf, &n, nullptr) && n > 0) {
    pending.append(buf, n);
    for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
      PostLine(pending.substr(0, end));
      pending.erase(0, end + 1);
    }
  }
  if (!pending.empty()) PostLine(pending);
  PostMessageA(g_input, kEnd, 0, 0);
}

BOOL WINAPI OnConsoleEvent(DWORD) {
  PostMessageA(g_input, kEnd, 0, 0);
  return TRUE;
}

// The next line; runs the main thread's messages while it waits.
bool NextLine(std::string& line) {
  for (;;) {
    if (!g_lines.empty()) {
      line = std::move(g_lines.front());
      g_lines.pop_front();
      return true;
    }
    if (g_ended) return false;
    MSG msg;
    g_waiting = true;
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got > 0) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    g_waiting = false;
    if (got <= 0) return false;
  }
}

int Fail(const std::string& reason) {
  console::PrintLine("ERROR " + text::EscapeLine(reason));
  return 2;
}

std::string ProgramFolder() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path, n);
  std::size_t slash = p.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : p.substr(0, slash + 1);
}

}  // namespace

// The plug-in's module: released after everything that uses it has ended.
class LoadedModule {
 public:
  explicit LoadedModule(const std::string& path) : module_(LoadLibraryA(path.c_str())) {}
  ~LoadedModule() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;
  HMODULE Get() const { return module_; }

 private:
  HMODULE module_;
};

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // lines end in LF, as on the other platforms

  sim::Setup setup;
  std::string error;
  if (!sim::PrepareSetup(std::vector<std::string>(argv + 1, argv + argc), setup, error)) {
    return Fail(error);
  }

  // Like the player, the program takes the plug-in from its folder's Plugins folder (where the
  // installer puts it); without one there, the DLL beside the program.
  std::string dllPath = setup.dir + "Plugins\\gen_Velotam.dll";
  if (GetFileAttributesA(dllPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
    dllPath = ProgramFolder() + "gen_Velotam.dll";
  }
  const LoadedModule module(dllPath);
  const HMODULE dll = module.Get();
  if (dll == nullptr) return Fail("cannot load " + dllPath);
  using GetPlugin = GeneralPurposePlugin* (*)();
  auto getPlugin = reinterpret_cast<GetPlugin>(
      reinterpret_cast<void*>(GetProcAddress(dll, "winampGetGeneralPurposePlugin")));
  GeneralPurposePlugin* record = getPlugin != nullptr ? getPlugin() : nullptr;
  if (record == nullptr) return Fail("no plug-in record in " + dllPath);

  WNDCLASSA wc{};
  wc.lpfnWndProc = &InputProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kInputClass;
  RegisterClassA(&wc);
  g_input = CreateWindowExA(0, kInputClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleA(nullptr), nullptr);

  {
    sim::Player player(std::move(setup.playlist), setup.dir + "Winamp.ini");
    sim::WindowHost host(sim::WindowHost::Threading::CallingThread);
    sim::PlayerWindows windows(host, player, {setup.options.shoutcast, &sim::SteadyNowMs});

    sim::CommandLoop loop(&NextLine, &console::PrintLine);
    sim::AddPlayerCommands(loop, *record, player, windows);
    std::unique_ptr<sim::LogWatch> log;
    loop.AddHandler([&loop, &log](const std::string& line) {
      if (line != "log") return false;
      log->CatchUp();
      for (const std::string& l : sim::LogDumpLines(log->Entries())) loop.Print(l);
      return true;
    });
    console::DialogCommands dialogs(std::make_unique<sim::WindowSurface>());
    loop.AddHandler([&dialogs](const std::string& line) { return dialogs.Handle(line); });

    SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
    std::thread(&ReadInput).detach();

    record->hwndParent = windows.Main();
    record->hDllInstance = dll;
    record->init();
    log = std::make_unique<sim::LogWatch>();
    // The entries logged so far go out before any other line.
    const DWORD mainThread = GetCurrentThreadId();
    console::SetBeforePrint([&log, mainThread] {
      if (GetCurrentThreadId() == mainThread && log != nullptr) log->CatchUp();
    });
    g_loop = &loop;
    loop.Run();
    g_loop = nullptr;
    record->quit();
    console::SetBeforePrint(nullptr);
    log.reset();
  }
  return 0;
}
