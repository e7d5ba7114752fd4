#pragma once
// The central object: one per run, in PluginInterface. It owns the dialogs and gives every
// other part the player window, the activity log, the live settings (read from the dialog's
// controls at each call, never cached) and the file paths.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "plugin/record.h"

class TConfigDlg;

class Interface {
 public:
  explicit Interface(GeneralPurposePlugin* record);
  // Stops the server and waits for its workers, then destroys the dialogs (saving settings).
  ~Interface();
  Interface(const Interface&) = delete;
  Interface& operator=(const Interface&) = delete;

  void SetupConfigDialog();
  void ShowConfigDialog();

  // Sends a message synchronously to the player's main window (the record's parent window,
  // read at each call).
  std::intptr_t SendPlayerMessage(std::uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam);
  host::Window PlayerWindow() const;
  // The copy-data message (74) to the main window: the request number and the text with its
  // closing zero byte.
  std::intptr_t SendPlayerCopyData(std::uintptr_t request, const std::string& text);
  // The main window's text, at most maxBytes - 1 bytes of it.
  std::string ReadPlayerText(int maxBytes) const;

  // The player's other top-level windows (playlist, SHOUTcast source); host::kNoWindow when
  // there is none.
  host::Window FindWindowByClass(const std::string& className) const;
  host::Window FindWindowByTitle(const std::string& title) const;
  std::intptr_t SendWindowMessage(host::Window w, std::uint32_t msg, std::uintptr_t wparam,
                                  std::intptr_t lparam);
  std::string ReadWindowText(host::Window w, int maxBytes) const;
  // The text of a child control of the window, at most maxBytes - 1 bytes.
  std::string ReadItemText(host::Window w, int id, int maxBytes) const;
  // A text that the host returned by reference (it lives in this process); 0 means none and
  // gives the empty text.
  static std::string HostText(std::intptr_t reference);

  // The activity log: "Server: " + message appended to Out while logging is on.
  void WriteLog(const std::string& message);
  // WriteLog through PluginInterface; nothing when there is no central object.
  static void Log(const std::string& message);

  std::string GetPassword() const;
  int GetAutostart() const;
  void SetAutostart(int value);
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
  TConfigDlg& GetConfigDialog() const;

  std::string MonthName(int month) const;
  std::string DayName(int weekday) const;
  // The current time in UTC; tests may replace the clock.
  clk::UtcTime Now() const;
  static void SetClock(clk::UtcTime (*clock)());

  std::string GetPluginPath();
  std::string GetIniPath();
  std::string GetLanguagePath();

 private:
  GeneralPurposePlugin* record_;
};

extern Interface* PluginInterface;
