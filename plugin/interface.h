#pragma once
// The central object: one per run, in PluginInterface. It owns the dialogs and gives every
// other part the player window, the activity log, the live settings (read from the dialog's
// controls at each call, never cached) and the file paths. It is the plug-in side that the
// server, the request path and the dialogs see through their small host interfaces: each
// request gets a snapshot of the settings as they are when it arrives.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "control/password_backoff.h"
#include "platform/clock.h"
#include "plugin/record.h"
#include "protocol/request_context.h"
#include "protocol/state_watch.h"
#include "server/server_host.h"
#include "ui/dialog_host.h"
#include "ui/dialog_set.h"

class LanguageTranslation;
class TConfigDlg;
namespace ui {
class Face;
}

class Interface final : public ServerHost, public RequestHost, public DialogHost {
 public:
  // Builds the dialogs, then the face of the build that shows them.
  explicit Interface(GeneralPurposePlugin* record);
  // The face goes, then the dialogs (saving the settings); quit has stopped the server before.
  ~Interface();
  Interface(const Interface&) = delete;
  Interface& operator=(const Interface&) = delete;

  // The first step of quit, and its one stop of the server: waits (bounded, messages flowing)
  // until no worker runs plug-in code. False when a worker did not end; the object must then be
  // kept (KeepForWorker).
  bool StopServerForQuit();
  // Quit leaves this object to a worker that did not end: saves the settings and says so; the
  // face goes (the dialogs' windows, the message hook and the window classes), the models stay.
  void KeepForWorker();

  void SetupConfigDialog();
  void ShowConfigDialog();

  // Sends a message synchronously to the player's main window (the record's parent window,
  // read at each call).
  std::intptr_t SendPlayerMessage(std::uint32_t msg, std::uintptr_t wparam,
                                  std::intptr_t lparam) override;
  // The copy-data message (74) to the main window: the request number and the text with its
  // closing zero byte.
  std::intptr_t SendPlayerCopyData(std::uintptr_t request, const std::string& text) override;
  // The main window's text, at most maxBytes - 1 bytes of it.
  std::string ReadPlayerText(int maxBytes) override;

  // The player's other top-level windows (playlist, SHOUTcast source); host::kNoWindow when
  // there is none.
  host::Window FindWindowByClass(const std::string& className) override;
  host::Window FindWindowByTitle(const std::string& title) override;
  std::intptr_t SendWindowMessage(host::Window w, std::uint32_t msg, std::uintptr_t wparam,
                                  std::intptr_t lparam) override;
  // The text of a child control of the window, at most maxBytes - 1 bytes.
  std::string ReadItemText(host::Window w, int id, int maxBytes) override;

  // The activity log: "Server: " + message appended to Out while logging is on.
  void WriteLog(const std::string& message) override;
  // The lines that the calling thread holds for one append (a served client's), now.
  void Flush() override;
  // WriteLog through PluginInterface; nothing when there is no central object.
  static void Log(const std::string& message);

  std::string GetPassword() const;
  int GetAutostart() const;
  void SetAutostart(int value) override;
  // Port and time-out texts, trimmed; GetPort/GetTimeout convert them strictly (and raise
  // text::ConvertError on a text that is not a whole number).
  std::string GetPortText() const;
  int GetPort() const;
  std::string GetTimeoutText() const;
  int GetTimeout() const;
  std::uint32_t GetBindAddress() const;
  bool IsControlAllowed() const;
  bool IsHttpHeaderOn() const;
  // The address list and its mode (true: every address except the listed ones is allowed).
  std::vector<std::string> GetAddressList() const;
  bool IsBlockListMode() const;
  // The configuration dialog, which every settings accessor reads.
  TConfigDlg& GetConfigDialog() const;
  // Every dialog of the plug-in.
  DialogSet& Dialogs() { return dialogs_; }
  // The settings one request works with, read from the dialog now.
  RequestSettings SnapshotSettings() const;

  // The current time in UTC; tests may replace the clock.
  clk::UtcTime Now() override;
  static void SetClock(clk::UtcTime (*clock)());
  // The steady clock of the password back-off; tests may replace it.
  std::int64_t SteadyMs() override;
  static void SetSteadyClock(std::int64_t (*clock)());

  // The server's side: its settings and the request path.
  std::uint32_t BindAddress() override { return GetBindAddress(); }
  std::string PortText() override { return GetPortText(); }
  std::string TimeoutText() override { return GetTimeoutText(); }
  void Serve(const std::string& received, const std::string& clientAddress,
             ReplySink& reply) override;
  // Each start hands out change counters of its own; a stop answers the waiting clients.
  void ServerStarted() override;
  void ServerStopping() override;
  // The change counter and the clients that wait for a change.
  StateWatch& Changes() { return watch_; }

  // The dialogs' side.
  std::string IniPath() override { return GetIniPath(); }
  ServerHost& ServerSide() override { return *this; }
  void ReadLanguageFile() override;
  void WriteLanguageFile() override;

  std::string GetPluginPath();
  std::string GetIniPath();
  std::string GetLanguagePath();

 private:
  LanguageTranslation Language();
  std::string LanguageFileIn(const std::string& folder) const;

  GeneralPurposePlugin* record_;
  // Refused passwords per client address, for every request of this run.
  PasswordBackoff backoff_;
  // Outlives the dialogs, whose server serves the waits.
  StateWatch watch_{*this};
  DialogSet dialogs_;
  // After the dialogs, so that it goes before them.
  std::unique_ptr<ui::Face> face_;
};

extern Interface* PluginInterface;
