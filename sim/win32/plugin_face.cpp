// playersim.exe loads gen_Velotam.dll (from the player folder's Plugins folder, else from its own
// folder) through its export and record, as the player does. The dialog commands and the "LOG "
// lines work on the plug-in's real windows (sim/win32/window_surface.h, sim/win32/log_watch.h).
#include <windows.h>

#include "sim/plugin_face.h"
#include "sim/state_lines.h"
#include "sim/win32/log_watch.h"
#include "sim/win32/window_surface.h"
#include "ui/console/console_output.h"
#include "ui/console/dialog_commands.h"

namespace sim {

namespace {

std::string ProgramFolder() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path, n);
  std::size_t slash = p.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : p.substr(0, slash + 1);
}

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

}  // namespace

struct PluginFace::Impl {
  // Declared first, so that it goes last.
  std::unique_ptr<LoadedModule> module;
  std::unique_ptr<LogWatch> log;
  console::DialogCommands dialogs{std::make_unique<WindowSurface>()};
};

PluginFace::PluginFace() : impl_(std::make_unique<Impl>()) {}

PluginFace::~PluginFace() = default;

GeneralPurposePlugin* PluginFace::Load(const std::string& dir, std::string& error) {
  // Like the player, the program takes the plug-in from its folder's Plugins folder (where the
  // installer puts it); without one there, the DLL beside the program.
  std::string path = dir + "Plugins\\gen_Velotam.dll";
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    path = ProgramFolder() + "gen_Velotam.dll";
  }
  impl_->module = std::make_unique<LoadedModule>(path);
  const HMODULE dll = impl_->module->Get();
  if (dll == nullptr) {
    error = "cannot load " + path;
    return nullptr;
  }
  using GetPlugin = GeneralPurposePlugin* (*)();
  auto getPlugin = reinterpret_cast<GetPlugin>(
      reinterpret_cast<void*>(GetProcAddress(dll, "winampGetGeneralPurposePlugin")));
  GeneralPurposePlugin* record = getPlugin != nullptr ? getPlugin() : nullptr;
  if (record == nullptr) error = "no plug-in record in " + path;
  return record;
}

void PluginFace::AddCommands(CommandLoop& loop) {
  loop.AddHandler([&loop, this](const std::string& line) {
    if (line != "log") return false;
    impl_->log->CatchUp();
    for (const std::string& l : LogDumpLines(impl_->log->Entries())) loop.Print(l);
    return true;
  });
  loop.AddHandler([this](const std::string& line) { return impl_->dialogs.Handle(line); });
}

void PluginFace::Init(GeneralPurposePlugin& record, host::Window main, CommandLoop&) {
  record.hwndParent = main;
  record.hDllInstance = impl_->module->Get();
  record.init();
  impl_->log = std::make_unique<LogWatch>();
  // The entries logged so far go out before any other line.
  const DWORD mainThread = GetCurrentThreadId();
  console::SetBeforePrint([this, mainThread] {
    if (GetCurrentThreadId() == mainThread && impl_->log != nullptr) impl_->log->CatchUp();
  });
}

void PluginFace::Quit(GeneralPurposePlugin& record) {
  record.quit();
  console::SetBeforePrint(nullptr);
  impl_->log.reset();
}

}  // namespace sim
