#pragma once
// Shared test rig: a stand-in player window, the plug-in loaded through its record, a log
// watcher with bounded waits, and a loopback client.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/net.h"
#include "plugin/record.h"
#include "sim/window_host.h"
#include "ui/dialog_set.h"
#include "ui/models/log_list.h"

class TConfigDlg;

namespace testing_support {

using namespace std::chrono_literals;

// A fresh folder for one test; removed at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  // With the trailing separator of the platform.
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// The running plug-in's dialogs, as its central object holds them, and their forms.
DialogSet& PluginDialogs();
TConfigDlg& Config();
ui::Forms& Forms();

// Collects every entry appended to a list model from the moment it is created.
class LogWatcher {
 public:
  LogWatcher();  // watches Config().Out
  ~LogWatcher();
  std::vector<std::string> Lines() const;
  // Waits until a line equal to `line` has been appended at least `count` times.
  bool WaitFor(const std::string& line, int count = 1,
               std::chrono::milliseconds limit = 5000ms) const;
  // Waits until pred(lines) holds.
  bool WaitUntil(const std::function<bool(const std::vector<std::string>&)>& pred,
                 std::chrono::milliseconds limit = 5000ms) const;
  void Clear();
  // Entries that the log overwrote before this watcher read them: a test that must see every
  // line checks that there were none.
  std::uint64_t Skipped() const;

 private:
  void CatchUp() const;  // call with lock_ held

  mutable std::mutex lock_;  // lines_ and the reader
  mutable std::mutex wakeLock_;
  mutable std::condition_variable cv_;
  mutable bool woken_ = false;
  mutable std::vector<std::string> lines_;
  mutable std::uint64_t skipped_ = 0;
  std::unique_ptr<ui::LogReader> reader_;
};

// The player's main window as a test double: answers request 334 with the INI path in the
// given folder and records every other message.
struct RecordedMessage {
  std::uint32_t msg;
  std::uintptr_t wparam;
  std::intptr_t lparam;
};

class FakePlayer {
 public:
  explicit FakePlayer(const std::string& folder);
  ~FakePlayer();
  host::Window Window() const { return window_; }
  std::vector<RecordedMessage> Messages() const;
  void ClearMessages();
  // Answers for a request number (user message 1024); default 0.
  void Answer(std::int32_t request, std::intptr_t result);
  std::string iniPath;

  sim::WindowHost& Host() { return host_; }

 private:
  mutable std::mutex lock_;
  std::vector<RecordedMessage> messages_;
  std::vector<std::pair<std::int32_t, std::intptr_t>> answers_;
  sim::WindowHost host_;
  host::Window window_ = host::kNoWindow;
};

// A test with the plug-in loaded through its record against a FakePlayer. The settings in the
// dialog are set to the loopback address, port 0 (an ephemeral port) and a short time-out.
class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the server through the Start button and returns the bound port (0 on failure).
  std::uint16_t StartServer(const std::string& port = "0", const std::string& timeout = "200");
  void StopServer();

  // The settings file of the test's player folder (a native path).
  std::string SettingsFile() const;
  // Quits the plug-in (which saves its settings), replaces the settings file with `settings`
  // byte for byte (nullopt: removes it) and runs init again, so that init loads it. The log
  // watcher follows the new dialog; what init logged is in Config().Out.
  void ReloadPlugin(const std::optional<std::string>& settings);

  TempFolder folder_;
  std::unique_ptr<FakePlayer> player_;
  GeneralPurposePlugin* record_ = nullptr;
  std::unique_ptr<LogWatcher> log_;
};

// A loopback client.
class Client {
 public:
  explicit Client(std::uint16_t port);
  ~Client();
  bool Connected() const { return socket_ != net::kInvalidSocket; }
  void Send(const std::string& data);
  // Reads until the server closes the connection (bounded by limit).
  std::string ReadAll(int limitMs = 5000);
  void Close();
  // Closes with a reset instead of the orderly end.
  void Reset();

 private:
  net::Socket socket_ = net::kInvalidSocket;
};

// Sends one request and returns every byte of the reply.
std::string Request(std::uint16_t port, const std::string& request);

// Whole files, byte for byte (native paths); ReadFile gives "" for a missing file.
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);

// The platform's error number for an address in use.
int AddressInUseError();

// A port that was free a moment ago, from a socket bound to port 0 on the loopback address.
std::uint16_t FreePort();

// The threads of this process, as the system counts them.
int ProcessThreads();

// Polls pred (a few milliseconds apart) until it holds or limit has passed; for states that
// announce no event of their own (a thread count).
bool Eventually(const std::function<bool()>& pred, std::chrono::milliseconds limit = 5000ms);

}  // namespace testing_support
