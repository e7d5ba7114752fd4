#pragma once
// Scripted stand-ins for the player's windows, for the answer, access and dispatch tests: they
// record every message (with the contents of a copy-data record) and answer through a function
// the test sets. AnswerTest points the plug-in's player window at one of them.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "protocol/request_context.h"
#include "sim/window_host.h"
#include "tests/support.h"

namespace testing_support {

struct HostCall {
  std::uint32_t msg;
  std::uintptr_t wparam;
  std::intptr_t lparam;  // for copy-data: the request number of the record
  std::string copied;    // for copy-data: the record's bytes (byte count of them)
  bool operator==(const HostCall&) const = default;
};

class ScriptedWindow {
 public:
  using Answer = std::function<std::intptr_t(const HostCall&)>;

  ScriptedWindow(sim::WindowHost& host, const std::string& className, const std::string& title,
                 std::vector<int> items = {});
  ~ScriptedWindow();
  host::Window Window() const { return window_; }

  void OnMessage(Answer answer);
  void SetText(const std::string& text);
  void SetItemText(int id, const std::string& text);
  std::string ItemText(int id) const;
  std::vector<HostCall> Calls() const;
  void ClearCalls();

 private:
  std::intptr_t Handle(std::uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam);

  sim::WindowHost& host_;
  mutable std::mutex lock_;
  Answer answer_;
  std::string text_;
  std::map<int, std::string> items_;
  std::vector<HostCall> calls_;
  host::Window window_ = host::kNoWindow;
};

// Collects the reply bytes of a request served without a socket; a closed one takes none.
class ReplyBytes : public ReplySink {
 public:
  bool SendAll(const std::string& data) override;
  std::string bytes;
  bool closed = false;
};

// The plug-in with its player window replaced by a scripted one; requests go straight into the
// request path, without a socket. The player answers the INI path for 334, `entries` (by index)
// for the playlist requests 211 and 212, and SetResult's results for everything else (0 by
// default). Header off, control allowed.
class AnswerTest : public PluginTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Serves "GET /" + target + " HTTP/1.0" from the client address and returns the reply bytes.
  std::string Ask(const std::string& target, const std::string& address = "127.0.0.1");
  // Runs a request and returns the log lines after "Commando ausführen".
  std::vector<std::string> EvaluationLines(const std::string& target, std::string* reply = nullptr,
                                           const std::string& address = "127.0.0.1");
  // For the tests of the wiring: starts the server on an ephemeral loopback port.
  void StartLoopback();
  // The player's result for a request of the user or copy-data message, or for a command id.
  void SetResult(std::intptr_t code, std::intptr_t result, std::uint32_t msg = 1024);

  std::uint16_t port_ = 0;
  std::vector<std::string> entries;  // playlist texts; an entry "\x01" stands for no text
  sim::WindowHost windows_;
  std::unique_ptr<ScriptedWindow> main_;

 private:
  mutable std::mutex lock_;
  std::map<std::pair<std::uint32_t, std::intptr_t>, std::intptr_t> results_;
};

}  // namespace testing_support
