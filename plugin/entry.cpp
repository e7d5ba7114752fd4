// The plug-in's entry: the record handed to the host and its three entry points. Nothing may
// escape into the host's process: every entry point catches its own failures.
#include "base/version.h"
#include "plugin/interface.h"
#include "plugin/record.h"

namespace {
int Init();
void Config();
void Quit();
}  // namespace

// The record the player takes by the export and fills in (its window, the DLL's instance): it
// lives as long as the DLL, whoever asks for it.
GeneralPurposePlugin g_record = {
    kPluginRecordVersion, kBannerWithCredit, &Init, &Config, &Quit, host::kNoWindow, nullptr};

extern "C" GeneralPurposePlugin* winampGetGeneralPurposePlugin() {
  return &g_record;
}

namespace {

int Init() {
  try {
    if (PluginInterface != nullptr) return 0;
    PluginInterface = new Interface(&g_record);
    PluginInterface->SetupConfigDialog();
  } catch (...) {
    Interface::Log("FEHLER in (Interface::Init)");
  }
  return 0;
}

void Config() {
  try {
    if (PluginInterface != nullptr) {
      PluginInterface->ShowConfigDialog();
    } else {
      host::ShowMessageBox(g_record.hwndParent, "Initialisierung ist fehlgeschlagen!", "");
    }
  } catch (...) {
    Interface::Log("FEHLER in (Interface::Config)");
  }
}

void Quit() {
  // The one place that decides what happens to a worker that does not end: the central object
  // and its dialogs stay (their windows, the hook and the window classes go with the face), and
  // the worker's reference keeps the DLL loaded until it ends.
  try {
    Interface* central = PluginInterface;
    if (central != nullptr) {
      const bool stopped = central->StopServerForQuit();
      if (!stopped) central->KeepForWorker();
      // Nothing reaches the object through the global while it goes.
      PluginInterface = nullptr;
      if (stopped) delete central;
    }
  } catch (...) {
  }
}

}  // namespace
