// Loads gen_Velotam.dll the way the player does: a parent window, LoadLibrary, the export,
// the record's window and instance fields, init (the server starts by itself) and a prompt quit
// with a silent client connected, after which the DLL must unload: no worker thread holds it.
// Exit code 0 when every check holds.
#include <windows.h>
#include <winsock2.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The host's general purpose plug-in record, as the host declares it.
struct PluginRecord {
  int version;
  char* description;
  int (*init)();
  void (*config)();
  void (*quit)();
  HWND hwndParent;
  HINSTANCE hDllInstance;
};

std::string g_iniPath;
int g_failures = 0;

void Check(bool ok, const char* what) {
  std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
  if (!ok) ++g_failures;
}

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_USER && lparam == 334) return reinterpret_cast<LRESULT>(g_iniPath.c_str());
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

std::string Folder(const char* path) {
  std::string p = path;
  return p.substr(0, p.find_last_of("\\/") + 1);
}

// Connects to the plug-in's server and sends nothing; the socket stays open until the exit.
bool ConnectSilently(int port) {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return false;
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_port = htons(static_cast<u_short>(port));
  sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return s != INVALID_SOCKET && connect(s, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0;
}

}  // namespace

int main() {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string dllPath = Folder(self) + "gen_Velotam.dll";

  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string player =
      std::string(temp) + "velotam-loader-" + std::to_string(GetTickCount()) + "\\";
  CreateDirectoryA(player.c_str(), nullptr);
  CreateDirectoryA((player + "Plugins").c_str(), nullptr);
  g_iniPath = player + "Winamp.ini";
  const int port = 20000 + static_cast<int>(GetCurrentProcessId() % 20000);
  const std::string settings = "[allgemein]\r\nip=127.0.0.1\r\nport=" + std::to_string(port) +
                               "\r\nautostart=1\r\n[erweitert]\r\ntimeout=0\r\n";
  HANDLE ini = CreateFileA((player + "Plugins\\gen_Velotam.ini").c_str(), GENERIC_WRITE, 0, nullptr,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(ini, settings.data(), static_cast<DWORD>(settings.size()), &written, nullptr);
  CloseHandle(ini);

  WNDCLASSA wc{};
  wc.lpfnWndProc = &ParentProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "LoaderParent";
  RegisterClassA(&wc);
  HWND parent = CreateWindowExA(0, "LoaderParent", "Loader", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                nullptr, wc.hInstance, nullptr);
  Check(parent != nullptr, "parent window created");

  HMODULE dll = LoadLibraryA(dllPath.c_str());
  Check(dll != nullptr, "LoadLibrary gen_Velotam.dll");
  if (dll == nullptr) return 1;
  using GetRecord = PluginRecord* (*)();
  auto get = reinterpret_cast<GetRecord>(
      reinterpret_cast<void*>(GetProcAddress(dll, "winampGetGeneralPurposePlugin")));
  Check(get != nullptr, "export winampGetGeneralPurposePlugin found");
  if (get == nullptr) return 1;
  PluginRecord* record = get();
  Check(record != nullptr, "record returned");
  if (record == nullptr) return 1;
  Check(record->version == 0x10, "record version 0x10");
  Check(record->description != nullptr &&
            std::strncmp(record->description, "Velotam v1.0.2 (", 16) == 0,
        "description begins with the banner");
  Check(record->init != nullptr && record->config != nullptr && record->quit != nullptr,
        "three entry points");
  record->hwndParent = parent;
  record->hDllInstance = dll;
  Check(record->init() == 0, "init returns 0");
  Check(ConnectSilently(port), "a silent client connects (the server started by itself)");
  DWORD before = GetTickCount();
  record->quit();
  Check(GetTickCount() - before < 2000, "quit returns promptly");
  Check(FreeLibrary(dll) != 0, "FreeLibrary");
  Check(GetModuleHandleA(dllPath.c_str()) == nullptr, "the DLL is unloaded: no thread holds it");
  DestroyWindow(parent);
  return g_failures == 0 ? 0 : 1;
}
