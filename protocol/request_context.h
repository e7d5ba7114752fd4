#pragma once
// Everything one request may see and use: the settings read once when it arrived, the player
// and the log (through RequestHost), the reply sink and the request's own tokens. The request
// path reaches nothing else, so it runs the same over a socket, in a test or in a fuzzer.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/log_sink.h"
#include "platform/clock.h"
#include "platform/hostwin.h"
#include "protocol/token_string.h"

// The settings as they were when the request arrived; a change in the dialog applies to the
// next request.
struct RequestSettings {
  std::string password;
  std::vector<std::string> addressList;
  bool blockListMode = true;  // true: every address except the listed ones is allowed
  bool controlAllowed = false;
  bool httpHeader = false;
  int autostart = 0;
};

// Takes the reply bytes; the server sends them on the client's socket.
class ReplySink {
 public:
  // Every byte or nothing useful: false when the client is gone before all were taken.
  virtual bool SendAll(const std::string& bytes) = 0;
  // True when the client has closed or reset the connection (a look that takes nothing), for
  // a request that waits before it answers.
  virtual bool ClientGone() { return false; }

 protected:
  ~ReplySink() = default;
};

// The player and the plug-in as the answers use them.
class StateWatch;

class RequestHost : public LogSink {
 public:
  // The user or command message to the player's main window, synchronously.
  virtual std::intptr_t SendPlayerMessage(std::uint32_t msg, std::uintptr_t wparam,
                                          std::intptr_t lparam) = 0;
  // The copy-data message to the main window: request number and the text with its zero byte.
  virtual std::intptr_t SendPlayerCopyData(std::uintptr_t request, const std::string& text) = 0;
  // The main window's text, at most maxBytes - 1 bytes of it.
  virtual std::string ReadPlayerText(int maxBytes) = 0;
  virtual host::Window FindWindowByClass(const std::string& className) = 0;
  virtual host::Window FindWindowByTitle(const std::string& title) = 0;
  virtual std::intptr_t SendWindowMessage(host::Window w, std::uint32_t msg, std::uintptr_t wparam,
                                          std::intptr_t lparam) = 0;
  // The text of a child control of the window, at most maxBytes - 1 bytes.
  virtual std::string ReadItemText(host::Window w, int id, int maxBytes) = 0;
  // The autostart switch of the dialog (1 on, anything else off).
  virtual void SetAutostart(int value) = 0;
  // The current time in UTC, for the Date header.
  virtual clk::UtcTime Now() = 0;
  // Milliseconds of the steady clock, for the password back-off.
  virtual std::int64_t SteadyMs() = 0;

 protected:
  ~RequestHost() = default;
};

struct RequestContext {
  RequestContext(RequestSettings s, RequestHost& h, ReplySink* r)
      : settings(std::move(s)), host(h), reply(r), tokens(&h) {}

  const RequestSettings settings;
  RequestHost& host;
  ReplySink* reply;  // null: the reply texts go to the log instead
  TokenString tokens;
  // The change counter and its waits; null where nobody serves them (the state then counts 0).
  StateWatch* watch = nullptr;
};
